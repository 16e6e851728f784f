#include "game/CityFile.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "app/FrameClock.h"
#include "buildings/Building.h"
#include "files/ReadSmallFile.h"
#include "game/CityFields.h"
#include "game/CityReader.h"
#include "game/CityWriter.h"
#include "game/Game.h"
#include "tuning/Tuning.h"
#include "world/GuardTower.h"
#include "world/Random.h"
#include "world/Zone.h"

const char* kCityFileName = "Verlomba-city.txt";

namespace {

constexpr const char* kFormat = "verlomba-city";
// Version 1 lacked the buildings' counter; its files still load.
constexpr int kVersion = 2;
constexpr int kOldestVersion = 1;
constexpr uint64_t kMostSerial = CityFields::kMostSerial;

// What a city holds beyond the game's own fields: kept aside while a file
// is read, put in force only when all of it was sound.
struct Surroundings {
  int64_t clock = 0;
  uint32_t random = 0;
  float zoom = 1.0f;
  bool centred = true;  // older cities kept no view centre: theirs was the middle
  Vec2 centre;
  bool paused = false;  // a city saved paused comes back paused
  float tuning[kBuiltInTuningCount] = {};
};

// The tuning value of row i as a float; ints are whole.
float tuningValue(int i) {
  const BuiltInTuning& t = kBuiltInTuning[i];
  return t.type == TuneInt ? static_cast<float>(*static_cast<int*>(t.address))
                           : *static_cast<float*>(t.address);
}

void setTuningValue(int i, float value) {
  const BuiltInTuning& t = kBuiltInTuning[i];
  if (t.type == TuneInt) {
    *static_cast<int*>(t.address) = static_cast<int>(value);
  } else {
    *static_cast<float*>(t.address) = value;
  }
}

// No sound city has more lines than this.
constexpr size_t kMostLines = kMostCityObjects + 64;

// The lines of the text, up to one more than kMostLines.
std::vector<std::string_view> splitLines(const std::string& text) {
  std::vector<std::string_view> lines;
  const std::string_view all(text);
  size_t start = 0;
  while (start < all.size() && lines.size() <= kMostLines) {
    size_t end = all.find('\n', start);
    if (end == std::string_view::npos) end = all.size();
    std::string_view line = all.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Reads the text into scratch and s; the objects are built oldest first
// (from the last object line up), so a road finds the doors and posts it
// joins already built.
class CityParse {
 public:
  CityParse(const std::string& text, Game& scratch) : lines_(splitLines(text)), scratch_(scratch) {}

  bool run(Surroundings& s) {
    if (lines_.size() > kMostLines) {
      in_.startLine({}, static_cast<int>(kMostLines) + 1);
      in_.fail("more lines than any city has");
      return false;
    }
    if (!header()) return false;
    values(s);
    int objects = 0;
    if (line().word("objects").count(objects, 0, kMostCityObjects).finishLine() &&
        lines_.size() < at_ + static_cast<size_t>(objects) + 3) {
      in_.fail("cut short: fewer lines than its objects need");
    }
    if (!in_.ok()) return false;
    const size_t first = at_;
    uint64_t newest = 0;
    // Making the objects counts them off again; the file's counts stand.
    nextSerial_ = scratch_.nextSerial;
    const uint64_t agentSerial = scratch_.agentSerial;
    const uint64_t buildingSerial = scratch_.buildingSerial;
    scratch_.buildingSerial = 0;
    for (size_t i = first + objects; i-- > first;) {
      if (!object(i, newest)) return false;
    }
    scratch_.nextSerial = nextSerial_;
    scratch_.agentSerial = agentSerial;
    const int heads = scratch_.headCount();
    if (heads > Game::kMaxAgents) {
      in_.fail(std::to_string(heads) + " peeps; a city holds " + std::to_string(Game::kMaxAgents) +
               " at most");
      return false;
    }
    // An older file goes on counting from its buildings.
    if (version_ > 1) scratch_.buildingSerial = buildingSerial;
    at_ = first + objects;
    hand();
    line().word("end").finishLine();
    if (in_.ok() && at_ < lines_.size()) in_.fail("text after the end");
    return in_.ok();
  }

  const std::string& problem() const { return in_.problem(); }

 private:
  CityReader& line() {
    if (at_ < lines_.size()) {
      in_.startLine(lines_[at_], static_cast<int>(at_) + 1);
    } else {
      in_.startLine({}, static_cast<int>(at_) + 1);
    }
    ++at_;
    return in_;
  }

  bool header() {
    CityReader& r = line();
    if (r.next() != kFormat) {
      r.fail("not a Verlomba city file");
      return false;
    }
    r.count(version_, 0, INT32_MAX);
    if (r.ok() && (version_ < kOldestVersion || version_ > kVersion)) {
      r.fail("version " + std::to_string(version_) + " of the format; this game reads versions " +
             std::to_string(kOldestVersion) + " to " + std::to_string(kVersion));
    }
    return r.finishLine();
  }

  void values(Surroundings& s) {
    Game& g = scratch_;
    line().word("clock").wide(s.clock, 0, FrameClock::kLatestMilliseconds).finishLine();
    line().word("random").bits(s.random).finishLine();
    CityFields::game(line().word("game"), g, version_);
    in_.finishLine();
    line().word("view").real(s.zoom);
    if (in_.more()) {
      s.centred = false;
      in_.vec(s.centre);
    }
    in_.finishLine();
    if (in_.ok() && !(s.zoom > 0.0f)) in_.fail("the zoom must be above 0");
    line()
        .word("toggles")
        .flag(g.slow)
        .flag(g.debugView)
        .flag(g.drawRoads)
        .flag(g.repelToolActive)
        .flag(s.paused);
    if (in_.more()) in_.flag(g.fast);  // older cities ran at the two speeds only
    in_.finishLine();
    for (int i = 0; i < kBuiltInTuningCount; ++i) {
      const BuiltInTuning& t = kBuiltInTuning[i];
      if (t.preference) continue;
      float& v = s.tuning[i];
      line().word("tune").word(t.name).real(v).finishLine();
      if (in_.ok() && (!(v >= t.lowest && v <= t.highest) || (t.type == TuneInt && v != static_cast<int>(v))))
        in_.fail(std::string(t.name) + " out of its bounds");
    }
  }

  bool object(size_t index, uint64_t& newest) {
    at_ = index;
    CityReader& r = line();
    const std::string_view name = r.next();
    int kind = 0;
    while (kind < CityFields::kKinds && name != CityFields::kNames[kind]) ++kind;
    if (kind == CityFields::kKinds) {
      r.fail(name.empty() ? "an empty line where an object belongs"
                          : "unknown kind \"" + CityReader::excerpt(name) + "\"");
      return false;
    }
    uint64_t serial = 0;
    r.serial(serial, kMostSerial);
    if (!r.ok()) return false;
    if (serial == 0 || r.objects.count(serial)) {
      r.fail("serial " + std::to_string(serial) + (serial ? " appears twice" : " is not a serial"));
    } else if (serial < newest || serial >= nextSerial_) {
      r.fail("serial " + std::to_string(serial) + " out of the list's order");
    }
    if (!r.ok()) return false;
    newest = serial;
    // The object takes its serial as it is made, so the reach index holds
    // the objects in order whatever happens next.
    scratch_.nextSerial = serial;
    WorldObject* o = CityFields::make(static_cast<CityFields::Kind>(kind), scratch_);
    r.objects[serial] = o;
    CityFields::of(r, static_cast<CityFields::Kind>(kind), *o);
    // Roads keep pointers to the doors and posts of these.
    if (r.ok() && o->destroyRequested && (dynamic_cast<Building*>(o) || dynamic_cast<GuardTower*>(o)))
      r.fail("a building or tower marked for removal");
    return r.finishLine();
  }

  void hand() {
    Game& g = scratch_;
    WorldObject* zone = nullptr;
    line().word("hand").object(g.held).object(g.tool).object(zone).finishLine();
    g.zone = dynamic_cast<Zone*>(zone);
    // What the game could otherwise delete under a pointer it keeps: the
    // tool goes when Shift swaps it, and only an inactive palette item is
    // never removed from play.
    const bool isTool = g.tool && !g.tool->inactive &&
                        (CityFields::kindOf(*g.tool) == CityFields::kCommandTool ||
                         CityFields::kindOf(*g.tool) == CityFields::kRepelTool);
    if (in_.ok() && zone && !g.zone) in_.fail("the play area is not a zone");
    if (in_.ok() && g.tool && !isTool) in_.fail("the cursor tool is not a tool in play");
    if (in_.ok() && g.held && g.held == g.tool) in_.fail("the hand holds the cursor tool");
    if (in_.ok() && g.mode == 1 && !g.held) in_.fail("the hand carries nothing");
    CityReader& r = line().word("palette");
    CityFields::palette(r, g);
    for (WorldObject* p : g.prototypes) {
      if (r.ok() && p && !p->inactive) r.fail("a palette item is in play");
    }
    r.finishLine();
  }

  std::vector<std::string_view> lines_;
  size_t at_ = 0;
  uint64_t nextSerial_ = 0;  // the file's, kept while objects take theirs
  int version_ = 0;
  Game& scratch_;
  CityReader in_;
};

}  // namespace

bool writeCity(Game& g, std::string& text, std::string& problem) {
  CityWriter out;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (auto* b = dynamic_cast<Building*>(o)) {
      for (int d = 0; d < b->doorCount; ++d) out.anchors[&b->doors[d]] = {b->serial(), d};
    } else if (auto* t = dynamic_cast<GuardTower*>(o)) {
      for (int p = 0; p < GuardTower::kPosts; ++p) out.anchors[&t->posts[p]] = {t->serial(), p};
    }
  }
  out.word(kFormat).word(std::to_string(kVersion).c_str()).endLine();
  int64_t clock = FrameClock::milliseconds();
  out.word("clock").wide(clock, 0, 0).endLine();
  uint32_t random = processRandom().state();
  out.word("random").bits(random).endLine();
  CityFields::game(out.word("game"), g, kVersion);
  out.endLine();
  Application* app = g.application();
  float zoom = app ? app->zoom() : 1.0f;
  Vec2 centre = app ? app->viewCentre() : Vec2{};
  out.word("view").real(zoom).vec(centre).endLine();
  bool paused = g.paused;
  out.word("toggles").flag(g.slow).flag(g.debugView).flag(g.drawRoads).flag(g.repelToolActive).flag(paused);
  out.flag(g.fast);
  out.endLine();
  for (int i = 0; i < kBuiltInTuningCount; ++i) {
    if (kBuiltInTuning[i].preference) continue;
    float v = tuningValue(i);
    out.word("tune").word(kBuiltInTuning[i].name).real(v).endLine();
  }

  int count = 0;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) ++count;
  out.word("objects").count(count, 0, 0).endLine();
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    const CityFields::Kind kind = CityFields::kindOf(*o);
    if (kind == CityFields::kKinds) {
      problem = "the world holds an object the city file cannot keep";
      return false;
    }
    uint64_t serial = o->serial();
    out.word(CityFields::kNames[kind]).serial(serial, 0);
    CityFields::of(out, kind, *o);
    out.endLine();
  }
  WorldObject* zone = g.zone;
  out.word("hand").object(g.held).object(g.tool).object(zone).endLine();
  CityFields::palette(out.word("palette"), g);
  out.endLine();
  out.word("end").endLine();
  if (!out.problem.empty()) {
    problem = out.problem;
    return false;
  }
  text = std::move(out.text);
  return true;
}

