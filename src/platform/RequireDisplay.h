#pragma once

// Whether the X display the game would open can be opened. When it cannot,
// says so in one line on standard error, naming the game and what to do,
// before GLUT would fail with a line of its own.
bool requireDisplay();
