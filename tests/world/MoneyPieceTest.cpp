#include <cmath>
#include <vector>

#include "app/FrameClock.h"
#include "doubles/RecordingDrawBackend.h"
#include "game/FreshGame.h"
#include "world/MoneyPiece.h"

namespace {

using MoneyPieceTest = EmptyWorld;

struct Made {
  float value;
  float startTime;
};

// Pays and takes back the pieces made, oldest first.
std::vector<Made> pay(Game& g, float total, float unit) {
  spawnMoney(g, total, unit, 10, 20);
  std::vector<Made> made;
  while (auto* p = dynamic_cast<MoneyPiece*>(g.worldHead)) {
    made.insert(made.begin(), {p->value, p->startTime});
    delete p;
  }
  return made;
}

TEST_F(MoneyPieceTest, PaymentsSplitIntoStaggeredPiecesThatFlyToTheBar) {
  const float now = FrameClock::seconds();
  auto made = pay(g, 0.05f, 0.0125f);
  ASSERT_EQ(made.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(made[i].value, 0.0125f);
    EXPECT_EQ(made[i].startTime, now + i * 0.2f);
  }
  made = pay(g, 0.05f, 0.015f);
  ASSERT_EQ(made.size(), 4u);
  EXPECT_NEAR(made[3].value, 0.005f, 1e-6f);  // the rest in the last piece
  made = pay(g, 0.01f, 0.0125f);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0].value, 0.01f);

  // A unit that cannot split the total pays it whole.
  for (float unit : {0.0f, -0.01f, NAN, 1e-30f}) {
    made = pay(g, 0.05f, unit);
    ASSERT_EQ(made.size(), 1u) << unit;
    EXPECT_EQ(made[0].value, 0.05f);
  }
  for (float total : {0.0f, -1.0f, NAN}) EXPECT_TRUE(pay(g, total, 0.0125f).empty());

  // A piece waits its turn unseen, then flies to the bar and pays up to full.
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
  h.app().advanceMilliseconds(310);
  piece->update();
  EXPECT_NE(piece->position, (Vec2{400, 400}));
  EXPECT_FALSE(piece->destroyRequested);
  h.app().advanceMilliseconds(700);  // past 90 % of the eased path
  piece->update();
  EXPECT_TRUE(piece->destroyRequested);
  EXPECT_EQ(g.money, 1.0f);
  delete piece;
}

}  // namespace
