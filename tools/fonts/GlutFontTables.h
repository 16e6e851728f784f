#pragma once

#include "draw/BitmapFont.h"

// The three GLUT bitmap fonts the game draws with (Helvetica 10 and 12,
// Times Roman 24), for make fonts and for the check that the fonts built
// into the game are the ones OpenGL draws.

// Read from freeglut's own font tables, found by name in the running
// process; empty when they are not there. Needs no display.
BitmapFontSet readGlutFonts();

// Every character drawn into the current window's back buffer and read
// back. Needs the window's GL context to be current; leaves the back
// buffer's contents undefined and the GL state as the game's window sets
// it. Empty when the glyphs could not be read back.
BitmapFontSet captureGlutFonts();
