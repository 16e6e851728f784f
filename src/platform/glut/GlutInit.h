#pragma once

// Initialises GLUT for this process the first time it is called; later calls
// do nothing. The about box needs GLUT before the game window exists, and
// GLUT must not be initialised twice.
void ensureGlutInitialized();
