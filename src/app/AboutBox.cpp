#include "app/AboutBox.h"

#include <GL/freeglut.h>
#include <time.h>

#include <algorithm>
#include <vector>

#include "app/AboutText.h"
#include "app/GlutInit.h"
#include "app/WindowIdentity.h"

namespace {

void* const kFont = GLUT_BITMAP_HELVETICA_12;
constexpr int kBoxWidth = 480;
constexpr int kMargin = 16;
constexpr int kLineHeight = 15;
// Enough for a licence notice; longer texts are cut so the button stays on screen.
constexpr std::size_t kMaxLines = 30;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

struct Box {
  std::vector<std::string> lines;
  int width = kBoxWidth;
  int height = 0;
  int buttonX = 0;
  int buttonY = 0;
  bool pressedOnButton = false;
  bool dismissed = false;
  bool windowGone = false;
};

Box box;

bool onButton(int x, int y) {
  return x >= box.buttonX && x < box.buttonX + kButtonWidth && y >= box.buttonY &&
         y < box.buttonY + kButtonHeight;
}

void drawString(float x, float y, const std::string& s) {
  glRasterPos2f(x, y);
  for (const char c : s) glutBitmapCharacter(kFont, static_cast<unsigned char>(c));
}

void rect(GLenum mode, float x0, float y0, float x1, float y1) {
  glBegin(mode);
  glVertex2f(x0, y0);
  glVertex2f(x1, y0);
  glVertex2f(x1, y1);
  glVertex2f(x0, y1);
  glEnd();
}

void display() {
  const int w = glutGet(GLUT_WINDOW_WIDTH);
  const int h = glutGet(GLUT_WINDOW_HEIGHT);
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, w, h, 0.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0.94f, 0.94f, 0.94f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);

  glColor3f(0.0f, 0.0f, 0.0f);
  for (std::size_t i = 0; i < box.lines.size(); ++i) {
    drawString(kMargin, kMargin + static_cast<float>(i + 1) * kLineHeight - 3.0f, box.lines[i]);
  }

  const float bx = static_cast<float>(box.buttonX);
  const float by = static_cast<float>(box.buttonY);
  glColor3f(box.pressedOnButton ? 0.75f : 0.86f, box.pressedOnButton ? 0.75f : 0.86f, 0.86f);
  rect(GL_QUADS, bx, by, bx + kButtonWidth, by + kButtonHeight);
  glColor3f(0.35f, 0.35f, 0.35f);
  rect(GL_LINE_LOOP, bx + 0.5f, by + 0.5f, bx + kButtonWidth - 0.5f, by + kButtonHeight - 0.5f);
  const int labelWidth = glutBitmapLength(kFont, reinterpret_cast<const unsigned char*>("OK"));
  glColor3f(0.0f, 0.0f, 0.0f);
  drawString(bx + (kButtonWidth - labelWidth) / 2.0f, by + kButtonHeight / 2.0f + 4.0f, "OK");
  glutSwapBuffers();
}

void keyboard(unsigned char key, int, int) {
  if (key == 13 || key == 27) box.dismissed = true;
}

void mouse(int button, int state, int x, int y) {
  if (button != GLUT_LEFT_BUTTON) return;
  if (state == GLUT_DOWN) {
    box.pressedOnButton = onButton(x, y);
  } else {
    if (box.pressedOnButton && onButton(x, y)) box.dismissed = true;
    box.pressedOnButton = false;
  }
  glutPostRedisplay();
}

void reshape(int, int) {
  glutPostRedisplay();
}

void closed() {
  // GLUT destroys the window itself after this.
  box.dismissed = true;
  box.windowGone = true;
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
  box = Box{};
  const int textWidth = kBoxWidth - 2 * kMargin;
  box.lines = about::wrap(text, textWidth, [](unsigned char c) { return glutBitmapWidth(kFont, c); });
  about::cut(box.lines, kMaxLines);
  const int textHeight = static_cast<int>(box.lines.size()) * kLineHeight;
  box.height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
  box.buttonX = (box.width - kButtonWidth) / 2;
  box.buttonY = box.height - kMargin - kButtonHeight;

  // Closing the box must not end the process, as it would by default.
  const int previousCloseAction = glutGet(GLUT_ACTION_ON_WINDOW_CLOSE);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);

  const int screenWidth = glutGet(GLUT_SCREEN_WIDTH);
  const int screenHeight = glutGet(GLUT_SCREEN_HEIGHT);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
  glutInitWindowPosition(std::max(0, (screenWidth - box.width) / 2),
                         std::max(0, (screenHeight - box.height) / 3));
  glutInitWindowSize(box.width, box.height);
  const int window = glutCreateWindow("Verlomba");
  markWindowAsTheGames();
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  glutKeyboardFunc(keyboard);
  glutMouseFunc(mouse);
  glutCloseFunc(closed);

  // Modal: nothing else runs until the player has read it.
  while (!box.dismissed) {
    glutMainLoopEvent();
    if (!box.dismissed) sleepMilliseconds(10);
  }
  if (!box.windowGone) glutDestroyWindow(window);
  glutMainLoopEvent();  // lets GLUT take the window down before the game's appears
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, previousCloseAction);
  box.lines.clear();
}
