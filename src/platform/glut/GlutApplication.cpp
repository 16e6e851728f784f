#include "platform/glut/GlutApplication.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/FrameClock.h"
#include "app/WindowScale.h"
#include "platform/glut/GlutInit.h"
#include "platform/glut/GlutMenuBackend.h"
#include "platform/glut/WindowDestroyWatch.h"
#include "platform/glut/WindowIdentity.h"
#include "platform/glut/WindowManagerHints.h"
#include "platform/glut/WindowRenderer.h"

namespace {

// The instance whose window the callbacks serve.
GlutApplication* current = nullptr;

// The idle callback sleeps until the next frame is due or input arrives;
// while a menu is open, never longer than this, as its repaint is polled.
constexpr float kMaxMenuSleepSeconds = 0.003f;
constexpr float kMinIdleSleepSeconds = 0.0005f;
// The window manager's fullscreen state is read every this many frames.
constexpr int kFramesPerFollow = 10;

// Sleeps for seconds or until the X connection has something to read,
// whichever comes first: waking only for frames and input, not every few
// milliseconds to look, is most of what an idle game costs.
void sleepUntilInput(float seconds) {
  timespec t;
  t.tv_sec = static_cast<time_t>(seconds);
  t.tv_nsec = static_cast<long>((seconds - static_cast<float>(t.tv_sec)) * 1e9f);
  Display* display = glXGetCurrentDisplay();
  if (!display) {
    nanosleep(&t, nullptr);
    return;
  }
  // Events Xlib has already read (while waiting for a reply) are not on
  // the socket any more: they are handled first.
  if (XEventsQueued(display, QueuedAfterFlush) > 0) return;
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  ppoll(&connection, 1, &t, nullptr);
}

void displayCallback() {
  if (current) current->handleDisplay();
}
void idleCallback() {
  if (current) current->handleIdle();
}
void motionCallback(int x, int y) {
  if (current) current->handleMotion(x, y);
}
void mouseCallback(int button, int state, int x, int y) {
  if (current) current->handleMouse(button, state, x, y);
}
void wheelCallback(int, int direction, int x, int y) {
  if (current) current->handleWheel(direction, x, y);
}
void keyboardCallback(unsigned char key, int x, int y) {
  if (current) current->handleKeyboard(key, x, y);
}
void specialCallback(int key, int x, int y) {
  if (current) current->handleSpecial(key, x, y);
}
void reshapeCallback(int w, int h) {
  if (current) current->handleReshape(w, h);
}
void windowStatusCallback(int state) {
  if (current) current->handleWindowStatus(state);
}
void closeCallback() {
  if (current) current->onClose();
}

// The background the window is cleared to before each frame.
constexpr uint32_t kClearRgb = 0xFFFFFF;

}  // namespace

GlutApplication::GlutApplication() : WindowApplication(1.0), menu_(glutMenuBackend()) {}

GlutApplication::~GlutApplication() {
  if (current == this) current = nullptr;
}

bool GlutApplication::init() {
  scale_ = windowScale();
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
  glutInitWindowPosition(100, 100);
  glutInitWindowSize(pixelWidth(), pixelHeight());
  ensureGlutInitialized();
  // Closing the game window ends the process.
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
  windowId_ = glutCreateWindow("");
  markWindowAsTheGames();
  destroyWatch_ = std::make_unique<WindowDestroyWatch>();
  fixWindowSize(pixelWidth(), pixelHeight());
  current = this;

  glClearColor(1.0f, 1.0f, 1.0f, 0.0f);

  glutDisplayFunc(displayCallback);
  glutPassiveMotionFunc(motionCallback);
  glutMotionFunc(motionCallback);
  glutMouseFunc(mouseCallback);
  glutReshapeFunc(reshapeCallback);
  glutSpecialFunc(specialCallback);
  glutKeyboardFunc(keyboardCallback);
  // With a wheel callback, freeglut no longer reports the wheel as buttons 3 and 4.
  glutMouseWheelFunc(wheelCallback);
  glutWindowStatusFunc(windowStatusCallback);
  // Called as the close button or the window manager's close ends the game.
  glutCloseFunc(closeCallback);

  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_LIGHTING);

  glutIdleFunc(idleCallback);

  view_ = {0.0f, static_cast<float>(width_), 0.0f, static_cast<float>(height_)};
  zoom_ = 1.0f;
  translation_ = {width_ * 0.5f, height_ * 0.5f};
  wheel_.clear();
  renderer_ = std::make_unique<WindowRenderer>();
  return true;
}

