#include "FreshGame.h"
#include "agents/Peep.h"

namespace {

using GamePalette = FreshGame;

// Presses and releases at a world point, as the player would.
void clickAt(HeadlessGame& h, float x, float y) {
  h.app().setMouseWorld(x, y);
  h.app().pressButton();
  h.app().releaseButton();
}

TEST_F(GamePalette, CellsHitOnTheirEdgesAndTheStartMoneyBuysFivePeeps) {
  EXPECT_EQ(g.paletteHit(70, 150), 0);
  EXPECT_EQ(g.paletteHit(134, 214), 0);
  EXPECT_EQ(g.paletteHit(100, 218), -1);  // the 8-unit gap
  EXPECT_EQ(g.paletteHit(100, 150 + 72 * 8 + 64), 8);
  EXPECT_EQ(g.paletteHit(100, 150 + 72 * 9 + 10), -1);  // slots past the ninth are empty
  // A click in the gap falls through to the world: nothing is bought.
  const float money = g.money;
  clickAt(h, 100, 218);
  EXPECT_EQ(g.money, money);

  const int before = countOf<Peep>(g);
  for (int i = 0; i < 6; ++i) clickAt(h, 102, 182);
  EXPECT_EQ(countOf<Peep>(g), before + 5);
  EXPECT_GT(g.money, 0.0f);
  EXPECT_LT(g.money, 1e-7f);
  // A press on an item too dear is used up all the same: it goes nowhere.
  h.app().pressButton();
  EXPECT_EQ(g.mode, 2);
  EXPECT_EQ(g.held, nullptr);
  h.app().releaseButton();
}

}  // namespace
