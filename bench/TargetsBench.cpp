// The figures the game is held to (scripts/measure_bench.py prints their
// medians against the targets): the tick of the start world, the crowded
// world, the 1,000-tree world and the big city, one frame of the start and
// the crowded world, recorded, drawn by OpenGL and drawn by the software
// renderer, and the frames of the big worlds while the view zooms.

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BigWorlds.h"
#include "CrowdedWorld.h"
#include "app/InputMapping.h"
#include "doubles/RecordingDrawBackend.h"
#include "draw/BuiltInFonts.h"
#include "draw/Pen.h"
#include "draw/ScaledFonts.h"
#include "draw/gl/GlDrawBackend.h"
#include "draw/software/SoftwareDrawBackend.h"
#include "game/CityFile.h"
#include "platform/glut/GlutInit.h"

namespace {

// Worlds are timed a third of a second into play, once the zone has settled
// and the first peeps have found their buildings, but before the crowd thins.
constexpr int kWarmUpTicks = 10;

void reportCrowd(benchmark::State& state, Game& g) {
  const CrowdCounts c = countCrowd(g);
  state.counters["peeps"] = c.peeps;
  state.counters["creeps"] = c.creeps;
}

// A world evolves with every tick (the crowd thins as peeps go to work and
// creeps are shot), so each iteration builds its world afresh from the same
// seed and times the same tick of it.
template <class Build>
void timeOneTick(benchmark::State& state, Build build) {
  for (auto _ : state) {
    state.PauseTiming();
    {
      HeadlessGame h;
      build(h.game());
      h.tick(kWarmUpTicks);
      state.ResumeTiming();
      h.tick();
      state.PauseTiming();
      reportCrowd(state, h.game());
    }
    state.ResumeTiming();
  }
}

void BM_StartWorldTick(benchmark::State& state) {
  timeOneTick(state, [](Game&) {});
}
BENCHMARK(BM_StartWorldTick)->Unit(benchmark::kMicrosecond)->Iterations(400);

void BM_CrowdedWorldTick(benchmark::State& state) {
  timeOneTick(state, buildCrowdedWorld);
}
BENCHMARK(BM_CrowdedWorldTick)->Unit(benchmark::kMicrosecond)->Iterations(60);

// A world checked once before it is timed, so that a change to its builder
// cannot quietly shrink what is timed.
template <class Build, class Check>
void timeOneTickChecked(benchmark::State& state, Build build, Check check) {
  {
    HeadlessGame h;
    build(h.game());
    if (!check(h.game())) {
      state.SkipWithError("the world is not what its builder promises");
      return;
    }
  }
  timeOneTick(state, build);
}

void BM_ThousandTreeTick(benchmark::State& state) {
  timeOneTickChecked(state, buildThousandTreeWorld, isThousandTreeWorld);
}
BENCHMARK(BM_ThousandTreeTick)->Unit(benchmark::kMicrosecond)->Iterations(60);

void BM_BigCityTick(benchmark::State& state) {
  timeOneTickChecked(state, buildBigCity, isBigCity);
}
BENCHMARK(BM_BigCityTick)->Unit(benchmark::kMicrosecond)->Iterations(60);

// The crowd as promised, so that a change to a constructor cannot quietly
// shrink the world being timed.
bool isFullCrowd(Game& g) {
  const CrowdCounts c = countCrowd(g);
  return c.peeps == 96 && c.creeps == 30 && c.buildings == 32 && c.armedSoldiers == 8 && c.trees == 60 &&
         c.fountains == 6 && c.towers == 10 && c.walls == 15 && c.doorRoads == 20 && c.paths == 5 &&
         c.pathPoints == 5 * 256;
}

void BM_CrowdedFrameRecorded(benchmark::State& state) {
  HeadlessGame h;
  buildCrowdedWorld(h.game());
  if (!isFullCrowd(h.game())) {
    state.SkipWithError("the crowded world is not what it should be");
    return;
  }
  h.tick(kWarmUpTicks);
  ScopedDrawRecording recording;
  for (auto _ : state) {
    recording.clear();
    h.game().onDraw();
  }
  state.counters["shapes"] = static_cast<double>(recording.shapes().size());
  if (recording.misuseCount() != 0) state.SkipWithError("the frame misused the drawing calls");
}
BENCHMARK(BM_CrowdedFrameRecorded)->Unit(benchmark::kMicrosecond);

// An 800 by 800 double-buffered window with the GL state the game's window
// gets, on whatever display DISPLAY names; made once for the process.
bool openGlWindow() {
  static const bool opened = [] {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    ensureGlutInitialized();
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    glutInitWindowSize(800, 800);
    glutCreateWindow("Verlomba bench");
    glutDisplayFunc([] {});
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_LIGHTING);
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
    return true;
  }();
  return opened;
}

