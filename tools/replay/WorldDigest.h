#pragma once

#include <cstdint>
#include <string>

class Game;

// A text account of the whole world: the game's own state (money, mode,
// toggles, zoom, daylight, the generator's state and the clock) and then
// every object of the list, newest first, with its kind and all its fields.
// Floats are written exactly (as hexadecimal), and references between
// objects (roads to doors and posts, held, tool, zone) by list position, so
// any change of behaviour changes the text and two runs can be compared
// line by line.
std::string describeWorld(Game& game);
// FNV-1a of describeWorld, for compact comparisons.
uint64_t worldDigest(Game& game);
uint64_t digestOf(const std::string& text);
// Sixteen lower-case hex digits.
std::string hexDigest(uint64_t digest);

// How many objects of each kind the world holds; prototypes (inactive) are
// counted in objects only.
struct WorldCensus {
  int objects = 0;
  int peeps = 0;
  int creeps = 0;
  int sleepBuildings = 0;
  int workBuildings = 0;
  int capitalBuildings = 0;
  int militaryBuildings = 0;
  int armedMilitary = 0;
  int soldiers = 0;
  int trees = 0;
  int fountains = 0;
  int guardTowers = 0;
  int roads = 0;
  int walls = 0;
  int paths = 0;
  int pathPoints = 0;
  int moneyPieces = 0;
  int bursts = 0;

  int buildings() const { return sleepBuildings + workBuildings + capitalBuildings + militaryBuildings; }
};

WorldCensus takeCensus(Game& game);
// One line of "name=value" pairs.
std::string describeCensus(const WorldCensus& census);
