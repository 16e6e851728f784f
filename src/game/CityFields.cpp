#include "game/CityFields.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "agents/Creep.h"
#include "agents/FreeAnchor.h"
#include "agents/Peep.h"
#include "agents/Road.h"
#include "buildings/Building.h"
#include "buildings/MilitaryBuilding.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "game/CityReader.h"
#include "game/CityWriter.h"
#include "game/Game.h"
#include "tuning/Tuning.h"
#include "world/Burst.h"
#include "world/CommandTool.h"
#include "world/DrawnPath.h"
#include "world/Fountain.h"
#include "world/GroundMarker.h"
#include "world/GuardTower.h"
#include "world/MoneyPiece.h"
#include "world/Random.h"
#include "world/RepelTool.h"
#include "world/Tree.h"
#include "world/Zone.h"

namespace {

constexpr int kLongestLifetime = 1000000;  // ticks
constexpr int kMostMode = 4;
constexpr int kMostZoomLevel = 8;
// Trees grow between these sizes: the palette's two and the field's 8 to 16.
constexpr float kSmallestTree = 8.0f;
constexpr float kLargestTree = 17.6f;
// The game makes markers of one size.
constexpr float kMarkerRadius = 32.0f;

// The row of the tuning table for the value at this address: what play
// reads from it stays within the row's bounds.
const BuiltInTuning& tuningRow(const void* address) {
  for (const BuiltInTuning& t : kBuiltInTuning) {
    if (t.address == address) return t;
  }
  std::abort();
}

int mostOf(const int& tuned) {
  return static_cast<int>(tuningRow(&tuned).highest);
}

template <class Io>
Io& realTuned(Io& io, float& f, const float& tuned) {
  const BuiltInTuning& t = tuningRow(&tuned);
  return io.real(f, t.lowest, t.highest);
}

// Whether the tree's blobs are still those its seed grows where it stands.
bool grownInPlace(Tree& t) {
  RandomGenerator random(t.shapeSeed);
  Vec2 blobs[Tree::kBlobs];
  float radii[Tree::kBlobs];
  Tree::growCanopy(random, t.centre, t.size, blobs, radii);
  for (int i = 0; i < Tree::kBlobs; ++i) {
    if (!(blobs[i].x == t.blobs[i].x && blobs[i].y == t.blobs[i].y && radii[i] == t.blobRadii[i]))
      return false;
  }
  return true;
}

bool sameRect(const Rect& a, const Rect& b) {
  return a.minX == b.minX && a.maxX == b.maxX && a.minY == b.minY && a.maxY == b.maxY;
}

bool sameVec(Vec2 a, Vec2 b) {
  return a.x == b.x && a.y == b.y;
}

// The rooms and doors the building's seed draws on its footprint now: the
// rooms are drawn from the process generator, which is put back after.
void drawShape(const Building& b, int requested, Rect rooms[kMaxRooms], int& roomCount, Door doors[kMaxDoors],
               int& doorCount) {
  RandomGenerator& random = processRandom();
  const uint32_t kept = random.state();
  random.seed(b.shapeSeed);
  roomCount = generateRooms(b.footprint, requested, rooms);
  doorCount = generateDoors(rooms, roomCount, doors);
  random.seed(kept);
}

bool builtInPlace(Building& b) {
  Rect rooms[kMaxRooms];
  Door doors[kMaxDoors];
  int roomCount = 0;
  int doorCount = 0;
  drawShape(b, b.roomCount, rooms, roomCount, doors, doorCount);
  if (roomCount != b.roomCount || doorCount != b.doorCount) return false;
  for (int i = 0; i < roomCount; ++i) {
    if (!sameRect(rooms[i], b.rooms[i])) return false;
  }
  for (int i = 0; i < doorCount; ++i) {
    const Door& d = doors[i];
    const Door& e = b.doors[i];
    if (!sameVec(d.end1, e.end1) || !sameVec(d.end2, e.end2) || !sameVec(d.normal, e.normal) ||
        !(d.span == e.span))
      return false;
  }
  return true;
}

// The end a road is made with before the reader sets its real ends.
FreeAnchor placeholder;

}  // namespace

