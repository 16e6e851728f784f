// The baseline for the game's memory and CPU figures: an 800 by 800 freeglut
// window (times VERLOMBA_SCALE, as the game's) with the game's display mode
// and GL state that clears and swaps 30 times a second, and nothing else.

#include <GL/freeglut.h>

#include <cmath>
#include <cstdlib>

namespace {

void display() {
  glClear(GL_COLOR_BUFFER_BIT);
  glutSwapBuffers();
}

void tick(int) {
  glutPostRedisplay();
  glutTimerFunc(33, tick, 0);
}

}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
  const char* scale = std::getenv("VERLOMBA_SCALE");
  const double factor = scale ? std::atof(scale) : 1.0;
  const int side = factor > 0.0 && factor <= 8.0 ? static_cast<int>(std::lround(800 * factor)) : 800;
  glutInitWindowSize(side, side);
  glutCreateWindow("Verlomba baseline");
  glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glutDisplayFunc(display);
  glutTimerFunc(33, tick, 0);
  glutMainLoop();
  return 0;
}
