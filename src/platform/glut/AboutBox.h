#pragma once

#include <string>

// Shows text in a small modal window titled "Verlomba" with an OK button,
// made with GLUT itself. Returns once the player clicks OK, presses Enter or
// Escape, or closes the window. Initialises GLUT if nobody has yet.
void showAboutBox(const std::string& text);