const char* const CityFields::kNames[kKinds] = {
    "peep",     "creep",  "sleep", "work", "military", "capital", "building", "road", "tree",
    "fountain", "marker", "tower", "zone", "command",  "repel",   "money",    "path", "burst"};

CityFields::Kind CityFields::kindOf(WorldObject& o) {
  // Subclasses before their bases.
  if (dynamic_cast<Creep*>(&o)) return kCreep;
  if (dynamic_cast<Peep*>(&o)) return kPeep;
  if (dynamic_cast<SleepBuilding*>(&o)) return kSleep;
  if (dynamic_cast<WorkBuilding*>(&o)) return kWork;
  if (dynamic_cast<MilitaryBuilding*>(&o)) return kMilitary;
  if (dynamic_cast<CapitalBuilding*>(&o)) return kCapital;
  if (dynamic_cast<Building*>(&o)) return kBuilding;
  if (dynamic_cast<Road*>(&o)) return kRoad;
  if (dynamic_cast<Tree*>(&o)) return kTree;
  if (dynamic_cast<Fountain*>(&o)) return kFountain;
  if (dynamic_cast<GroundMarker*>(&o)) return kMarker;
  if (dynamic_cast<GuardTower*>(&o)) return kTower;
  if (dynamic_cast<Zone*>(&o)) return kZone;
  if (dynamic_cast<CommandTool*>(&o)) return kCommandTool;
  if (dynamic_cast<RepelTool*>(&o)) return kRepelTool;
  if (dynamic_cast<MoneyPiece*>(&o)) return kMoney;
  if (dynamic_cast<DrawnPath*>(&o)) return kPath;
  if (dynamic_cast<Burst*>(&o)) return kBurst;
  return kKinds;
}

WorldObject* CityFields::make(Kind kind, Game& g) {
  switch (kind) {
    case kPeep:
      return new Peep(g, 0.0f, 0.0f, Peep::kRested);
    case kCreep:
      return new Creep(g, 0.0f, 0.0f, 0);
    case kSleep:
      return new SleepBuilding(g, Rect{}, 0, 0);
    case kWork:
      return new WorkBuilding(g, Rect{}, 0, 0);
    case kMilitary:
      return new MilitaryBuilding(g, Rect{}, 0);
    case kCapital:
      return new CapitalBuilding(g, Rect{}, 0);
    case kBuilding:
      return new Building(g, Rect{}, 0);
    case kRoad:
      return new Road(g, placeholder, placeholder);
    case kTree:
      return new Tree(g, 0.0f, 0.0f, 0.0f);
    case kFountain:
      return new Fountain(g, 0.0f, 0.0f, 0.0f);
    case kMarker:
      return new GroundMarker(g, 0.0f, 0.0f, 0.0f);
    case kTower:
      return new GuardTower(g, 0.0f, 0.0f, 0.0f);
    case kZone:
      return new Zone(g, Rect{});
    case kCommandTool:
      return new CommandTool(g);
    case kRepelTool:
      return new RepelTool(g);
    case kMoney:
      return new MoneyPiece(g, 0.0f, 0.0f, 0.0f, 0);
    case kPath:
      return new DrawnPath(g);
    case kBurst:
      return new Burst(g, 0.0f, 0.0f, 0.0f);
    case kKinds:
      break;
  }
  return nullptr;
}

template <class Io>
void CityFields::game(Io& io, Game& g, int version) {
  // The bar comes down in steps of a hundredth, so it may end just below 0.
  io.real(g.money, 0.0f, 1.0f)
      .real(g.displayedMoney, -0.01f, 1.0f)
      .wide(g.frameCounter, 0, Game::kLatestFrame);
  io.count(g.mode, 0, kMostMode).count(g.zoomLevel, 0, kMostZoomLevel).real(g.daylight).vec(g.mouseVelocity);
  io.serial(g.nextSerial, kMostSerial);
  // Each count of made things is of objects, which the serials count.
  const uint64_t made = g.nextSerial > 0 ? g.nextSerial - 1 : 0;
  io.serial(g.agentSerial, made);
  if (version > 1) io.serial(g.buildingSerial, made);
}

