#include "platform/glut/AboutBox.h"

#include <GL/freeglut.h>
#include <time.h>

#include <algorithm>
#include <memory>

#include "app/AboutBoxLayout.h"
#include "app/WindowScale.h"
#include "draw/Pen.h"
#include "draw/gl/GlDrawBackend.h"
#include "platform/glut/GlutInit.h"
#include "platform/glut/WindowDestroyWatch.h"
#include "platform/glut/WindowIdentity.h"
#include "platform/glut/WindowManagerHints.h"
#include "platform/glut/WindowRenderer.h"

namespace {

// The box's window; the box itself is drawn and answers as on every platform.
std::unique_ptr<AboutBoxLayout> box;
bool windowGone = false;
// The box's frames go through the renderer the game's window will use.
std::unique_ptr<WindowRenderer> renderer;

void display() {
  // Drawn when exposed or changed: shown whole either way.
  renderer->showWholeNextFrame();
  const ViewPlacement p = box->placement();
  renderer->beginFrame(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT), p, 1.0f,
                       {p.width * 0.5f, p.height * 0.5f}, AboutBoxLayout::kBackgroundRgb);
  box->draw();
  renderer->endFrame();
}

void keyboard(unsigned char key, int, int) {
  box->key(key);
}

void mouse(int button, int state, int x, int y) {
  if (button != GLUT_LEFT_BUTTON) return;
  if (state == GLUT_DOWN) {
    box->mouseDown(x, y);
  } else {
    box->mouseUp(x, y);
  }
  glutPostRedisplay();
}

void reshape(int, int) {
  glutPostRedisplay();
}

void closed() {
  // GLUT destroys the window itself after this.
  box->dismiss();
  windowGone = true;
}

void sleepMilliseconds(long ms) {
  timespec t;
  t.tv_sec = 0;
  t.tv_nsec = ms * 1000000L;
  nanosleep(&t, nullptr);
}

}  // namespace

void showAboutBox(const std::string& text) {
  ensureGlutInitialized();  // the font metrics need it too
  box = std::make_unique<AboutBoxLayout>(text, windowScale());
  windowGone = false;

  // Closing the box must not end the process, as it would by default.
  const int previousCloseAction = glutGet(GLUT_ACTION_ON_WINDOW_CLOSE);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);

  const int screenWidth = glutGet(GLUT_SCREEN_WIDTH);
  const int screenHeight = glutGet(GLUT_SCREEN_HEIGHT);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
  const int width = box->placement().pixelWidth();
  const int height = box->placement().pixelHeight();
  glutInitWindowPosition(std::max(0, (screenWidth - width) / 2), std::max(0, (screenHeight - height) / 3));
  glutInitWindowSize(width, height);
  const int window = glutCreateWindow("Verlomba");
  markWindowAsTheGames();
  setWindowNameUtf8("Verlomba");
  fixWindowSize(width, height);
  renderer = std::make_unique<WindowRenderer>();
  resetPen();
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  glutKeyboardFunc(keyboard);
  glutMouseFunc(mouse);
  glutCloseFunc(closed);

  // Modal: nothing else runs until the player has read it. Destroyed by
  // another client, it counts as closed, as by its close button.
  WindowDestroyWatch destroyWatch;
  while (!box->dismissed()) {
    glutMainLoopEvent();
    if (destroyWatch.destroyed()) box->dismiss();
    if (!box->dismissed()) sleepMilliseconds(10);
  }
  resetPen();  // the game starts with a fresh pen
  renderer.reset();
  if (!windowGone) glutDestroyWindow(window);
  glutMainLoopEvent();  // lets GLUT take the window down before the game's appears
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, previousCloseAction);
  box.reset();
}
