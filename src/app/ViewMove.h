#pragma once

#include "world/Geometry.h"

// The view moved over the field while zoomed in: by the arrow keys, a fixed
// number of window units a press, or by a drag with the middle button.

// Window units a press of an arrow key moves the view.
constexpr float kViewStep = 40.0f;

// The centre nearest to centre from which the view, the field's size shrunk
// by zoom, shows nothing beyond the field. At zoom 1 or less it is the
// field's centre.
Vec2 clampViewCentre(const Rect& field, float zoom, Vec2 centre);
