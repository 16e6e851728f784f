#pragma once

// The reading side of the city file's fields: text to checked values.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "world/Geometry.h"

class Anchor;
class WorldObject;

// Reads the values CityFields asks for from the words of one line, checking
// each: numbers must parse whole, be finite and lie within their bounds.
// The first fault stops the reading and is kept in problem(); later calls
// then do nothing, so a field list runs to its end without checks of its own.
class CityReader {
 public:
  static constexpr bool kWriting = false;
  // No place or time in play comes near this; a larger number could only
  // overflow the sums of a tick.
  static constexpr float kLargestReal = 1.0e7f;

  // At most 40 bytes of the file, fit to quote in a message: a byte that is
  // not printable ASCII shows as an escape (\x1b), and a cut as "...".
  static std::string excerpt(std::string_view text);

  void startLine(std::string_view line, int number);
  bool ok() const { return problem_.empty(); }
  const std::string& problem() const { return problem_; }
  // Records the fault (with the line number) unless one is recorded.
  void fail(const std::string& what);
  // True when every word of the line was read; a fault otherwise.
  bool finishLine();
  // Whether words of the line are still unread (for values a line may end without).
  bool more() const { return ok() && at_ < words_.size(); }

  // The next word, whatever it is; empty at the end of the line.
  std::string_view next();
  CityReader& word(const char* expected);
  CityReader& real(float& f);
  // A real play keeps within [lowest, highest].
  CityReader& real(float& f, float lowest, float highest);
  CityReader& count(int& n, int lowest, int highest);
  CityReader& wide(int64_t& n, int64_t lowest, int64_t highest);
  CityReader& bits(uint32_t& u);
  CityReader& serial(uint64_t& s, uint64_t highest);
  CityReader& flag(bool& b);
  CityReader& vec(Vec2& v) { return real(v.x).real(v.y); }
  CityReader& rect(Rect& r) { return real(r.minX).real(r.maxX).real(r.minY).real(r.maxY); }
  CityReader& color(Color3& c) { return real(c.r).real(c.g).real(c.b); }
  // Reads first or second and says which it was (false after a fault).
  bool form(bool, const char* first, const char* second);
  // An object read so far, by serial; 0 for none.
  CityReader& object(WorldObject*& o);
  // A door or post of an object read so far.
  CityReader& anchor(Anchor*& a);

  // The objects built so far, by serial.
  std::map<uint64_t, WorldObject*> objects;

 private:
  bool integer(long long& value, long long lowest, long long highest);

  std::vector<std::string_view> words_;
  size_t at_ = 0;
  int line_ = 0;
  std::string problem_;
};
