#include "platform/windows/WinApplication.h"

#include <timeapi.h>
#include <windowsx.h>
// windows.h's old pointer words would rename the renderer's fields.
#undef far
#undef near

#include <algorithm>
#include <cmath>

#include "app/FrameClock.h"
#include "app/WindowScale.h"
#include "draw/BuiltInFonts.h"
#include "draw/DrawBackend.h"
#include "draw/ScaledFonts.h"
#include "draw/software/SoftwareDrawBackend.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WinScaledFonts.h"

namespace {

constexpr wchar_t kWindowClass[] = L"VerlombaCity";
// The background around the view and behind the first frame.
constexpr uint32_t kClearRgb = 0xFFFFFF;
constexpr DWORD kWindowedStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The timer that keeps the frames going while a modal loop of Windows (a
// menu open, the window being moved) runs instead of ours.
constexpr UINT_PTR kFrameTimer = 1;

WinApplication* current = nullptr;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (current && current->window() == window) return current->handleMessage(message, w, l);
  return DefWindowProcW(window, message, w, l);
}

bool registerClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW c = {};
  c.cbSize = sizeof c;
  c.style = CS_OWNDC;
  c.lpfnWndProc = windowProcedure;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hIcon =
      static_cast<HICON>(LoadImageW(c.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                    GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  c.hIconSm = static_cast<HICON>(LoadImageW(c.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                            LR_DEFAULTCOLOR));
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.lpszClassName = kWindowClass;
  registered = RegisterClassExW(&c) != 0;
  return registered;
}

}  // namespace

WinApplication::WinApplication() : menu_(menuBackend_) {
  view_ = {0.0f, static_cast<float>(width_), 0.0f, static_cast<float>(height_)};
  translation_ = {width_ * 0.5f, height_ * 0.5f};
  cursor_ = LoadCursorW(nullptr, IDC_ARROW);
}

WinApplication::~WinApplication() {
  if (installedDrawBackend() == software_.get()) setDrawBackend(nullptr);
  if (window_) DestroyWindow(window_);
  if (current == this) current = nullptr;
}

int WinApplication::pixelWidth() const {
  return static_cast<int>(std::lround(width_ * scale_));
}

int WinApplication::pixelHeight() const {
  return static_cast<int>(std::lround(height_ * scale_));
}

RECT WinApplication::frameFor(int x, int y) const {
  RECT r = {x, y, x + pixelWidth(), y + pixelHeight()};
  AdjustWindowRectExForDpi(&r, kWindowedStyle, FALSE, 0, GetDpiForWindow(window_));
  return r;
}

bool WinApplication::init() {
  if (!registerClass()) return false;
  scale_ = windowScale();
  current = this;
  window_ = CreateWindowExW(0, kWindowClass, L"", kWindowedStyle, CW_USEDEFAULT, CW_USEDEFAULT, pixelWidth(),
                            pixelHeight(), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window_) return false;
  // Sized once the window knows its monitor's DPI, which sets its frame.
  RECT placed;
  GetWindowRect(window_, &placed);
  const RECT r = frameFor(placed.left, placed.top);
  SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  software_ = std::make_unique<SoftwareDrawBackend>(builtInFonts());
  setDrawBackend(software_.get());
  ShowWindow(window_, SW_SHOWNORMAL);
  // Where the about box had the focus, the game window takes it on.
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  return true;
}

void WinApplication::clientSize(int& width, int& height) const {
  RECT r = {};
  GetClientRect(window_, &r);
  width = r.right - r.left;
  height = r.bottom - r.top;
}

WinApplication::Placement WinApplication::placement() const {
  Placement p;
  p.scale = scale_;
  if (!fullscreen_) return p;
  int w = 0, h = 0;
  clientSize(w, h);
  const double fit = width_ > 0 && height_ > 0 ? std::min(w * 1.0 / width_, h * 1.0 / height_) : 0.0;
  if (fit > 0.0) p.scale = fit;
  p.left = std::max(0, (w - static_cast<int>(std::lround(width_ * p.scale))) / 2);
  p.top = std::max(0, (h - static_cast<int>(std::lround(height_ * p.scale))) / 2);
  return p;
}

void WinApplication::setMouse(LPARAM l) {
  const Placement p = placement();
  mouseX_ = static_cast<float>((GET_X_LPARAM(l) - p.left) / p.scale);
  mouseY_ = static_cast<float>((GET_Y_LPARAM(l) - p.top) / p.scale);
}

void WinApplication::readModifiers() {
  modifiers_ = 0;
  if (GetKeyState(VK_SHIFT) < 0) modifiers_ |= kShiftBit;
  if (GetKeyState(VK_CONTROL) < 0) modifiers_ |= kCtrlBit;
  if (GetKeyState(VK_MENU) < 0) modifiers_ |= kAltBit;
}

Vec2 WinApplication::mouseWorldPosition() {
  ViewTransform t;
  t.view = view_;
  t.zoom = zoom_;
  t.translation = translation_;
  return windowToWorld(mouseX_, mouseY_, t);
}

bool WinApplication::isDragging() {
  return isButtonDown() && clicks_.movedFromPress(mouseX_, mouseY_);
}

bool WinApplication::setWindowSize(float w, float h) {
  width_ = static_cast<int>(w);
  height_ = static_cast<int>(h);
  view_ = {0.0f, w, 0.0f, h};
  translation_ = {w * 0.5f, h * 0.5f};
  if (window_ && !fullscreen_) {
    const RECT r = frameFor(0, 0);
    SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  }
  return true;
}

void WinApplication::setCursor(int shape) {
  const wchar_t* name = IDC_ARROW;
  if (shape == 2) name = IDC_CROSS;
  if (shape == 6) name = IDC_IBEAM;
  cursor_ = shape == 0 ? nullptr : LoadCursorW(nullptr, name);
  POINT p;
  RECT r;
  if (window_ && GetCursorPos(&p) && ScreenToClient(window_, &p) && GetClientRect(window_, &r) &&
      PtInRect(&r, p))
    SetCursor(cursor_);
}

void WinApplication::setTitle(const char* text) {
  if (window_) SetWindowTextW(window_, toUtf16(text ? text : "").c_str());
}

void WinApplication::setViewCentre(float x, float y) {
  translation_ = translationForCentre(view_, x, y);
}

Vec2 WinApplication::viewCentre() {
  return centreForTranslation(view_, translation_);
}

void WinApplication::beginDraw() {
  const Placement p = placement();
  if (p.scale != fontScale_) {
    fontScale_ = p.scale;
    const BitmapFontSet& fonts = fontsAtScale(p.scale);
    software_->setFonts(fonts.empty() ? builtInFonts() : fonts, static_cast<float>(textScaleAt(p.scale)));
  }
  int w = 0, h = 0;
  clientSize(w, h);
  const ImageView whole = frame_.frame(w, h);
  bool kept = frame_.hasPresented();
  ImageView view = whole;
  if (!whole.empty() && (p.left != 0 || p.top != 0 || fullscreen_)) {
    // Margins around the view need clearing only when they move.
    if (cleared_.scale != p.scale || cleared_.left != p.left || cleared_.top != p.top || !kept) {
      for (int y = 0; y < whole.height; ++y) std::fill(whole.row(y), whole.row(y) + whole.width, kClearRgb);
      cleared_ = p;
      kept = false;
    }
    view.pixels = whole.row(p.top) + p.left;
    view.width = std::min(static_cast<int>(std::lround(width_ * p.scale)), w - p.left);
    view.height = std::min(static_cast<int>(std::lround(height_ * p.scale)), h - p.top);
  } else if (!whole.empty()) {
    view.width = std::min(w, pixelWidth());
    view.height = std::min(h, pixelHeight());
  }
  software_->beginFrame(view, viewTransform(width_, height_, zoom_, translation_, p.scale), kClearRgb, kept);
}

void WinApplication::endDraw() {
  software_->endFrame();
  if (!window_) return;
  const HDC dc = GetDC(window_);
  frame_.present(dc);
  ReleaseDC(window_, dc);
}

void WinApplication::showFrame(HDC dc) {
  if (frame_.hasPresented()) {
    frame_.present(dc);
    return;
  }
  RECT r;
  GetClientRect(window_, &r);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void WinApplication::run(GameClient* client) {
  Application::run(client);
  // Sleeps as long as asked, to the millisecond, rather than the default
  // tick of about 16 ms.
  timeBeginPeriod(1);
  MSG message;
  for (;;) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        timeEndPeriod(1);
        return;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (takeDueFrame()) {
      onFrame();
      continue;
    }
    // Asleep until the next frame is due or input arrives.
    const DWORD wait = static_cast<DWORD>(std::ceil(secondsUntilNextFrame() * 1000.0f));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
  }
}

void WinApplication::armFrameTimer() {
  // Windows' timers fire no sooner than 10 ms; the schedule's fixed step
  // keeps 30 frames a second however late each one comes.
  const UINT wait = static_cast<UINT>(std::ceil(secondsUntilNextFrame() * 1000.0f));
  SetTimer(window_, kFrameTimer, std::max<UINT>(wait, USER_TIMER_MINIMUM), nullptr);
}

void WinApplication::onButton(bool down, LPARAM l) {
  readModifiers();
  setMouse(l);
  const Vec2 p = mouseWorldPosition();
  if (down) {
    SetCapture(window_);
    clicks_.press(mouseX_, mouseY_, FrameClock::realSeconds(), pressTime());
    onMouseDown(p.x, p.y);
  } else {
    ReleaseCapture();
    clicks_.release(mouseX_, mouseY_);
    onMouseUp(p.x, p.y);
  }
}

void WinApplication::onKeyDown(WPARAM key) {
  readModifiers();
  switch (key) {
    case VK_F11:  // the window's own key: the game never sees it
      toggleFullscreen();
      break;
    case VK_LEFT:
      onKey(kKeyLeft);
      break;
    case VK_RIGHT:
      onKey(kKeyRight);
      break;
    case VK_UP:
      onKey(kKeyUp);
      break;
    case VK_DOWN:
      onKey(kKeyDown);
      break;
    case VK_HOME:
      onKey(kKeyHome);
      break;
    case VK_F1:
      onKey(kKeyF1);
      break;
    case VK_DELETE:
      onKey(mapKeyboardKey(127, modifiers_ & ~kCtrlBit));
      break;
    default:
      break;
  }
}

void WinApplication::toggleFullscreen() {
  if (!fullscreen_) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    GetWindowRect(window_, &windowedRect_);
    fullscreen_ = true;
    SetWindowLongPtrW(window_, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    const RECT& m = monitor.rcMonitor;
    SetWindowPos(window_, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top, SWP_FRAMECHANGED);
  } else {
    fullscreen_ = false;
    SetWindowLongPtrW(window_, GWL_STYLE, kWindowedStyle | WS_VISIBLE);
    const RECT r = frameFor(0, 0);
    SetWindowPos(window_, nullptr, windowedRect_.left, windowedRect_.top, r.right - r.left, r.bottom - r.top,
                 SWP_FRAMECHANGED | SWP_NOZORDER);
  }
  InvalidateRect(window_, nullptr, FALSE);
}

LRESULT WinApplication::handleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_MOUSEMOVE:
      readModifiers();
      setMouse(l);
      dragViewTo(mouseX_, mouseY_);
      return 0;
    case WM_MBUTTONDOWN:
      // The middle button carries the view along while zoomed in.
      readModifiers();
      setMouse(l);
      SetCapture(window_);
      beginViewDrag(mouseX_, mouseY_);
      return 0;
    case WM_MBUTTONUP:
      ReleaseCapture();
      endViewDrag();
      return 0;
    case WM_LBUTTONDOWN:
      onButton(true, l);
      return 0;
    case WM_LBUTTONUP:
      onButton(false, l);
      return 0;
    case WM_RBUTTONUP: {
      // On the release, as Windows' context menus open.
      readModifiers();
      setMouse(l);
      POINT p = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      ClientToScreen(window_, &p);
      menuBackend_.popUp(window_, p.x, p.y);
      return 0;
    }
    case WM_CONTEXTMENU: {
      // From the keyboard (Shift+F10, the menu key): at the pointer.
      POINT p;
      GetCursorPos(&p);
      menuBackend_.popUp(window_, p.x, p.y);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      // A notch is 120; finer wheels add up to whole steps.
      wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(w);
      const int steps = wheelRemainder_ / WHEEL_DELTA;
      wheelRemainder_ -= steps * WHEEL_DELTA;
      if (steps != 0) wheel_.add(steps);
      return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
      // Alt and Space opens the window's system menu, as everywhere.
      if (message == WM_SYSCHAR && w == ' ') break;
      readModifiers();
      if (w < 256) onKey(mapKeyboardKey(static_cast<unsigned char>(w), modifiers_));
      // Alt with a letter would otherwise beep for want of a menu bar.
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (w == VK_F11 || w == VK_LEFT || w == VK_RIGHT || w == VK_UP || w == VK_DOWN || w == VK_DELETE ||
          w == VK_HOME || w == VK_F1) {
        onKeyDown(w);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (LOWORD(l) == HTCLIENT) {
        SetCursor(cursor_);
        return TRUE;
      }
      break;
    case WM_SIZE:
      setVisible(w != SIZE_MINIMIZED);
      break;
    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
      // The game goes on while the menu is open or the window moves, as it
      // does on the desktop.
      armFrameTimer();
      return 0;
    case WM_EXITMENULOOP:
    case WM_EXITSIZEMOVE:
      KillTimer(window_, kFrameTimer);
      return 0;
    case WM_TIMER:
      if (w != kFrameTimer) break;
      if (takeDueFrame()) onFrame();
      if (window_) armFrameTimer();
      return 0;
    case WM_DPICHANGED:
      // The scale was chosen once at start-up; the window keeps its size.
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window_, &paint);
      showFrame(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_DESTROY:
      // Closed: the game has its last word (the autosave), the message loop
      // ends, and nothing draws to the window again.
      onClose();
      window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}