template <class Io>
void CityFields::palette(Io& io, Game& g) {
  // Prices are tuning values, which stay on the bar.
  for (int i = 0; i < Game::kPaletteSlots; ++i) io.object(g.prototypes[i]).real(g.costs[i], 0.0f, 1.0f);
}

template <class Io>
void CityFields::shared(Io& io, WorldObject& o) {
  io.flag(o.inactive).flag(o.settling).flag(o.destroyRequested).real(o.pulsePhase);
  io.flag(o.mouseDown).vec(o.mousePos);
}

template <class Io>
void CityFields::peep(Io& io, Peep& p) {
  io.count(p.state, Peep::kRested, Peep::kTired).real(p.anger, 0.0f, 1.0f).vec(p.position);
  // A turn rate decays towards a share of the half turn, from anywhere in
  // [-1, 1]; no peep is faster than its top speed.
  io.real(p.heading, -kLongestAngle, kLongestAngle).real(p.turnRate, -1.0f, 1.0f);
  io.real(p.speed, 0.0f, Peep::kTopSpeed)
      .real(p.push.x, -Peep::kMostPush, Peep::kMostPush)
      .real(p.push.y, -Peep::kMostPush, Peep::kMostPush);
  io.flag(p.hasTarget).vec(p.target).flag(p.selected);
  io.color(p.bodyColor).real(p.legPhase_);
}

template <class Io>
void CityFields::building(Io& io, Building& b) {
  io.rect(b.footprint).real(b.entryTime).real(b.puffPhase_);
  DoorSwing& s = b.doorSwing;
  io.real(s.openFrom).real(s.openTo).real(s.moveStart).real(s.moveDuration);
  io.bits(b.shapeSeed);
  // A building that never moved is its seed, footprint and room count.
  if (io.form(Io::kWriting && builtInPlace(b), "drawn", "rooms")) {
    io.count(b.roomCount, 0, kMaxRooms);
    if constexpr (!Io::kWriting) drawShape(b, b.roomCount, b.rooms, b.roomCount, b.doors, b.doorCount);
    return;
  }
  io.count(b.roomCount, 0, kMaxRooms);
  for (int i = 0; i < b.roomCount; ++i) io.rect(b.rooms[i]);
  io.word("doors").count(b.doorCount, 0, kMaxDoors);
  for (int i = 0; i < b.doorCount; ++i) {
    Door& d = b.doors[i];
    io.vec(d.end1).vec(d.end2).vec(d.normal).real(d.span);
  }
}

template <class Io>
void CityFields::tree(Io& io, Tree& t) {
  io.vec(t.centre).real(t.size, kSmallestTree, kLargestTree).bits(t.shapeSeed);
  // A tree that never moved is its seed, centre and size.
  if (io.form(Io::kWriting && grownInPlace(t), "grown", "blobs")) {
    if constexpr (!Io::kWriting) {
      RandomGenerator random(t.shapeSeed);
      Tree::growCanopy(random, t.centre, t.size, t.blobs, t.blobRadii);
    }
    return;
  }
  for (int i = 0; i < Tree::kBlobs; ++i) io.vec(t.blobs[i]).real(t.blobRadii[i]);
}

