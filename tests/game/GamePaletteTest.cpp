#include <gtest/gtest.h>

#include "agents/Peep.h"
#include "buildings/WorkBuilding.h"
#include "support/HeadlessGame.h"

namespace {

// Presses and releases at a world point, as the player would.
void clickAt(HeadlessGame& h, float x, float y) {
  h.app().setMouseWorld(x, y);
  h.app().pressButton();
  h.app().releaseButton();
}

TEST(GamePalette, FivePeepsFromTheStartMoneyAndNotASixth) {
  HeadlessGame h;
  Game& g = h.game();
  const int before = countOf<Peep>(g);
  for (int i = 0; i < 6; ++i) clickAt(h, 102, 182);
  EXPECT_EQ(countOf<Peep>(g), before + 5);
  EXPECT_GT(g.money, 0.0f);
  EXPECT_LT(g.money, 1e-7f);
  EXPECT_EQ(g.mode, 0);

  // A click on a dear item is used up all the same: the press goes nowhere.
  h.app().setMouseWorld(102, 182);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 2);
  EXPECT_EQ(g.held, nullptr);
  h.app().releaseButton();
}

TEST(GamePalette, CellsHitOnTheirEdgesAndNotInTheGaps) {
  HeadlessGame h;
  Game& g = h.game();
  EXPECT_TRUE(equals(g.paletteCell(0), 70, 134, 150, 214));
  EXPECT_EQ(g.paletteHit(70, 150), 0);
  EXPECT_EQ(g.paletteHit(134, 214), 0);
  EXPECT_EQ(g.paletteHit(100, 218), -1);  // the 8-unit gap
  EXPECT_EQ(g.paletteHit(100, 222), 1);
  EXPECT_EQ(g.paletteHit(100, 150 + 72 * 8 + 64), 8);
  EXPECT_EQ(g.paletteHit(100, 150 + 72 * 9 + 10), -1);  // slots past the ninth are empty

  // A click in the gap falls through to the world: nothing is bought.
  const float money = g.money;
  clickAt(h, 100, 218);
  EXPECT_EQ(g.money, money);
}

TEST(GamePalette, BoughtItemsGlideInAndAltDragCopies) {
  HeadlessGame h;
  Game& g = h.game();
  g.money = 1.0f;
  clickAt(h, 102, 150 + 72 * 2 + 32);  // a work building
  ASSERT_EQ(countOf<WorkBuilding>(g), 1);
  auto* bought = dynamic_cast<WorkBuilding*>(g.worldHead);
  ASSERT_NE(bought, nullptr);
  EXPECT_FALSE(bought->inactive);
  EXPECT_TRUE(bought->settling);
  EXPECT_FLOAT_EQ(g.money, 0.9f);
  h.tick(40);
  EXPECT_FALSE(bought->settling);
  const Rect settled = bought->bounds();
  EXPECT_GE(settled.minX, 150.0f + 30.0f);

  // Drag it by 50 units: it moves with the mouse.
  const Vec2 grip{settled.minX + 2, settled.minY + 2};
  ASSERT_EQ(g.objectAt(grip.x, grip.y), bought);
  h.app().setMouseWorld(grip.x, grip.y);
  h.tick();  // motion reaches the game once a frame: let it see the mouse here
  h.app().pressButton();
  EXPECT_EQ(g.mode, 1);
  h.app().setMouseWorld(grip.x + 50, grip.y);
  h.tick();
  h.app().releaseButton();
  EXPECT_FLOAT_EQ(bought->bounds().minX, settled.minX + 50);

  // With Alt held a fresh copy moves and the original stays.
  h.app().setModifiers(false, false, true);
  h.app().setMouseWorld(grip.x + 50, grip.y);
  h.tick();
  h.app().pressButton();
  h.app().setMouseWorld(grip.x + 50, grip.y + 60);
  h.tick();
  h.app().releaseButton();
  ASSERT_EQ(countOf<WorkBuilding>(g), 2);
  EXPECT_FLOAT_EQ(bought->bounds().minX, settled.minX + 50);
  EXPECT_FLOAT_EQ(bought->bounds().minY, settled.minY);
  auto* copy = dynamic_cast<WorkBuilding*>(g.worldHead);  // the newest object
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy, bought);
  EXPECT_FLOAT_EQ(copy->footprint.minY, bought->footprint.minY + 60);
  EXPECT_FLOAT_EQ(copy->footprint.minX, bought->footprint.minX);
}

}  // namespace
