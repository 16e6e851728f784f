#include <gtest/gtest.h>

#include <cmath>

#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "world/Tree.h"

namespace {

TEST(Tree, CanopyShapeFollowsTheDrawsRadiusFirst) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  seedRandom(7);
  RandomGenerator replay(processRandom().state());
  Tree tree(g, 300, 300, 8);

  EXPECT_EQ(tree.blobs[0], (Vec2{300, 300}));
  EXPECT_EQ(tree.blobRadii[0], 8.0f);
  for (int i = 1; i < Tree::kBlobs; ++i) {
    EXPECT_GE(tree.blobRadii[i], 1.0f);
    EXPECT_LE(tree.blobRadii[i], 4.0f);
    const float d = distanceTo(tree.centre, tree.blobs[i].x, tree.blobs[i].y);
    EXPECT_GE(d, 6.0f - 1e-4f);
    EXPECT_LE(d, 7.5f + 1e-4f);
  }
  // Blob 1 takes the first draw as its radius and the second as its angle.
  const float u = static_cast<float>(replay.next()) * kRandomScale;
  const float angle = static_cast<float>(replay.next()) * kRandomScale * kTwoPi;
  const float r = 0.5f * (2.0f + u * 6.0f);
  EXPECT_NEAR(tree.blobRadii[1], r, 1e-5f);
  EXPECT_NEAR(tree.blobs[1].x, 300 + (8 - r / 2) * std::cos(angle), 1e-4f);
  EXPECT_NEAR(tree.blobs[1].y, 300 + (8 - r / 2) * std::sin(angle), 1e-4f);

  // A clone: same place and size, a new shape, 38 draws.
  for (int i = 0; i < 36; ++i) replay.next();
  WorldObject* copy = tree.clone();
  Tree* twin = dynamic_cast<Tree*>(copy);
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(twin->centre, tree.centre);
  EXPECT_EQ(twin->size, 8.0f);
  EXPECT_NE(twin->blobs[1], tree.blobs[1]);
  for (int i = 0; i < 38; ++i) replay.next();
  EXPECT_EQ(processRandom().state(), replay.state());
  delete copy;
}

TEST(Tree, HitsStrictlyInsideABlobAndMovesWhole) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  Tree tree(g, 300, 300, 8);
  // Tuck the outer blobs away so that blob 0's edge is bare.
  for (int i = 1; i < Tree::kBlobs; ++i) {
    tree.blobs[i] = {300, 300};
    tree.blobRadii[i] = 1;
  }
  EXPECT_FALSE(tree.containsPoint(308, 300));
  EXPECT_TRUE(tree.containsPoint(307.99f, 300));
  tree.blobs[4] = {305, 300};
  tree.blobRadii[4] = 4;
  EXPECT_TRUE(tree.containsPoint(308.5f, 300));  // outside blob 0, inside blob 4

  Tree moved(g, 300, 300, 8);
  Vec2 before[Tree::kBlobs];
  for (int i = 0; i < Tree::kBlobs; ++i) before[i] = moved.blobs[i];
  moved.moveBy(10, -5);
  EXPECT_EQ(moved.centre, (Vec2{310, 295}));
  for (int i = 0; i < Tree::kBlobs; ++i) EXPECT_EQ(moved.blobs[i], (Vec2{before[i].x + 10, before[i].y - 5}));
  EXPECT_TRUE(equals(moved.bounds(), 302, 318, 287, 303));
}

TEST(Tree, CastsNoShadowFromALightOnItsCentre) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  Tree tree(g, 102, 182, 17.6f);
  ScopedDrawRecording rec;
  tree.drawShadow(102, 182);
  EXPECT_TRUE(rec.shapes().empty());
  tree.drawShadow(640, 0);
  EXPECT_EQ(rec.shapesOf(Primitive::Polygon).size(), 40u);  // a disc and a joining quad per blob
}

TEST(Tree, StartTreesDrawTheSizeBeforeThePosition) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  seedRandom(11);
  RandomGenerator replay(processRandom().state());
  g.spawnTrees(1);
  const int r = replay.next();
  const float y = static_cast<float>(replay.next()) * kRandomScale;
  const float x = static_cast<float>(replay.next()) * kRandomScale;
  Tree* tree = dynamic_cast<Tree*>(g.worldHead);
  ASSERT_NE(tree, nullptr);
  EXPECT_FLOAT_EQ(tree->size, (static_cast<float>(r) * kRandomScale + 1.0f) * 8.0f);
  EXPECT_FLOAT_EQ(tree->centre.x, 100 * x);  // no zone: the play area is (0, 100, 0, 100)
  EXPECT_FLOAT_EQ(tree->centre.y, 100 * y);
}

}  // namespace
