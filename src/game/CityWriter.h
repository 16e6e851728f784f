#pragma once

// The writing side of the city file's fields: values to text, one line each.

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "world/Geometry.h"

class Anchor;
class WorldObject;

// The shortest decimal that reads back to f, fixed or with an exponent,
// whichever is shorter (fixed on a tie), as std::to_chars writes a float;
// some C++ libraries lack that overload. f is finite.
std::string shortestDecimal(float f);

// Writes the values CityFields hands it as words of the current line.
// Every value is taken by reference only so that the same field lists can
// drive the CityReader; nothing is changed.
class CityWriter {
 public:
  static constexpr bool kWriting = true;

  CityWriter& word(const char* w);
  // The shortest decimal that reads back to the same float.
  CityWriter& real(float& f);
  CityWriter& real(float& f, float, float) { return real(f); }
  CityWriter& count(int& n, int lowest, int highest);
  CityWriter& wide(int64_t& n, int64_t lowest, int64_t highest);
  CityWriter& bits(uint32_t& u);
  CityWriter& serial(uint64_t& s, uint64_t highest);
  CityWriter& flag(bool& b);
  CityWriter& vec(Vec2& v) { return real(v.x).real(v.y); }
  CityWriter& rect(Rect& r) { return real(r.minX).real(r.maxX).real(r.minY).real(r.maxY); }
  CityWriter& color(Color3& c) { return real(c.r).real(c.g).real(c.b); }
  // Writes first when chosen is true, else second; returns chosen.
  bool form(bool chosen, const char* first, const char* second);
  // The object's serial, 0 for none.
  CityWriter& object(WorldObject*& o);
  // The serial of the anchor's owner and the anchor's place in it.
  CityWriter& anchor(Anchor*& a);
  void endLine();

  // Where every door and post of the world belongs.
  std::map<const Anchor*, std::pair<uint64_t, int>> anchors;
  std::string problem;  // set when an anchor had no owner
  std::string text;
};
