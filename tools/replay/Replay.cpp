#include "replay/Replay.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "agents/Creep.h"
#include "app/FrameClock.h"
#include "app/InputMapping.h"
#include "doubles/NullDrawBackend.h"
#include "doubles/ScriptedApplication.h"
#include "draw/DrawBackend.h"
#include "draw/Pen.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "replay/WorldDigest.h"
#include "tuning/Tuning.h"
#include "tuning/TuningFile.h"
#include "world/Burst.h"
#include "world/Random.h"
#include "world/WorldObject.h"

namespace {

constexpr int kCreepStartLifetime = 300;  // what a creep attack hands out

bool toInt(const std::string& s, long long& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtoll(s.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

bool toFloat(const std::string& s, float& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtof(s.c_str(), &end);
  return *end == '\0';
}

std::string floatText(float f) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(f));  // enough digits to read back exactly
  return buf;
}

ReplayEvent makeEvent(int tick, ReplayEvent::Kind kind, float x = 0.0f, float y = 0.0f) {
  ReplayEvent e;
  e.tick = tick;
  e.kind = kind;
  e.x = x;
  e.y = y;
  return e;
}

// One line's words, without its comment.
std::vector<std::string> wordsOf(const std::string& line) {
  std::istringstream in(line.substr(0, line.find('#')));
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

class LineParser {
 public:
  LineParser(ReplayScript& script, std::vector<ReplayEvent>& events) : script_(script), events_(events) {}

  // An empty string when the line is fine, else what is wrong with it.
  std::string parse(const std::vector<std::string>& w) {
    if (w.empty()) return "";
    const std::string& head = w[0];
    long long n = 0;
    if (head == "seed") {
      if (w.size() != 2 || !toInt(w[1], n) || n < 0 || n > 0xffffffffLL) return "seed needs a number";
      script_.seed = static_cast<uint32_t>(n);
      return "";
    }
    if (head == "ticks") {
      if (w.size() != 2 || !toInt(w[1], n) || n < 0 || n > 100000000L) return "ticks needs a count";
      script_.ticks = static_cast<int>(n);
      return "";
    }
    if (head == "tune") {
      if (w.size() != 3) return "tune needs a name and a value";
      script_.tuning.emplace_back(w[1], w[2]);
      return "";
    }
    if (!toInt(head, n) || n < 0 || n > 100000000L) return "a line starts with a tick or a setting";
    return parseEvent(static_cast<int>(n), w);
  }

 private:
  std::string parseEvent(int tick, const std::vector<std::string>& w) {
    const std::string verb = w.size() > 1 ? w[1] : "";
    const size_t args = w.size() - 2;
    std::vector<float> f;
    auto numbers = [&](size_t count) {
      if (args != count) return false;
      f.resize(count);
      for (size_t i = 0; i < count; ++i) {
        if (!toFloat(w[2 + i], f[i])) return false;
      }
      return true;
    };
    long long n = 0;
    if (verb == "move" || verb == "pixel") {
      if (!numbers(2)) return verb + " needs X Y";
      events_.push_back(
          makeEvent(tick, verb == "move" ? ReplayEvent::kMove : ReplayEvent::kPixel, f[0], f[1]));
    } else if (verb == "press" || verb == "release") {
      if (args != 0) return verb + " takes nothing";
      events_.push_back(makeEvent(tick, verb == "press" ? ReplayEvent::kPress : ReplayEvent::kRelease));
    } else if (verb == "wheel" || verb == "menu") {
      if (args != 1 || !toInt(w[2], n) || n < -1000 || n > 1000) return verb + " needs a number";
      ReplayEvent e = makeEvent(tick, verb == "wheel" ? ReplayEvent::kWheel : ReplayEvent::kMenu);
      e.value = static_cast<int>(n);
      events_.push_back(e);
    } else if (verb == "key") {
      if (args != 1) return "key needs a character";
      ReplayEvent e = makeEvent(tick, ReplayEvent::kKey);
      if (w[2].size() == 1) {
        e.value = static_cast<unsigned char>(w[2][0]);
      } else if (toInt(w[2], n) && n >= 0 && n < 256) {
        e.value = static_cast<int>(n);
      } else {
        return "key needs a character or its code";
      }
      events_.push_back(e);
    } else if (verb == "mods") {
      ReplayEvent e = makeEvent(tick, ReplayEvent::kModifiers);
      for (size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "shift") {
          e.value |= kShiftBit;
        } else if (w[i] == "ctrl") {
          e.value |= kCtrlBit;
        } else if (w[i] == "alt") {
          e.value |= kAltBit;
        } else if (w[i] != "none") {
          return "mods takes shift, ctrl, alt or none";
        }
      }
      events_.push_back(e);
    } else if (verb == "tune") {
      if (args != 2) return "tune needs a name and a value";
      ReplayEvent e = makeEvent(tick, ReplayEvent::kTune);
      e.name = w[2];
      e.text = w[3];
      events_.push_back(e);
    } else if (verb == "click") {
      if (!numbers(2)) return "click needs X Y";
      events_.push_back(makeEvent(tick, ReplayEvent::kMove, f[0], f[1]));
      events_.push_back(makeEvent(tick + 1, ReplayEvent::kPress));
      events_.push_back(makeEvent(tick + 1, ReplayEvent::kRelease));
    } else if (verb == "drag") {
      if (!numbers(5) || !toInt(w[6], n) || n < 1 || n > 100000) {
        return "drag needs X0 Y0 X1 Y1 STEPS";
      }
      const int steps = static_cast<int>(n);
      events_.push_back(makeEvent(tick, ReplayEvent::kMove, f[0], f[1]));
      events_.push_back(makeEvent(tick + 1, ReplayEvent::kPress));
      for (int i = 1; i <= steps; ++i) {
        const float k = static_cast<float>(i) / static_cast<float>(steps);
        events_.push_back(
            makeEvent(tick + 1 + i, ReplayEvent::kMove, f[0] + (f[2] - f[0]) * k, f[1] + (f[3] - f[1]) * k));
      }
      events_.push_back(makeEvent(tick + steps + 2, ReplayEvent::kRelease));
    } else {
      return "unknown input \"" + verb + "\"";
    }
    return "";
  }

  ReplayScript& script_;
  std::vector<ReplayEvent>& events_;
};

// A fresh directory that is the working directory while it lives.
class RunDirectory {
 public:
  RunDirectory() {
    previous_ = std::filesystem::current_path();
    // A name no other run holds: the first free one of a few random tries
    // (create_directory fails on one that exists), on every platform.
    std::random_device entropy;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      char name[40];
      std::snprintf(name, sizeof name, "verlomba-replay-%08x", static_cast<unsigned>(entropy()));
      const std::filesystem::path candidate = std::filesystem::temp_directory_path() / name;
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
    }
    if (path_.empty()) throw std::runtime_error("cannot make a directory for the replay");
    std::filesystem::current_path(path_);
  }
  ~RunDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  RunDirectory(const RunDirectory&) = delete;
  RunDirectory& operator=(const RunDirectory&) = delete;

