#include <gtest/gtest.h>

#include "game/WorldDigest.h"
#include "support/HeadlessGame.h"

namespace {

// The same scripted hand on the same seed: press, drag, wheel, keys.
void play(HeadlessGame& h, int ticks) {
  ScriptedApplication& app = h.app();
  for (int t = 0; t < ticks; ++t) {
    if (t == 50) {
      app.setMouseWorld(102, 182);  // the palette's peep
      app.pressButton();
      app.releaseButton();
    }
    if (t == 400) {
      app.setMouseWorld(400, 400);
      app.pressButton();
    }
    if (t > 400 && t < 450) app.setMouseWorld(400.0f + static_cast<float>(t - 400), 400);
    if (t == 450) app.releaseButton();
    if (t == 900) app.scrollWheel(1);
    if (t == 1300) app.scrollWheel(-1);
    h.tick();
  }
}

TEST(Determinism, SameSeedAndInputGiveTheSameWorld) {
  HeadlessGame first(12345);
  play(first, 3000);
  const std::string a = describeWorld(first.game());
  HeadlessGame second(12345);
  play(second, 3000);
  const std::string b = describeWorld(second.game());
  EXPECT_EQ(a, b);

  HeadlessGame other(54321);
  play(other, 3000);
  EXPECT_NE(worldDigest(other.game()), worldDigest(second.game()));
}

}  // namespace
