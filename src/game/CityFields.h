#pragma once

// What the city file holds of each kind of world object.

#include <cstdint>

#include "world/WorldObject.h"

class Game;

// One field list per kind of object, and one for the game's own values and
// the palette, shared by the writer and the reader
// (CityWriter, CityReader), so the two cannot disagree on a field. A line of
// the file is the kind's name, the serial, the fields every object has and
// then the kind's own.
struct CityFields {
  enum Kind {
    kPeep,
    kCreep,
    kSleep,
    kWork,
    kMilitary,
    kCapital,
    kBuilding,
    kRoad,
    kTree,
    kFountain,
    kMarker,
    kTower,
    kZone,
    kCommandTool,
    kRepelTool,
    kMoney,
    kPath,
    kBurst,
    kKinds
  };

  static const char* const kNames[kKinds];

  // The kind of the object, or kKinds for one the file cannot hold.
  static Kind kindOf(WorldObject& object);
  // A blank object of the kind, for the reader to fill.
  static WorldObject* make(Kind kind, Game& game);
  // Counts of caught peeps stay below this, far from overflowing.
  static constexpr int kMostCaught = 1000000000;
  // Serials stay below this, exact in a double.
  static constexpr uint64_t kMostSerial = uint64_t{1} << 52;

  // The game's own values and counts, after the word "game"; version is
  // the file's (the buildings' count came with version 2).
  template <class Io>
  static void game(Io& io, Game& g, int version);
  // The palette's items and prices, after the word "palette".
  template <class Io>
  static void palette(Io& io, Game& g);

  // Reads or writes the fields every object has and the kind's own; the
  // serial is the caller's.
  template <class Io>
  static void of(Io& io, Kind kind, WorldObject& object);

 private:
  template <class Io>
  static void shared(Io& io, WorldObject& o);
  template <class Io>
  static void peep(Io& io, class Peep& p);
  template <class Io>
  static void building(Io& io, class Building& b);
  template <class Io>
  static void tree(Io& io, class Tree& t);
};