namespace {

// Reads the text into scratch and s, or says why not; the generator, which
// the objects draw from as they are made, is put back.
bool parseCity(const std::string& text, Game& scratch, Surroundings& s, std::string& problem) {
  if (text.size() > kCityFileLimit) {
    problem = "larger than 4 MiB";
    return false;
  }
  RandomGenerator& random = processRandom();
  const uint32_t kept = random.state();
  CityParse parse(text, scratch);
  const bool sound = parse.run(s);
  random.seed(kept);
  if (!sound) problem = parse.problem();
  return sound;
}

// One wording for every reason a city file is not taken.
bool refuse(const std::string& path, const std::string& problem) {
  std::fprintf(stderr, "verlomba: cannot load %s: %s\n", path.c_str(), problem.c_str());
  return false;
}

// The file's text, or false with the reason printed.
bool readCityText(const std::string& path, std::string& text, std::string& problem) {
  SmallFile file = readSmallFile(path.c_str(), kCityFileLimit, true);
  if (file.read) {
    text = std::move(file.text);
    return true;
  }
  problem = file.problem.empty() ? "no such file" : file.problem;
  return refuse(path, problem);
}

}  // namespace

bool readCity(Game& game, const std::string& text, std::string& problem) {
  Game scratch(game.application(), Game::Empty{});
  Surroundings s;
  if (!parseCity(text, scratch, s, problem)) return false;
  RandomGenerator& random = processRandom();
  for (int i = 0; i < kBuiltInTuningCount; ++i) {
    if (!kBuiltInTuning[i].preference) setTuningValue(i, s.tuning[i]);
  }
  random.seed(s.random);
  FrameClock::setMilliseconds(s.clock);
  game.adoptWorld(scratch);
  game.setPaused(s.paused);
  if (Application* app = game.application()) {
    app->setZoom(s.zoom);
    const Rect field = app->viewRect();
    if (s.centred) s.centre = {(field.minX + field.maxX) * 0.5f, (field.minY + field.maxY) * 0.5f};
    app->setViewCentre(s.centre.x, s.centre.y);
    app->keepViewOnField();
  }
  return true;
}

SaveResult saveCityFile(Game& game, const std::string& path) {
  std::string text;
  std::string problem;
  if (!writeCity(game, text, problem)) {
    std::fprintf(stderr, "verlomba: could not save %s: %s\n", path.c_str(), problem.c_str());
    return SaveResult{false, problem};
  }
  return saveFileAtomically(path, text);
}

bool loadCityFile(Game& game, const std::string& path, std::string& problem) {
  std::string text;
  if (!readCityText(path, text, problem)) return false;
  if (readCity(game, text, problem)) return true;
  return refuse(path, problem);
}

bool checkCityFile(const std::string& path) {
  std::string text;
  std::string problem;
  if (!readCityText(path, text, problem)) return false;
  Game scratch(nullptr, Game::Empty{});
  Surroundings s;
  if (parseCity(text, scratch, s, problem)) return true;
  return refuse(path, problem);
}
