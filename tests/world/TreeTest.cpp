#include "doubles/RecordingDrawBackend.h"
#include "game/FreshGame.h"
#include "world/Tree.h"

namespace {

using TreeTest = EmptyWorld;

TEST_F(TreeTest, HitsStrictlyInsideABlobAndShadesNothingUnderItsLight) {
  Tree tree(g, 310, 295, 8);
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
