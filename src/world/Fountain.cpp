#include "world/Fountain.h"

#include "app/FrameClock.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"

WorldObject* Fountain::clone() {
  return new Fountain(*owner, centre.x, centre.y, radius);
}

void Fountain::draw() {
  // A palette prototype shows a still picture.
  const float t = inactive ? 1.0f : FrameClock::seconds();
  const float shimmer = smoothStep(triangleOf(t, 0.0f, 3.0f));
  setColor(mix(kWhite, kBlue, 0.4f + 0.05f * shimmer));
  fillCircle(centre.x, centre.y, radius);

  setColor(mix(kWhite, kBlue, 0.3f));
  for (int i = 0; i < 4; ++i) {
    outlineCircle(centre.x, centre.y, phaseOf(t, 0.0f, static_cast<float>(i + 2)) * radius);
  }

  // The rim over the water stands still.
  StillPicture rim({serial(), PictureKind::Colour, pictureState()}, pictureBounds());
  if (!rim.needsDrawing()) return;
  setColor(0.7f, 0.7f, 0.7f);
  setLineWidth(3.0f);
  outlineCircle(centre.x, centre.y, radius);
  setLineWidth(1.0f);

  setAlpha(0.25f);
  setColor(kBlack);
  outlineCircle(centre.x, centre.y, radius);
  outlineCircle(centre.x, centre.y, radius - 3.0f);
  setAlpha(1.0f);
}
