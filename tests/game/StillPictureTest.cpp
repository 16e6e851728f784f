#include <cmath>
#include <vector>

#include "FreshGame.h"
#include "agents/Road.h"
#include "app/FrameClock.h"
#include "buildings/MilitaryBuilding.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "draw/Pen.h"
#include "draw/software/SoftwareDrawBackend.h"
#include "support/PictureDifference.h"
#include "tuning/Tuning.h"
#include "world/DrawnPath.h"
#include "world/Fountain.h"
#include "world/GuardTower.h"
#include "world/Tree.h"

namespace {

constexpr int kSize = 800;

struct Picture {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(kSize * kSize);
  ImageView view() { return {pixels.data(), kSize, kSize, kSize}; }
};

// A start world with a building of every kind, towers with a wall, a road,
// a drawn path, a fountain and a grove of trees, drawn by a software
// backend kept from frame to frame.
class StillPictures : public FreshGame {
 protected:
  StillPictures() {
    const float x0 = 170.0f;
    auto* sleep = new SleepBuilding(g, Rect{x0, x0 + 40, 180, 220}, 3, kSleepBuildingCapacity);
    work = new WorkBuilding(g, Rect{x0 + 60, x0 + 100, 180, 220}, 3, kWorkBuildingCapacity);
    new CapitalBuilding(g, Rect{x0 + 120, x0 + 160, 180, 220}, 3);
    auto* m = new MilitaryBuilding(g, Rect{x0 + 180, x0 + 220, 180, 220}, 3);
    m->armed = true;
    tower = new GuardTower(g, 450, 450, kGuardTowerRadius);
    auto* other = new GuardTower(g, 520, 460, kGuardTowerRadius);
    new Road(g, tower->posts[0], other->posts[3]);  // a wall
    if (sleep->doorCount > 0 && work->doorCount > 0) new Road(g, sleep->doors[0], work->doors[0]);
    auto* path = new DrawnPath(g);
    for (int i = 0; i < 40; ++i) path->addPoint(200.0f + 7.0f * i, 300.0f + 20.0f * std::sin(0.3f * i), 6.0f);
    new Fountain(g, 300, 520, kFountainRadius);
    g.spawnTrees(20);
    for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
      if (auto* t = dynamic_cast<Tree*>(o); t && !t->inactive) tree = t;
    }
  }

  // One frame of the world as it is now: through the kept backend, through
  // a backend that has kept nothing yet, and drawn live shape by shape.
  void drawAllThreeWays() {
    drawWith(kept, keptPicture);
    SoftwareDrawBackend cold;
    drawWith(cold, coldPicture);
    SoftwareDrawBackend live;
    live.keepPictures(false);
    drawWith(live, livePicture);
  }

  void drawWith(SoftwareDrawBackend& backend, Picture& picture) {
    DrawBackend& ticking = drawBackend();  // the headless game's own, for its ticks
    setDrawBackend(&backend);
    resetPen();
    // The kept backend's picture holds its last frame, as a window's image does.
    backend.beginFrame(picture.view(), viewTransform(kSize, kSize, zoom, {400.0f, 400.0f}), 0xFFFFFF,
                       &backend == &kept);
    g.onDraw();
    backend.endFrame();
    resetPen();
    setDrawBackend(&ticking);
  }

  void playFrames(int n) {
    for (int i = 0; i < n; ++i) {
      h.tick();
      drawWith(kept, keptPicture);
    }
  }

  float zoom = 1.0f;
  WorkBuilding* work = nullptr;
  GuardTower* tower = nullptr;
  Tree* tree = nullptr;
  SoftwareDrawBackend kept;
  Picture keptPicture, coldPicture, livePicture;
};

