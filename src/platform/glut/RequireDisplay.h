#pragma once

// Whether the X display the game would open can be opened. When it cannot,
// says so in one line on standard error, naming the game and what to do,
// before GLUT would fail with a line of its own. When it can, the check's
// connection stays open until releaseDisplayCheck(), to be called once GLUT
// has its own: an X server that resets when its last client leaves would
// otherwise be resetting just when GLUT connects, and refuse it.
bool requireDisplay();
void releaseDisplayCheck();
