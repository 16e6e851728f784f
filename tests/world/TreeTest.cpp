#include <cmath>
#include <memory>

#include "EmptyWorld.h"
#include "draw/RecordingDrawBackend.h"
#include "world/Tree.h"

namespace {

using TreeTest = EmptyWorld;

TEST_F(TreeTest, CanopyFollowsTheDrawsAndACloneTakes38More) {
  seedRandom(7);
  RandomGenerator replay(processRandom().state());
  Tree tree(g, 300, 300, 8);
  // Blob 1 takes the first draw as its radius and the second as its angle.
  const float u = static_cast<float>(replay.next()) * kRandomScale;
  const float angle = static_cast<float>(replay.next()) * kRandomScale * kTwoPi;
  const float r = 0.5f * (2.0f + u * 6.0f);
  EXPECT_NEAR(tree.blobRadii[1], r, 1e-5f);
  EXPECT_NEAR(tree.blobs[1].x, 300 + (8 - r / 2) * std::cos(angle), 1e-4f);
  EXPECT_NEAR(tree.blobs[1].y, 300 + (8 - r / 2) * std::sin(angle), 1e-4f);

  for (int i = 0; i < 36 + 38; ++i) replay.next();
  std::unique_ptr<WorldObject> copy(tree.clone());
  Tree* twin = dynamic_cast<Tree*>(copy.get());
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(twin->centre, tree.centre);
  EXPECT_NE(twin->blobs[1], tree.blobs[1]);
  EXPECT_EQ(processRandom().state(), replay.state());

  // Start trees draw their size before their position.
  seedRandom(11);
  replay.seed(11);
  g.spawnTrees(1);
  const int size = replay.next();
  const float y = static_cast<float>(replay.next()) * kRandomScale;
  const float x = static_cast<float>(replay.next()) * kRandomScale;
  Tree* spawned = dynamic_cast<Tree*>(g.worldHead);
  ASSERT_NE(spawned, nullptr);
  EXPECT_FLOAT_EQ(spawned->size, (static_cast<float>(size) * kRandomScale + 1.0f) * 8.0f);
  EXPECT_EQ(spawned->centre, (Vec2{100 * x, 100 * y}));  // no zone: the play area is (0, 100, 0, 100)
}

TEST_F(TreeTest, HitsStrictlyInsideABlobMovesWholeAndShadesNothingUnderItsLight) {
  Tree tree(g, 300, 300, 8);
  const Vec2 before = tree.blobs[5];
  tree.moveBy(10, -5);
  EXPECT_EQ(tree.centre, (Vec2{310, 295}));
  EXPECT_EQ(tree.blobs[5], (Vec2{before.x + 10, before.y - 5}));

  // With the outer blobs tucked away, blob 0's edge is bare.
  for (int i = 1; i < Tree::kBlobs; ++i) {
    tree.blobs[i] = tree.centre;
    tree.blobRadii[i] = 1;
  }
  EXPECT_FALSE(tree.containsPoint(318, 295));
  EXPECT_TRUE(tree.containsPoint(317.99f, 295));
  tree.blobs[4] = {315, 295};
  tree.blobRadii[4] = 4;
  EXPECT_TRUE(tree.containsPoint(318.5f, 295));  // outside blob 0, inside blob 4

  ScopedDrawRecording rec;
  tree.drawShadow(310, 295);  // a palette cell's light stands on its prototype
  EXPECT_TRUE(rec.shapes().empty());
  tree.drawShadow(640, 0);
  EXPECT_FALSE(rec.shapes().empty());
}

}  // namespace
