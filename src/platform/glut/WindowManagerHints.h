// What the game's window says to the window manager about its size and
// fullscreen, for the current GLUT window.
#pragma once

// WM_NORMAL_HINTS: the window's size is fixed at width x height (minimum =
// maximum = size), so no window manager offers to maximize it; with 0 x 0
// the bounds are lifted, as a fullscreen window needs.
void fixWindowSize(int width, int height);

// Whether the window manager shows the window fullscreen
// (_NET_WM_STATE_FULLSCREEN in its _NET_WM_STATE).
bool isShownFullscreen();

// Fullscreen on or off. A window manager that knows _NET_WM_STATE_FULLSCREEN
// is asked; without one the window is moved to cover the screen itself, and
// back to where it was with size width x height. Answers whether the window
// manager was asked (its answer comes later, with the new size).
bool askFullscreen(bool on, int width, int height);
