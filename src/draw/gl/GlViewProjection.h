#pragma once

#include "world/Geometry.h"

// Loads OpenGL's projection and model-view matrices for the game's view of
// a window of this size: y grows downwards, the zoom scales about the
// window's centre and the translation moves the world.
void loadViewProjection(float width, float height, float zoom, Vec2 translation);
