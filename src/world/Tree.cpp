#include "world/Tree.h"

#include <cmath>

#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"
#include "world/DiscObjects.h"
#include "world/Random.h"
#include "world/Reach.h"

Tree::Tree(Game& owner, float x, float y, float s) : WorldObject(owner), centre{x, y}, size(s) {
  shapeSeed = processRandom().state();
  growCanopy(processRandom(), centre, size, blobs, blobRadii);
}

void Tree::growCanopy(RandomGenerator& random, Vec2 centre, float size, Vec2 blobs[kBlobs],
                      float blobRadii[kBlobs]) {
  for (int j = 0; j < kBlobs; ++j) blobs[j] = {};
  // Two draws per blob, radius first: the order fixes the shape a seed gives.
  for (int j = 1; j < kBlobs; ++j) {
    const float u = static_cast<float>(random.next()) * kRandomScale;
    const float r = 0.5f * (0.25f * size + u * (size - 0.25f * size));
    const float angle = static_cast<float>(random.next()) * kRandomScale * kTwoPi;
    blobRadii[j] = r;
    setPolarAround(blobs[j], centre.x, centre.y, angle, size - r / 2.0f);
  }
  blobs[0] = centre;
  blobRadii[0] = size;
}

WorldObject* Tree::clone() {
  return new Tree(*owner, centre.x, centre.y, size);
}

void Tree::translate(float dx, float dy) {
  centre.x += dx;
  centre.y += dy;
  for (Vec2& b : blobs) {
    b.x += dx;
    b.y += dy;
  }
}

bool Tree::containsPoint(float x, float y) {
  for (int i = 0; i < kBlobs; ++i) {
    if (distanceTo(blobs[i], x, y) < blobRadii[i]) return true;
  }
  return false;
}

uint64_t Tree::pictureState() const {
  return pictureDigest({centre.x, centre.y, size});
}

Rect Tree::canopyBounds() const {
  // Blobs reach past the canopy's radius, by up to half their own; a pixel
  // more for the smoothed edges.
  float reach = size;
  for (int i = 0; i < kBlobs; ++i) reach = std::fmax(reach, length(blobs[i] - centre) + blobRadii[i]);
  reach += 1.0f;
  return Rect{centre.x - reach, centre.x + reach, centre.y - reach, centre.y + reach};
}

void Tree::draw() {
  StillPicture picture({serial(), PictureKind::Colour, pictureState()}, canopyBounds());
  if (!picture.needsDrawing()) return;
  setColor(mix(kGreen, kOrange, 0.1f));
  setAlpha(0.5f);
  fillCircle(centre.x, centre.y, size);
  setAlpha(0.2f);
  for (int i = 0; i < kBlobs; ++i) fillCircle(blobs[i].x, blobs[i].y, blobRadii[i]);
  setAlpha(0.25f);
  setColor(mix(kBrown, kWhite, 0.2f));
  fillCircle(centre.x, centre.y, 3.0f);
  setAlpha(1.0f);
}

void Tree::drawShadow(float lightX, float lightY) {
  // A light standing on the tree (a palette cell's centre) casts nothing.
  if (lightX == centre.x && lightY == centre.y) return;
  ShadowPicture shadow(serial(), pictureState(), canopyBounds(), lightX, lightY);
  if (!shadow.needsDrawing()) return;
  const Vec2 light = shadow.light();
  for (int i = 0; i < kBlobs; ++i) discShadow(blobs[i], blobRadii[i], light.x, light.y);
}

Reach Tree::reach() {
  // Scenery is only ever picked up, and the outer blobs reach past the size.
  Rect canopy = kNowhere;
  for (int i = 0; i < kBlobs; ++i) {
    const Vec2 b = blobs[i];
    const float r = blobRadii[i];
    canopy = unite(canopy, Rect{b.x - r, b.x + r, b.y - r, b.y + r});
  }
  Reach r = Reach::nowhere();
  r.point = reachAround(canopy, 0.0f);
  return r;
}

Rect Tree::bounds() {
  return Rect{centre.x - size, centre.x + size, centre.y - size, centre.y + size};
}