  void appendTuning(const std::string& name, const std::string& value) const {
    std::ofstream(path_ / kTuningFileName, std::ios::app) << name << " = " << value << '\n';
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace

bool parseReplayScript(const std::string& text, ReplayScript& script, std::string* error) {
  ReplayScript parsed;
  std::vector<ReplayEvent> events;
  LineParser parser(parsed, events);
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string problem = parser.parse(wordsOf(line));
    if (!problem.empty()) {
      if (error) *error = "line " + std::to_string(number) + ": " + problem;
      return false;
    }
  }
  // Drag steps may run past later lines' ticks: a stable sort keeps the
  // order of inputs that share a tick.
  std::stable_sort(events.begin(), events.end(),
                   [](const ReplayEvent& a, const ReplayEvent& b) { return a.tick < b.tick; });
  parsed.events = std::move(events);
  script = std::move(parsed);
  return true;
}

bool loadReplayScript(const std::string& path, ReplayScript& script, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return parseReplayScript(text.str(), script, error);
}

std::string formatReplayScript(const ReplayScript& script) {
  std::ostringstream out;
  out << "seed " << script.seed << "\nticks " << script.ticks << '\n';
  for (const auto& t : script.tuning) out << "tune " << t.first << ' ' << t.second << '\n';
  for (const ReplayEvent& e : script.events) {
    out << e.tick << ' ';
    switch (e.kind) {
      case ReplayEvent::kMove:
      case ReplayEvent::kPixel:
        out << (e.kind == ReplayEvent::kMove ? "move " : "pixel ") << floatText(e.x) << ' ' << floatText(e.y);
        break;
      case ReplayEvent::kPress:
        out << "press";
        break;
      case ReplayEvent::kRelease:
        out << "release";
        break;
      case ReplayEvent::kWheel:
        out << "wheel " << e.value;
        break;
      case ReplayEvent::kKey:
        if (e.value > ' ' && e.value < 127 && e.value != '#') {
          out << "key " << static_cast<char>(e.value);
        } else {
          out << "key " << e.value;
        }
        break;
      case ReplayEvent::kMenu:
        out << "menu " << e.value;
        break;
      case ReplayEvent::kModifiers:
        out << "mods";
        if (e.value == 0) out << " none";
        if (e.value & kShiftBit) out << " shift";
        if (e.value & kCtrlBit) out << " ctrl";
        if (e.value & kAltBit) out << " alt";
        break;
      case ReplayEvent::kTune:
        out << "tune " << e.name << ' ' << e.text;
        break;
    }
    out << '\n';
  }
  return out.str();
}

void addEvent(ReplayScript& script, const ReplayEvent& event) {
  const auto at = std::upper_bound(script.events.begin(), script.events.end(), event.tick,
                                   [](int tick, const ReplayEvent& e) { return tick < e.tick; });
  script.events.insert(at, event);
}

struct ReplayRun::State {
  explicit State(const ReplayScript& s) : script(s), previousBackend(installedDrawBackend()) {}

