#pragma once

// Marks the current GLUT window as the game's for the desktop: WM_CLASS
// (instance "verlomba", class the application id, which docks match to the
// desktop entry's StartupWMClass) and the window icon (_NET_WM_ICON, from the
// same picture as the installed icons). Call right after glutCreateWindow, so
// a window manager finds both when the window first maps.
void markWindowAsTheGames();

// Names the current GLUT window in UTF-8 for the desktop (_NET_WM_NAME and
// _NET_WM_ICON_NAME), beside the Latin-1 names GLUT sets.
void setWindowNameUtf8(const char* text);
