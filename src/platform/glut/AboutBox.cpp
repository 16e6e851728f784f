#include "platform/glut/AboutBox.h"

#include <GL/freeglut.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/AboutText.h"
#include "app/WindowScale.h"
#include "draw/Pen.h"
#include "draw/ScaledFonts.h"
#include "draw/Shapes.h"
#include "draw/Text.h"
#include "draw/gl/GlDrawBackend.h"
#include "platform/glut/GlutInit.h"
#include "platform/glut/WindowDestroyWatch.h"
#include "platform/glut/WindowIdentity.h"
#include "platform/glut/WindowManagerHints.h"
#include "platform/glut/WindowRenderer.h"

namespace {

constexpr TextFont kFont = TextFont::Helvetica12;
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
  double scale = 1.0;  // window pixels per unit
  int pixels(int units) const { return static_cast<int>(std::lround(units * scale)); }
};

Box box;
// The box's frames go through the renderer the game's window will use.
std::unique_ptr<WindowRenderer> renderer;

// (x, y) in window pixels.
bool onButton(int px, int py) {
  const double x = px / box.scale;
  const double y = py / box.scale;
  return x >= box.buttonX && x < box.buttonX + kButtonWidth && y >= box.buttonY &&
         y < box.buttonY + kButtonHeight;
}

void drawString(float x, float y, const std::string& s) {
  drawText(x, y, "%s", s.c_str());
}

void display() {
  // Drawn when exposed or changed: shown whole either way.
  renderer->showWholeNextFrame();
  ViewPlacement placement;
  placement.width = box.width;
  placement.height = box.height;
  placement.scale = box.scale;
  renderer->beginFrame(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT), placement, 1.0f,
                       {box.width * 0.5f, box.height * 0.5f}, 0xF0F0F0);
  setFont(kFont);
  setColor(0.0f, 0.0f, 0.0f);
  for (std::size_t i = 0; i < box.lines.size(); ++i) {
    drawString(kMargin, kMargin + static_cast<float>(i + 1) * kLineHeight - 3.0f, box.lines[i]);
  }

  const float bx = static_cast<float>(box.buttonX);
  const float by = static_cast<float>(box.buttonY);
  setColor(box.pressedOnButton ? 0.75f : 0.86f, box.pressedOnButton ? 0.75f : 0.86f, 0.86f);
  fillRect(Rect{bx, bx + kButtonWidth, by, by + kButtonHeight});
  setColor(0.35f, 0.35f, 0.35f);
  beginLineLoop();
  vertex(bx + 0.5f, by + 0.5f);
  vertex(bx + kButtonWidth - 0.5f, by + 0.5f);
  vertex(bx + kButtonWidth - 0.5f, by + kButtonHeight - 0.5f);
  vertex(bx + 0.5f, by + kButtonHeight - 0.5f);
  endShape();
  const float labelWidth = textWidth("OK");
  setColor(0.0f, 0.0f, 0.0f);
  drawString(bx + (kButtonWidth - labelWidth) / 2.0f, by + kButtonHeight / 2.0f + 4.0f, "OK");
  renderer->endFrame();
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

// The lines of text wrapped to the box in pixels of the font it is drawn
// with at the box's scale.
std::vector<std::string> wrapToBox(const std::string& text) {
  const int width = kBoxWidth - 2 * kMargin;
  for (const BitmapFont& font : fontsAtScale(box.scale)) {
    if (font.font != kFont) continue;
    return about::wrap(text, box.pixels(width), [&font](unsigned char c) { return font.glyphs[c].advance; });
  }
  return about::wrap(text, width, [](unsigned char c) { return glutBitmapWidth(glutFont(kFont), c); });
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
  box.scale = windowScale();
  box.lines = wrapToBox(text);
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
  const int width = box.pixels(box.width);
  const int height = box.pixels(box.height);
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
  while (!box.dismissed) {
    glutMainLoopEvent();
    if (destroyWatch.destroyed()) box.dismissed = true;
    if (!box.dismissed) sleepMilliseconds(10);
  }
  resetPen();  // the game starts with a fresh pen
  renderer.reset();
  if (!box.windowGone) glutDestroyWindow(window);
  glutMainLoopEvent();  // lets GLUT take the window down before the game's appears
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, previousCloseAction);
  box.lines.clear();
}
