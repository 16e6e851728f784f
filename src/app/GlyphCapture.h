#pragma once

#include "draw/BitmapFont.h"

// The three GLUT bitmap fonts the game draws with (Helvetica 10 and 12,
// Times Roman 24), exactly as OpenGL draws them: every character is drawn
// into the current window's back buffer and read back. Needs the window's
// GL context to be current; leaves the back buffer's contents undefined and
// the GL state as the game's window sets it. Empty when the glyphs could
// not be read back.
BitmapFontSet captureGlutFonts();
