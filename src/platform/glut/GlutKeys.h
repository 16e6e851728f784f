#pragma once

// A GLUT special key as the game sees it: the arrows become
// kKeyLeft..kKeyDown, other keys keep GLUT's code.
int mapSpecialKey(int key);