// User and system time of every thread of the process so far.
double processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One frame drawn by OpenGL: clear, the game's drawing, and glFinish to wait
// for the renderer's threads.
template <class Build>
void timeOpenGlFrame(benchmark::State& state, Build build) {
  if (!openGlWindow()) {
    state.SkipWithError("no X display (DISPLAY is not set)");
    return;
  }
  HeadlessGame h;
  build(h.game());
  h.tick(kWarmUpTicks);
  static GlDrawBackend gl;
  setDrawBackend(&gl);  // OpenGL from here on
  resetPen();
  glViewport(0, 0, 800, 800);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, 800.0, 800.0, 0.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // The first frame compiles the renderer's shaders; it is not timed.
  auto frame = [&h] {
    glClear(GL_COLOR_BUFFER_BIT);
    h.game().onDraw();
    glFinish();
  };
  frame();
  const double cpuBefore = processCpuSeconds();
  for (auto _ : state) frame();
  // The renderer's own threads do most of the work; this counts them too.
  state.counters["all_threads_cpu_ms"] =
      1000.0 * (processCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());
  reportCrowd(state, h.game());
  state.SetLabel(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

void BM_CrowdedFrameOpenGL(benchmark::State& state) {
  timeOpenGlFrame(state, buildCrowdedWorld);
}
BENCHMARK(BM_CrowdedFrameOpenGL)->Unit(benchmark::kMillisecond)->MinTime(0.5);

void BM_StartFrameOpenGL(benchmark::State& state) {
  timeOpenGlFrame(state, [](Game&) {});
}
BENCHMARK(BM_StartFrameOpenGL)->Unit(benchmark::kMillisecond)->MinTime(0.5);

double wallSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// One frame drawn by the software renderer into an 800 by 800 image (or
// 800 times the window scale), the
// world ticking between frames as in the game, so that kept pictures are
// drawn anew as often as they are there (shadows as the light moves,
// buildings as people come in). The renderer paints on its own threads as
// well as the calling one: the CPU time of them all is what the frame costs
// (VERLOMBA_THREADS=1 paints on the calling thread alone).
template <class Build>
void timeSoftwareFrame(benchmark::State& state, Build build, bool keepPictures = true, double scale = 1.0) {
  SoftwareDrawBackend software(builtInFonts());
  if (!fontsAtScale(scale).empty()) software.setFonts(fontsAtScale(scale), static_cast<float>(scale));
  software.keepPictures(keepPictures);
  HeadlessGame h;
  build(h.game());
  const int side = static_cast<int>(std::lround(800 * scale));
  std::vector<uint32_t> pixels(static_cast<size_t>(side) * side);
  const ImageView image{pixels.data(), side, side, side};
  DrawBackend& ticking = drawBackend();
  auto frame = [&] {
    setDrawBackend(&software);
    // The image keeps the last frame, as the window's does.
    software.beginFrame(image, viewTransform(800, 800, 1.0f, {400.0f, 400.0f}, scale), 0xFFFFFF, true);
    h.game().onDraw();
    software.endFrame();
    setDrawBackend(&ticking);
  };
  for (int i = 0; i < kWarmUpTicks; ++i) {
    h.tick();
    frame();
  }
  double cpu = 0.0;
  double painted = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    h.tick();
    state.ResumeTiming();
    const double before = processCpuSeconds();
    frame();
    cpu += processCpuSeconds() - before;
    painted += software.paintedTiles();
  }
  state.counters["all_threads_cpu_ms"] = 1000.0 * cpu / static_cast<double>(state.iterations());
  // The share of the tiles a frame painted: the rest showed the last frame's.
  state.counters["painted_share"] =
      painted / std::max(1.0, static_cast<double>(state.iterations()) * software.tileCount());
  reportCrowd(state, h.game());
}

void BM_CrowdedFrameSoftware(benchmark::State& state) {
  timeSoftwareFrame(state, buildCrowdedWorld);
}
BENCHMARK(BM_CrowdedFrameSoftware)->Unit(benchmark::kMillisecond)->Iterations(120);

// The same with every shape drawn every frame, nothing kept: the
// rasterizer's own speed.
void BM_CrowdedFrameSoftwareUnkept(benchmark::State& state) {
  timeSoftwareFrame(state, buildCrowdedWorld, false);
}
BENCHMARK(BM_CrowdedFrameSoftwareUnkept)->Unit(benchmark::kMillisecond)->Iterations(120);

// At the window scales of a 200 % desktop and of a 1366x768 screen.
void BM_CrowdedFrameSoftwareAt2(benchmark::State& state) {
  timeSoftwareFrame(state, buildCrowdedWorld, true, 2.0);
}
BENCHMARK(BM_CrowdedFrameSoftwareAt2)->Unit(benchmark::kMillisecond)->Iterations(60);

void BM_CrowdedFrameSoftwareAt09(benchmark::State& state) {
  timeSoftwareFrame(state, buildCrowdedWorld, true, 0.9);
}
BENCHMARK(BM_CrowdedFrameSoftwareAt09)->Unit(benchmark::kMillisecond)->Iterations(120);

void BM_StartFrameSoftware(benchmark::State& state) {
  timeSoftwareFrame(state, [](Game&) {});
}
BENCHMARK(BM_StartFrameSoftware)->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_StartFrameSoftwareAt2(benchmark::State& state) {
  timeSoftwareFrame(
      state, [](Game&) {}, true, 2.0);
}
BENCHMARK(BM_StartFrameSoftwareAt2)->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_ThousandTreeFrameSoftware(benchmark::State& state) {
  timeSoftwareFrame(state, buildThousandTreeWorld);
}
BENCHMARK(BM_ThousandTreeFrameSoftware)->Unit(benchmark::kMillisecond)->Iterations(60);

void BM_ThousandTreeFrameSoftwareAt2(benchmark::State& state) {
  timeSoftwareFrame(state, buildThousandTreeWorld, true, 2.0);
}
BENCHMARK(BM_ThousandTreeFrameSoftwareAt2)->Unit(benchmark::kMillisecond)->Iterations(30);

// Fullscreen on a 3840x2160 screen at 200 % (Xft.dpi 192): the view is
// 2160 pixels a side, a window scale of 2.7.
void BM_ThousandTreeFrameSoftwareAt27(benchmark::State& state) {
  timeSoftwareFrame(state, buildThousandTreeWorld, true, 2.7);
}
BENCHMARK(BM_ThousandTreeFrameSoftwareAt27)->Unit(benchmark::kMillisecond)->Iterations(30);

// Frames of the 1,000-tree world at the deepest zoom while the arrow keys
// move the view, one press a frame, ten each way in turn (some into the
// field's edge), software renderer, the world ticking between frames. As
// for the zoom, the median and the 95th percentile of the frames' CPU time.
void BM_ThousandTreeViewMovingSoftware(benchmark::State& state) {
  SoftwareDrawBackend software(builtInFonts());
  HeadlessGame h;
  buildThousandTreeWorld(h.game());
  std::vector<uint32_t> pixels(800 * 800);
  const ImageView image{pixels.data(), 800, 800, 800};
  DrawBackend& ticking = drawBackend();
  std::vector<double> frames;
  auto frame = [&](bool timed) {
    h.tick();
    setDrawBackend(&software);
    const double before = processCpuSeconds();
    const Vec2 c = h.app().viewCentre();
    const Vec2 translation = translationForCentre(h.app().viewRect(), c.x, c.y);
    software.beginFrame(image, viewTransform(800, 800, h.app().zoom(), translation), 0xFFFFFF, true);
    h.game().onDraw();
    software.endFrame();
    if (timed) frames.push_back(1000.0 * (processCpuSeconds() - before));
    setDrawBackend(&ticking);
  };
  h.app().scrollWheel(1);
  for (int i = 0; i < 8 * 4 + 30; ++i) {
    if (i % 4 == 0 && i < 8 * 4) h.app().scrollWheel(1);
    frame(false);
  }
  for (auto _ : state) {
    for (int key : {kKeyRight, kKeyDown, kKeyLeft, kKeyUp, kKeyLeft, kKeyUp, kKeyRight, kKeyDown}) {
      for (int i = 0; i < 10; ++i) {
        h.game().onKey(key);
        frame(true);
      }
    }
  }
  std::sort(frames.begin(), frames.end());
  state.counters["all_threads_cpu_ms"] = frames[frames.size() / 2];
  state.counters["p95_frame_ms"] = frames[frames.size() * 95 / 100];
  state.counters["zoom"] = h.app().zoom();
}
BENCHMARK(BM_ThousandTreeViewMovingSoftware)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BigCityFrameSoftware(benchmark::State& state) {
  timeSoftwareFrame(state, buildBigCity);
}
BENCHMARK(BM_BigCityFrameSoftware)->Unit(benchmark::kMillisecond)->Iterations(60);

// Every frame of a zoom round in a big world, software renderer: a wheel
// notch in every fourth tick (a brisk turn of the wheel) eight times, until
// the view settles, then eight out, as in the game, the world ticking
// between frames, and half a second after. The worst frames are what a
// player sees stutter, so the 95th percentile of the frames' wall time is
// the figure; beside it that of their CPU time, over all threads.
template <class Build>
void timeSoftwareZoom(benchmark::State& state, Build build) {
  SoftwareDrawBackend software(builtInFonts());
  HeadlessGame h;
  build(h.game());
  std::vector<uint32_t> pixels(800 * 800);
  const ImageView image{pixels.data(), 800, 800, 800};
  DrawBackend& ticking = drawBackend();
  std::vector<double> frames;
  std::vector<double> cpu;
  auto frame = [&](bool timed) {
    h.tick();
    setDrawBackend(&software);
    const double before = wallSeconds();
    const double cpuBefore = processCpuSeconds();
    software.beginFrame(image, viewTransform(800, 800, h.app().zoom(), {400.0f, 400.0f}), 0xFFFFFF, true);
    h.game().onDraw();
    software.endFrame();
    if (timed) {
      frames.push_back(1000.0 * (wallSeconds() - before));
      cpu.push_back(1000.0 * (processCpuSeconds() - cpuBefore));
    }
    setDrawBackend(&ticking);
  };
  for (int i = 0; i < kWarmUpTicks; ++i) frame(false);
  const auto turn = [&](int notch) {
    for (int i = 0; i < 8 * 4; ++i) {
      if (i % 4 == 0) h.app().scrollWheel(notch);
      frame(true);
    }
    // Until the view has been still for half a second: the frames that
    // follow the zoom count too.
    for (int still = 0; still < 15;) {
      const float zoom = h.app().zoom();
      frame(true);
      still = h.app().zoom() == zoom ? still + 1 : 0;
    }
  };
  for (auto _ : state) {
    turn(+1);
    turn(-1);
  }
  std::sort(frames.begin(), frames.end());
  std::sort(cpu.begin(), cpu.end());
  state.counters["all_threads_cpu_ms"] = cpu[cpu.size() / 2];
  state.counters["p95_frame_ms"] = frames[frames.size() * 95 / 100];
  state.counters["p95_cpu_ms"] = cpu[cpu.size() * 95 / 100];
  state.counters["frames"] = static_cast<double>(frames.size());
  reportCrowd(state, h.game());
}

void BM_ThousandTreeZoomSoftware(benchmark::State& state) {
  timeSoftwareZoom(state, buildThousandTreeWorld);
}
BENCHMARK(BM_ThousandTreeZoomSoftware)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_BigCityZoomSoftware(benchmark::State& state) {
  timeSoftwareZoom(state, buildBigCity);
}
BENCHMARK(BM_BigCityZoomSoftware)->Unit(benchmark::kMillisecond)->Iterations(1);

// Saving the big city to its file and loading it back, as "Save City" and
// "Load City" do (the save flushed to the disk); each is held to 50 ms, the
// file to 200 KiB.
std::string benchCityPath() {
  return (std::filesystem::temp_directory_path() / "verlomba-bench-city.txt").string();
}

void BM_BigCitySave(benchmark::State& state) {
  HeadlessGame h;
  buildBigCity(h.game());
  if (!isBigCity(h.game())) state.SkipWithError("the big city is not what it should be");
  const std::string path = benchCityPath();
  for (auto _ : state) {
    if (!saveCityFile(h.game(), path).saved) state.SkipWithError("not saved");
  }
  state.counters["KiB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
  std::filesystem::remove(path);
}
BENCHMARK(BM_BigCitySave)->Unit(benchmark::kMillisecond)->Iterations(30);

// The autosave's part on the game's own thread: the big city written to
// text; the disk gets it from a thread of its own.
void BM_BigCityAutosaveFrame(benchmark::State& state) {
  HeadlessGame h;
  buildBigCity(h.game());
  std::string text;
  std::string problem;
  for (auto _ : state) {
    if (!writeCity(h.game(), text, problem)) state.SkipWithError(problem.c_str());
  }
}
BENCHMARK(BM_BigCityAutosaveFrame)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_BigCityLoad(benchmark::State& state) {
  HeadlessGame h;
  buildBigCity(h.game());
  const std::string path = benchCityPath();
  saveCityFile(h.game(), path);
  std::string problem;
  for (auto _ : state) {
    if (!loadCityFile(h.game(), path, problem)) state.SkipWithError(problem.c_str());
  }
  if (!isBigCity(h.game())) state.SkipWithError("the loaded city is not the big city");
  std::filesystem::remove(path);
}
BENCHMARK(BM_BigCityLoad)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