template <class Io>
void CityFields::of(Io& io, Kind kind, WorldObject& o) {
  shared(io, o);
  switch (kind) {
    case kPeep:
      peep(io, static_cast<Peep&>(o));
      break;
    case kCreep: {
      auto& c = static_cast<Creep&>(o);
      peep(io, c);
      io.count(c.lifetime, 0, kLongestLifetime);
      break;
    }
    case kSleep: {
      auto& s = static_cast<SleepBuilding&>(o);
      building(io, s);
      io.count(s.capacity, 0, mostOf(kSleepBuildingCapacity)).count(s.occupants, 0, s.capacity);
      io.real(s.restProgress);
      break;
    }
    case kWork: {
      auto& w = static_cast<WorkBuilding&>(o);
      building(io, w);
      io.count(w.capacity, 0, std::min(WorkBuilding::kMaxWorkers, mostOf(kWorkBuildingCapacity)));
      io.count(w.occupants, 0, w.capacity);
      io.real(w.payoutProgress);
      for (float& timer : w.workTimers) io.real(timer);
      break;
    }
    case kMilitary: {
      auto& m = static_cast<MilitaryBuilding&>(o);
      building(io, m);
      io.flag(m.armed).count(m.soldiers, 0, MilitaryBuilding::kMaxSoldiers);
      io.real(m.turretAngle, -kLongestAngle, kLongestAngle);
      // A sighting is of a frame played already.
      io.flag(m.hasTarget).vec(m.target).wide(m.targetFrame, 0, m.game().frameCounter);
      break;
    }
    case kCapital:
    case kBuilding:
      building(io, static_cast<Building&>(o));
      break;
    case kRoad: {
      auto& r = static_cast<Road&>(o);
      io.anchor(r.anchorA).anchor(r.anchorB).rect(r.extent);
      break;
    }
    case kTree:
      tree(io, static_cast<Tree&>(o));
      break;
    case kFountain: {
      auto& d = static_cast<DiscObject&>(o);
      realTuned(io.vec(d.centre), d.radius, kFountainRadius);
      break;
    }
    case kMarker: {
      auto& d = static_cast<DiscObject&>(o);
      io.vec(d.centre).real(d.radius, kMarkerRadius, kMarkerRadius);
      break;
    }
    case kTower: {
      auto& t = static_cast<GuardTower&>(o);
      realTuned(io.vec(t.centre), t.radius, kGuardTowerRadius);
      for (TowerPost& p : t.posts) io.vec(p.postPosition).vec(p.postDirection);
      break;
    }
    case kZone: {
      auto& z = static_cast<Zone&>(o);
      io.rect(z.shownRect).rect(z.targetRect);
      break;
    }
    case kCommandTool: {
      auto& c = static_cast<CommandTool&>(o);
      io.count(c.sweepCount, 0, kMostCaught).flag(c.armed);
      break;
    }
    case kRepelTool:
      io.real(static_cast<RepelTool&>(o).strength);
      break;
    case kMoney: {
      auto& m = static_cast<MoneyPiece&>(o);
      // A piece is a share of one payout, and no payout is more than the bar.
      io.real(m.value, 0.0f, 1.0f).real(m.startTime).vec(m.position).vec(m.origin);
      break;
    }
    case kPath: {
      auto& p = static_cast<DrawnPath&>(o);
      int n = p.pointCount();
      io.count(n, 0, DrawnPath::kMaxPoints);
      for (int i = 0; i < n; ++i) {
        Vec2 v = Io::kWriting ? p.point(i) : Vec2{};
        io.vec(v);
        // Every spacing passes: the points were spaced when drawn.
        if constexpr (!Io::kWriting) p.addPoint(v.x, v.y, -1.0f);
      }
      break;
    }
    case kBurst: {
      auto& b = static_cast<Burst&>(o);
      io.vec(b.centre).real(b.startTime).real(b.duration).real(b.size);
      break;
    }
    case kKinds:
      break;
  }
}

template void CityFields::game<CityWriter>(CityWriter&, Game&, int);
template void CityFields::game<CityReader>(CityReader&, Game&, int);
template void CityFields::palette<CityWriter>(CityWriter&, Game&);
template void CityFields::palette<CityReader>(CityReader&, Game&);
template void CityFields::of<CityWriter>(CityWriter&, Kind, WorldObject&);
template void CityFields::of<CityReader>(CityReader&, Kind, WorldObject&);