Renderer GlutApplication::renderer() const {
  return renderer_ ? renderer_->renderer() : Renderer::OpenGL;
}

ViewPlacement GlutApplication::placement() const {
  if (windowId_ == 0) return {width_, height_, scale_};
  const int w = windowWidth();
  const int h = windowHeight();
  // Fullscreen, the largest view that fits, centred on the background.
  const double fit = scaleToFit(width_, height_, w, h);
  return centredView(width_, height_, fullscreen_ && fit > 0.0 ? fit : scale_, w, h);
}

bool GlutApplication::setWindowSize(float w, float h) {
  WindowApplication::setWindowSize(w, h);
  if (windowId_ != 0) {
    glutSetWindow(windowId_);
    glutReshapeWindow(pixelWidth(), pixelHeight());
    fixWindowSize(pixelWidth(), pixelHeight());
  }
  return true;
}

void GlutApplication::setCursor(int shape) {
  if (windowId_ == 0) return;
  int cursor = GLUT_CURSOR_INHERIT;
  switch (shape) {
    case 0:
      cursor = GLUT_CURSOR_NONE;
      break;
    case 2:
      cursor = GLUT_CURSOR_CROSSHAIR;
      break;
    case 6:
      cursor = GLUT_CURSOR_TEXT;
      break;
    default:
      break;
  }
  glutSetCursor(cursor);
}

void GlutApplication::run(GameClient* client) {
  Application::run(client);
  glutMainLoop();
}

void GlutApplication::setTitle(const char* text) {
  if (windowId_ == 0) return;
  glutSetWindow(windowId_);
  glutSetWindowTitle(text ? text : "");
  // Shown by task bars and when the window is iconified.
  glutSetIconTitle(text ? text : "");
  setWindowNameUtf8(text);
}

void GlutApplication::setCredit(const char* text) {
  hasCredit_ = text != nullptr;
  credit_ = text ? text : "";
}

void GlutApplication::beginDraw() {
  renderer_->beginFrame(windowWidth(), windowHeight(), placement(), zoom_, translation_, kClearRgb);
}

void GlutApplication::endDraw() {
  renderer_->endFrame();
}

void GlutApplication::handleDisplay() {
  // An expose: the picture must come back even if the game, paused, would
  // not draw the same frame again.
  if (takeDueFrame()) {
    askRedraw();
    renderer_->showWholeNextFrame();
    onFrame();
  } else if (isVisible() && !renderer_->showAgain()) {
    askRedraw();
  }
}

void GlutApplication::handleIdle() {
  // A window destroyed by another client ends the game as its close button
  // does (freeglut then exits with 0), with nothing left to draw into.
  if (destroyWatch_ && destroyWatch_->destroyed()) {
    onClose();
    std::exit(0);
  }
  // The wheel is left alone here: the game's tick is its only reader.
  // The frame draws into the game window, and held-back menu changes may
  // attach to it, so it must be the current one.
  glutSetWindow(windowId_);
  glutMenuBackend().flushPending();
  if (glutMenuBackend().isMenuOpen()) {
    menuRepaint_.poll();
  } else {
    menuRepaint_.reset();
  }
  if (takeDueFrame()) {
    if (++framesSinceFollow_ >= kFramesPerFollow) followWindowManager();
    onFrame();
    return;
  }
  // Without a pause the main loop would call us back at once and spin a core.
  const float most = glutMenuBackend().isMenuOpen() ? kMaxMenuSleepSeconds : 1.0f;
  sleepUntilInput(std::clamp(secondsUntilNextFrame(), kMinIdleSleepSeconds, most));
}

