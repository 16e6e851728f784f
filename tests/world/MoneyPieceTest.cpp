#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/FrameClock.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "world/MoneyPiece.h"

namespace {

// The pieces in the order they were made (the world list has the newest first).
std::vector<MoneyPiece*> pieces(Game& g) {
  std::vector<MoneyPiece*> found;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (auto* p = dynamic_cast<MoneyPiece*>(o)) found.insert(found.begin(), p);
  }
  return found;
}

void clearPieces(Game& g) {
  for (MoneyPiece* p : pieces(g)) delete p;
}

TEST(MoneyPiece, PaymentsSplitIntoUnitsAndARemainder) {
  HeadlessGame h;
  Game& g = h.game();
  const float now = FrameClock::seconds();

  spawnMoney(g, 0.05f, 0.0125f, 10, 20);
  auto made = pieces(g);
  ASSERT_EQ(made.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(made[i]->value, 0.0125f);
    EXPECT_EQ(made[i]->startTime, now + i * 0.2f);
    EXPECT_EQ(made[i]->position, (Vec2{10, 20}));
  }
  clearPieces(g);

  spawnMoney(g, 0.05f, 0.015f, 0, 0);
  made = pieces(g);
  ASSERT_EQ(made.size(), 4u);
  EXPECT_EQ(made[2]->value, 0.015f);
  EXPECT_NEAR(made[3]->value, 0.005f, 1e-6f);
  EXPECT_EQ(made[3]->startTime, now + 3 * 0.2f);
  clearPieces(g);

  spawnMoney(g, 0.01f, 0.0125f, 0, 0);
  made = pieces(g);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0]->value, 0.01f);
  EXPECT_EQ(made[0]->startTime, now);
  clearPieces(g);

  // A unit that cannot split the total pays it whole, at once.
  for (float unit : {0.0f, -0.01f, NAN, 1e-30f}) {
    spawnMoney(g, 0.05f, unit, 0, 0);
    made = pieces(g);
    ASSERT_EQ(made.size(), 1u) << unit;
    EXPECT_EQ(made[0]->value, 0.05f);
    clearPieces(g);
  }
  for (float total : {0.0f, -1.0f, NAN}) spawnMoney(g, total, 0.0125f, 0, 0);
  EXPECT_TRUE(pieces(g).empty());
}

TEST(MoneyPiece, WaitsThenFliesToTheBarAndPaysUpToFull) {
  HeadlessGame h;
  Game& g = h.game();
  g.money = 0.995f;
  MoneyPiece* piece = new MoneyPiece(g, 0.0125f, 400, 400, 1);  // leaves in 0.2 s

  h.app().advanceMilliseconds(190);
  piece->update();
  EXPECT_EQ(piece->position, (Vec2{400, 400}));
  {
    ScopedDrawRecording rec;
    piece->draw();
    EXPECT_TRUE(rec.shapes().empty());
  }

  h.app().advanceMilliseconds(310);  // 0.3 s into the flight
  piece->update();
  const Vec2 target = g.moneyBarTarget();
  EXPECT_LT(distanceTo(piece->position, target.x, target.y), distanceTo({400, 400}, target.x, target.y));
  EXPECT_FALSE(piece->destroyRequested);
  EXPECT_EQ(g.money, 0.995f);

  h.app().advanceMilliseconds(700);  // past 90 % of the eased path
  piece->update();
  EXPECT_TRUE(piece->destroyRequested);
  EXPECT_EQ(g.money, 1.0f);
  delete piece;
}

}  // namespace
