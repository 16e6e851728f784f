// The baseline for the game's memory and CPU figures: an 800 by 800 freeglut
// window with the game's display mode and GL state that clears and swaps 30
// times a second, and nothing else.

#include <GL/freeglut.h>

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
  glutInitWindowSize(800, 800);
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