void GlutApplication::handleMotion(int x, int y) {
  pointerAt(x, y);
  pointerMoved();
}

void GlutApplication::handleMouse(int button, int state, int x, int y) {
  modifiers_ = glutGetModifiers();
  pointerAt(x, y);
  if (button == GLUT_MIDDLE_BUTTON) middleButton(state == GLUT_DOWN);
  if (button == GLUT_LEFT_BUTTON) leftButton(state == GLUT_DOWN);
}

void GlutApplication::handleWheel(int direction, int x, int y) {
  pointerAt(x, y);
  wheel_.add(direction);
}

void GlutApplication::handleKeyboard(unsigned char key, int x, int y) {
  modifiers_ = glutGetModifiers();
  pointerAt(x, y);
  onKey(mapKeyboardKey(key, modifiers_));
}

void GlutApplication::handleSpecial(int key, int x, int y) {
  modifiers_ = glutGetModifiers();
  pointerAt(x, y);
  // The window's own key: the game never sees it.
  if (key == GLUT_KEY_F11) {
    toggleFullscreen();
    return;
  }
  onKey(mapSpecialKey(key));
}

void GlutApplication::handleWindowStatus(int state) {
  setVisible(state == GLUT_FULLY_RETAINED || state == GLUT_PARTIALLY_RETAINED);
}

void GlutApplication::toggleFullscreen() {
  glutSetWindow(windowId_);
  const bool on = !fullscreen_;
  // Some window managers refuse fullscreen to a window of fixed size.
  if (on) fixWindowSize(0, 0);
  const bool asked = askFullscreen(on, pixelWidth(), pixelHeight());
  fullscreenPending_ = asked && on;
  fullscreenByHand_ = !asked && on;
  fullscreen_ = on;
  if (!on) fixWindowSize(pixelWidth(), pixelHeight());
}

int GlutApplication::windowWidth() const {
  if (shownWidth_ < 0) shownWidth_ = glutGet(GLUT_WINDOW_WIDTH);
  return shownWidth_;
}

int GlutApplication::windowHeight() const {
  if (shownHeight_ < 0) shownHeight_ = glutGet(GLUT_WINDOW_HEIGHT);
  return shownHeight_;
}

void GlutApplication::followWindowManager() {
  framesSinceFollow_ = 0;
  // Asked again now and then, in case a reshape went unreported.
  shownWidth_ = -1;
  shownHeight_ = -1;
  if (fullscreenByHand_) return;
  if (isShownFullscreen()) {
    fullscreenPending_ = false;
    if (fullscreen_) return;
    // Its own fullscreen: the fixed size would keep the window from the screen.
    fullscreen_ = true;
    fixWindowSize(0, 0);
  } else if (fullscreen_ && !fullscreenPending_) {
    fullscreen_ = false;
    fixWindowSize(pixelWidth(), pixelHeight());
    if (glutGet(GLUT_WINDOW_WIDTH) != pixelWidth() || glutGet(GLUT_WINDOW_HEIGHT) != pixelHeight()) {
      glutReshapeWindow(pixelWidth(), pixelHeight());
    }
  }
}

void GlutApplication::handleReshape(int w, int h) {
  glutSetWindow(windowId_);
  followWindowManager();
  shownWidth_ = w;
  shownHeight_ = h;
  // Fullscreen the view fits any size; otherwise the window keeps the size
  // the game gave it: every resize is undone.
  if (fullscreen_ || (w == pixelWidth() && h == pixelHeight()) || reshaping_) return;
  reshaping_ = true;
  glutReshapeWindow(pixelWidth(), pixelHeight());
  reshaping_ = false;
}