  ReplayScript script;
  size_t next = 0;
  int tick = 0;
  ReplayStats stats;
  DrawBackend* previousBackend;
  NullDrawBackend nullBackend;
  std::unique_ptr<RunDirectory> directory;
  std::unique_ptr<ScriptedApplication> app;
  std::unique_ptr<Game> game;
};

ReplayRun::ReplayRun(const ReplayScript& script) : state_(std::make_unique<State>(script)) {
  State& s = *state_;
  s.directory = std::make_unique<RunDirectory>();
  for (const auto& t : s.script.tuning) s.directory->appendTuning(t.first, t.second);
  restoreBuiltInTuning();
  setDrawBackend(&s.nullBackend);
  resetPen();
  s.app = std::make_unique<ScriptedApplication>();
  // After the application, which seeds the generator from the process clock.
  seedRandom(s.script.seed);
  s.game = std::make_unique<Game>(s.app.get());
  s.app->run(s.game.get());
}

ReplayRun::ReplayRun(const ReplayScript& script, const ReplaySave& save)
    : state_(std::make_unique<State>(script)) {
  State& s = *state_;
  s.directory = std::make_unique<RunDirectory>();
  for (const auto& t : s.script.tuning) s.directory->appendTuning(t.first, t.second);
  // The tuning file as it was at the save, for a later reload.
  for (; s.next < s.script.events.size() && s.script.events[s.next].tick < save.tick; ++s.next) {
    const ReplayEvent& e = s.script.events[s.next];
    if (e.kind == ReplayEvent::kTune) s.directory->appendTuning(e.name, e.text);
  }
  restoreBuiltInTuning();
  setDrawBackend(&s.nullBackend);
  resetPen();
  s.app = std::make_unique<ScriptedApplication>();
  s.app->restore(save.input);
  seedRandom(s.script.seed);
  s.game = std::make_unique<Game>(s.app.get());
  std::string problem;
  if (!readCity(*s.game, save.city, problem))
    throw std::runtime_error("the saved city was refused: " + problem);
  // Loading set the frame rate, which restarts the frame schedule.
  s.app->restore(save.input);
  s.app->run(s.game.get());
  s.tick = save.tick;
  s.stats.ticks = save.tick;
}

ReplaySave ReplayRun::save() {
  ReplaySave saved;
  saved.tick = state_->tick;
  std::string problem;
  if (!writeCity(*state_->game, saved.city, problem))
    throw std::runtime_error("the city cannot be saved: " + problem);
  saved.input = state_->app->snapshot();
  return saved;
}

ReplayRun::~ReplayRun() {
  State& s = *state_;
  s.game.reset();
  s.app.reset();
  setDrawBackend(s.previousBackend);
  restoreBuiltInTuning();
  s.directory.reset();
}

void ReplayRun::step() {
  State& s = *state_;
  ScriptedApplication& app = *s.app;
  Game& game = *s.game;
  while (s.next < s.script.events.size() && s.script.events[s.next].tick <= s.tick) {
    const ReplayEvent& e = s.script.events[s.next++];
    switch (e.kind) {
      case ReplayEvent::kMove:
        app.setMouseWorld(e.x, e.y);
        break;
      case ReplayEvent::kPixel:
        app.setMousePixel(e.x, e.y);
        break;
      case ReplayEvent::kPress: {
        const float before = game.money;
        app.pressButton();
        if (game.money < before) s.stats.moneySpent += before - game.money;
        break;
      }
      case ReplayEvent::kRelease:
        app.releaseButton();
        break;
      case ReplayEvent::kWheel:
        app.scrollWheel(e.value);
        break;
      case ReplayEvent::kKey:
        app.pressKey(static_cast<unsigned char>(e.value));
        break;
      case ReplayEvent::kMenu:
        app.pickMenu(e.value);
        break;
      case ReplayEvent::kModifiers:
        app.setModifierBits(e.value);
        break;
      case ReplayEvent::kTune:
        s.directory->appendTuning(e.name, e.text);
        break;
    }
  }

  const float before = game.money;
  app.tick();
  s.tick += 1;
  if (game.money > before) s.stats.moneyEarned += game.money - before;

  ReplayStats& st = s.stats;
  st.ticks = s.tick;
  const float now = FrameClock::seconds();
  int objects = 0;
  int creeps = 0;
  for (WorldObject* o = game.worldHead; o; o = o->nextObject()) {
    ++objects;
    if (o->inactive) continue;
    if (auto* c = dynamic_cast<Creep*>(o)) {
      ++creeps;
      // Every creep is updated in the tick it appears in.
      if (c->lifetime == kCreepStartLifetime - 1) ++st.creepsSpawned;
    } else if (auto* b = dynamic_cast<Burst*>(o)) {
      if (b->size == Burst::kHitSize && b->startTime == now) ++st.shots;
    }
  }
  st.objects = objects;
  st.maxObjects = std::max(st.maxObjects, objects);
  st.maxCreeps = std::max(st.maxCreeps, creeps);
  st.maxAgents = std::max(st.maxAgents, game.agentCount);
}

void ReplayRun::runTo(int tick) {
  while (state_->tick < tick) step();
}

void ReplayRun::run() {
  runTo(state_->script.ticks);
}

bool ReplayRun::finished() const {
  return state_->tick >= state_->script.ticks;
}

int ReplayRun::tick() const {
  return state_->tick;
}

void ReplayRun::schedule(const ReplayEvent& event) {
  ReplayEvent e = event;
  if (e.tick < state_->tick) e.tick = state_->tick;  // the past cannot change
  addEvent(state_->script, e);
}

const ReplayScript& ReplayRun::script() const {
  return state_->script;
}

Game& ReplayRun::game() {
  return *state_->game;
}

ScriptedApplication& ReplayRun::app() {
  return *state_->app;
}

const ReplayStats& ReplayRun::stats() const {
  return state_->stats;
}

std::string ReplayRun::summary() {
  const ReplayStats& st = state_->stats;
  char buf[256];
  std::snprintf(buf, sizeof buf,
                " money=%.4f earned=%.4f spent=%.4f shots=%d creepsSpawned=%d maxCreeps=%d maxObjects=%d",
                static_cast<double>(state_->game->money), st.moneyEarned, st.moneySpent, st.shots,
                st.creepsSpawned, st.maxCreeps, st.maxObjects);
  return "ticks=" + std::to_string(st.ticks) + " " + describeCensus(takeCensus(*state_->game)) + buf;
}
