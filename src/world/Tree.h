#pragma once

#include <cstdint>

#include "world/Random.h"
#include "world/WorldObject.h"

// Scenery: a canopy of overlapping translucent discs round a trunk dot,
// drawn above the agents. It has no behaviour over time.
class Tree : public WorldObject {
 public:
  static constexpr int kBlobs = 20;

  // Draws two random numbers per outer blob, 38 in all.
  Tree(Game& owner, float x, float y, float size);
  // The canopy a generator in this state grows round centre.
  static void growCanopy(RandomGenerator& random, Vec2 centre, float size, Vec2 blobs[kBlobs],
                         float blobRadii[kBlobs]);

  // Same place and size, a fresh random shape.
  WorldObject* clone() override;
  bool containsPoint(float x, float y) override;
  int drawLayer() override { return 3; }
  void draw() override;
  void drawShadow(float lightX, float lightY) override;
  Rect bounds() override;
  Reach reach() override;
  // Where its picture can reach, and a digest of what the picture depends on.
  Rect canopyBounds() const;
  uint64_t pictureState() const;

  Vec2 centre;
  float size;
  // Blob 0 is the whole canopy; the others sit on a ring just inside its edge.
  Vec2 blobs[kBlobs];
  float blobRadii[kBlobs];
  // The generator's state the canopy grew from: with the centre and size at
  // the time, all a saved city needs of a tree that never moved.
  uint32_t shapeSeed = 0;

 protected:
  void translate(float dx, float dy) override;
};
