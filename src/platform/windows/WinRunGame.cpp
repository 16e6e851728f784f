// Windows' entry: the about box as a message box, then the game in a Win32
// window drawn by the software renderer.
#include <shellscalingapi.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/AboutText.h"
#include "app/GameStart.h"
#include "app/RunGame.h"
#include "app/WindowScale.h"
#include "game/Game.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WinApplication.h"

namespace {

// The DPI of the primary monitor and the room a window's view has on it:
// the work area (the screen less the task bar) less the frame of a window.
ScaleSources screenSources(std::string& dpiText) {
  ScaleSources sources;
  const POINT origin = {0, 0};
  const HMONITOR monitor = MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY);
  UINT dpiX = 96;
  UINT dpiY = 96;
  if (GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY) != S_OK) dpiY = GetDpiForSystem();
  dpiText = std::to_string(dpiY);
  sources.xftDpi = dpiText.c_str();
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return sources;
  RECT frame = {0, 0, 0, 0};
  AdjustWindowRectExForDpi(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0, dpiY);
  // chooseWindowScale keeps 48 pixels of the height for a title bar and a
  // panel; here both are counted already.
  constexpr int kReserve = 48;
  sources.screenWidth = (info.rcWork.right - info.rcWork.left) - (frame.right - frame.left);
  sources.screenHeight = (info.rcWork.bottom - info.rcWork.top) - (frame.bottom - frame.top) + kReserve;
  return sources;
}

void chooseScale(std::optional<double> asked) {
  std::string dpi;
  ScaleSources sources = screenSources(dpi);
  sources.commandLine = asked;
  sources.environment = std::getenv("VERLOMBA_SCALE");
  const ScaleChoice choice = chooseWindowScale(sources);
  for (const std::string& warning : choice.warnings) std::fprintf(stderr, "%s\n", warning.c_str());
  setWindowScale(choice.scale);
}

void showAboutBox(const std::string& text) {
  MessageBoxW(nullptr, toUtf16(text).c_str(), L"Verlomba", MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

}  // namespace

int runGame(void (*prepare)(Game&), std::optional<double> scale, const std::string& cityFile) {
  // Per-monitor DPI awareness comes from the manifest (verlomba.manifest).
  chooseScale(scale);
  showAboutBox(about::load());

  WinApplication* app = new WinApplication();
  setGlobalApplication(app);
  if (!app->init()) {
    std::fprintf(stderr, "verlomba: cannot open the game's window\n");
    setGlobalApplication(nullptr);
    delete app;
    return 1;
  }
  std::string problem;
  Game* game = startGame(*app, prepare, cityFile, problem);
  if (!game) {
    delete app;
    return 1;
  }
  app->run(game);
  delete game;
  delete app;
  return 0;
}