TEST_F(StillPictures, KeptPicturesShowWhatDrawingAfreshWould) {
  // Long enough for the light to move several steps and shadows to be
  // drawn anew along the way.
  playFrames(60);
  drawAllThreeWays();
  EXPECT_GT(kept.pictures().size(), 20u);
  EXPECT_EQ(kept.pictures().cutCount(), 0u);  // every object's bounds hold its picture
  EXPECT_TRUE(keptPicture.pixels == coldPicture.pixels);
  // Shadows cast from a rounded light point and pictures laid on as layers
  // stay within what the two renderers may differ by.
  EXPECT_TRUE(pictureDifference(keptPicture.pixels, livePicture.pixels).withinRendererBound());
}

TEST_F(StillPictures, APictureChangesWhenItsObjectMovesIsCopiedOrChangesState) {
  playFrames(3);
  ASSERT_TRUE(tree && work && tower);
  tree->moveBy(7.0f, -3.0f);
  tower->moveBy(0.5f, 0.0f);
  WorldObject* copy = tree->clone();        // same place, another shape
  work->entryTime = FrameClock::seconds();  // the rooms swell as someone comes in
  work->moveBy(-2.0f, 1.0f);
  drawAllThreeWays();
  EXPECT_TRUE(keptPicture.pixels == coldPicture.pixels);
  EXPECT_EQ(kept.pictures().cutCount(), 0u);
  delete copy;
  playFrames(2);  // a frame after the copy went: its picture is gone from view
  drawAllThreeWays();
  EXPECT_TRUE(keptPicture.pixels == coldPicture.pixels);
  // Dragged, moving every frame, the tree and the tower are drawn as ever
  // but, after the first move, no longer kept.
  size_t keeps = 0;
  for (int i = 0; i < 4; ++i) {
    tree->moveBy(3.0f, 1.0f);
    tower->moveBy(-1.5f, 2.0f);
    drawAllThreeWays();
    EXPECT_TRUE(keptPicture.pixels == coldPicture.pixels);
    if (i == 0) keeps = kept.pictures().keeps();
  }
  EXPECT_EQ(kept.pictures().keeps(), keeps);
}

TEST_F(StillPictures, WhileTheViewZoomsPicturesStayCloseAndThenSettleExactly) {
  // Beside the kept backend, one that keeps pictures too but paints every
  // frame whole and resamples every stale picture afresh: the tiles the
  // kept one leaves, and the pictures it does not resample again while the
  // view stays put, are its pixels exactly.
  SoftwareDrawBackend whole;
  whole.paintInTiles(false);
  Picture wholePicture;
  const auto frame = [&] {
    h.tick();
    zoom = h.app().zoom();
    drawWith(kept, keptPicture);
    drawWith(whole, wholePicture);
    EXPECT_TRUE(keptPicture.pixels == wholePicture.pixels) << "at zoom " << zoom;
  };
  for (int i = 0; i < 3; ++i) frame();
  // Five wheel notches in, then out to the start, a notch every few frames
  // as a hand turns it: every frame the game eases is held to the bound of
  // the live drawing, while the kept pictures are drawn under many views,
  // each going stale a frame later.
  SoftwareDrawBackend live;
  live.keepPictures(false);
  for (const int notch : {+1, -1}) {
    for (int i = 0; i < 5 * 3 + 8; ++i) {
      if (i < 5 * 3 && i % 3 == 0) h.app().scrollWheel(notch);
      frame();
      drawWith(live, livePicture);
      const PictureDifference d = pictureDifference(keptPicture.pixels, livePicture.pixels);
      EXPECT_TRUE(d.withinRendererBound())
          << "frame " << i << " at zoom " << zoom << ": " << 100.0 * d.offShare << " % off, mean " << d.mean;
    }
  }
  // Settled, each kept picture is soon drawn at the zoom again, and the
  // frame is exactly what a backend that kept nothing before draws.
  EXPECT_EQ(zoom, 1.0f);
  for (int i = 0; i < 10 && kept.staleCount() > 0; ++i) playFrames(1);
  EXPECT_EQ(kept.staleCount(), 0u);
  drawAllThreeWays();
  EXPECT_TRUE(keptPicture.pixels == coldPicture.pixels);
}

}  // namespace
