#pragma once

#include <cstdint>
#include <initializer_list>

#include "draw/DrawBackend.h"
#include "draw/Pen.h"
#include "world/Geometry.h"

// A digest of the values a picture is drawn from (FNV-1a over their bits).
uint64_t pictureDigest(std::initializer_list<float> values, uint64_t seed = 14695981039346656037ull);

// An object's still picture, drawn through the backend's picture cache. It
// leaves the pen as it found it, whether the picture was drawn or shown from
// the cache, so that what follows draws the same either way.
//
//   StillPicture picture({serial, PictureKind::Colour, pictureDigest({x, y, size})}, bounds());
//   if (picture.needsDrawing()) { ...the shapes... }
class StillPicture {
 public:
  StillPicture(const PictureKey& key, const Rect& bounds);
  ~StillPicture();
  StillPicture(const StillPicture&) = delete;
  StillPicture& operator=(const StillPicture&) = delete;

  bool needsDrawing() const { return drawing_; }

 private:
  Pen entry_;
  bool drawing_;
};

// A shadow of an object within bounds cast from a light point, drawn in the
// pen's colour and alpha. Kept as a picture, it is cast from the light
// point rounded to the backend's step, so that it is drawn anew only when
// the light has moved a step.
//
//   ShadowPicture shadow(serial, pictureDigest({x, y, size}), bounds(), lightX, lightY);
//   if (shadow.needsDrawing()) discShadow(centre, r, shadow.light().x, shadow.light().y);
class ShadowPicture {
 public:
  ShadowPicture(uint64_t owner, uint64_t state, const Rect& bounds, float lightX, float lightY);

  bool needsDrawing() const { return picture_.needsDrawing(); }
  Vec2 light() const { return light_; }

 private:
  static Vec2 roundedLight(uint64_t owner, float lightX, float lightY);
  Vec2 light_;
  StillPicture picture_;
};

// What a shadow cast from the light point can cover: the object's bounds
// moved and grown as far as discShadow and rectShadow move and grow them.
Rect shadowReach(const Rect& bounds, Vec2 light);
