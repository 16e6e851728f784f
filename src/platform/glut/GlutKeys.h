#pragma once

// A GLUT special key as the game sees it: the arrows become
// kKeyLeft..kKeyDown, Home and F1 kKeyHome and kKeyF1; other keys keep
// GLUT's code.
int mapSpecialKey(int key);
