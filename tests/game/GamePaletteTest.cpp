#include "FreshGame.h"
#include "agents/Peep.h"
#include "buildings/WorkBuilding.h"

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

TEST_F(GamePalette, BoughtItemsGlideInAndAltDragCopies) {
  g.money = 1.0f;
  clickAt(h, 102, 150 + 72 * 2 + 32);  // a work building
  auto* bought = dynamic_cast<WorkBuilding*>(g.worldHead);
  ASSERT_NE(bought, nullptr);
  EXPECT_TRUE(bought->settling);
  EXPECT_FLOAT_EQ(g.money, 0.9f);
  h.tick(40);
  ASSERT_FALSE(bought->settling);
  const Rect settled = bought->bounds();

  // Dragged by 50 units, it moves with the mouse; with Alt held a fresh copy
  // moves and the original stays.
  const Vec2 grip{settled.minX + 2, settled.minY + 2};
  for (bool alt : {false, true}) {
    SCOPED_TRACE(alt);
    h.app().setModifiers(false, false, alt);
    h.app().setMouseWorld(grip.x + (alt ? 50 : 0), grip.y);
    h.tick();  // motion reaches the game once a frame: let it see the mouse here
    h.app().pressButton();
    EXPECT_EQ(g.mode, 1);
    h.app().setMouseWorld(grip.x + 50, grip.y + (alt ? 60 : 0));
    h.tick();
    h.app().releaseButton();
    EXPECT_FLOAT_EQ(bought->bounds().minX, settled.minX + 50);
    EXPECT_FLOAT_EQ(bought->bounds().minY, settled.minY);
  }
  ASSERT_EQ(countOf<WorkBuilding>(g), 2);
  auto* copy = dynamic_cast<WorkBuilding*>(g.worldHead);  // the newest object
  ASSERT_TRUE(copy && copy != bought);
  EXPECT_FLOAT_EQ(copy->footprint.minY, bought->footprint.minY + 60);
  EXPECT_FLOAT_EQ(copy->footprint.minX, bought->footprint.minX);
}

}  // namespace
