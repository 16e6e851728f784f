#include "game/CityReader.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "buildings/Building.h"
#include "world/GuardTower.h"
#include "world/WorldObject.h"

namespace {

// A decimal number the whole word, read as std::from_chars reads a float
// (no sign "+", no leading space, no hexadecimal), which not every C++
// library offers for floats: through strtof, correctly rounded in every
// C library the game is built with.
bool parseReal(std::string_view w, float& value) {
  if (w.empty() || w[0] == '+' || std::isspace(static_cast<unsigned char>(w[0]))) return false;
  const std::string_view digits = w[0] == '-' ? w.substr(1) : w;
  if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return false;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) return false;
  const std::string text(w);
  char* end = nullptr;
  errno = 0;
  value = std::strtof(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return false;
  // Out of range: too large, or so small it reads as 0; a subnormal stays.
  return errno != ERANGE || (std::isfinite(value) && value != 0.0f);
}

}  // namespace

std::string CityReader::excerpt(std::string_view text) {
  constexpr size_t kLongest = 40;
  std::string out;
  for (size_t i = 0; i < text.size() && i < kLongest; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      static const char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  if (text.size() > kLongest) out += "...";
  return out;
}

void CityReader::startLine(std::string_view line, int number) {
  words_.clear();
  at_ = 0;
  line_ = number;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) words_.push_back(line.substr(start, i - start));
  }
}

void CityReader::fail(const std::string& what) {
  if (problem_.empty()) problem_ = "line " + std::to_string(line_) + ": " + what;
}

bool CityReader::finishLine() {
  if (ok() && at_ < words_.size()) fail("more values than its kind has");
  return ok();
}

std::string_view CityReader::next() {
  if (!ok() || at_ >= words_.size()) return {};
  return words_[at_++];
}

CityReader& CityReader::word(const char* expected) {
  if (!ok()) return *this;
  if (at_ >= words_.size()) {
    fail(std::string("cut short before \"") + expected + "\"");
  } else if (next() != expected) {
    fail(std::string("\"") + expected + "\" expected");
  }
  return *this;
}

bool CityReader::integer(long long& value, long long lowest, long long highest) {
  if (!ok()) return false;
  if (at_ >= words_.size()) {
    fail("cut short");
    return false;
  }
  const std::string_view w = next();
  const std::from_chars_result r = std::from_chars(w.data(), w.data() + w.size(), value);
  if (r.ec != std::errc() || r.ptr != w.data() + w.size()) {
    fail("\"" + excerpt(w) + "\" is not a whole number");
    return false;
  }
  if (value < lowest || value > highest) {
    fail(excerpt(w) + " is out of range");
    return false;
  }
  return true;
}

CityReader& CityReader::real(float& f) {
  if (!ok()) return *this;
  if (at_ >= words_.size()) {
    fail("cut short");
    return *this;
  }
  const std::string_view w = next();
  float value = 0.0f;
  if (!parseReal(w, value)) {
    fail("\"" + excerpt(w) + "\" is not a number");
  } else if (!std::isfinite(value) || std::fabs(value) > kLargestReal) {
    fail(excerpt(w) + " is out of range");
  } else {
    f = value;
  }
  return *this;
}

CityReader& CityReader::real(float& f, float lowest, float highest) {
  if (!ok()) return *this;
  const size_t at = at_;
  float value = f;
  real(value);
  if (ok() && !(value >= lowest && value <= highest)) {
    fail(excerpt(words_[at]) + " is out of range");
  } else if (ok()) {
    f = value;
  }
  return *this;
}

CityReader& CityReader::count(int& n, int lowest, int highest) {
  long long value = 0;
  if (integer(value, lowest, highest)) n = static_cast<int>(value);
  return *this;
}

CityReader& CityReader::wide(int64_t& n, int64_t lowest, int64_t highest) {
  long long value = 0;
  if (integer(value, lowest, highest)) n = value;
  return *this;
}

CityReader& CityReader::bits(uint32_t& u) {
  long long value = 0;
  if (integer(value, 0, UINT32_MAX)) u = static_cast<uint32_t>(value);
  return *this;
}

CityReader& CityReader::serial(uint64_t& s, uint64_t highest) {
  long long value = 0;
  if (integer(value, 0, static_cast<long long>(highest))) s = static_cast<uint64_t>(value);
  return *this;
}

CityReader& CityReader::flag(bool& b) {
  int n = 0;
  count(n, 0, 1);
  b = n != 0;
  return *this;
}

bool CityReader::form(bool, const char* first, const char* second) {
  const std::string_view w = next();
  if (w == first) return true;
  if (w != second) fail(std::string("\"") + first + "\" or \"" + second + "\" expected");
  return false;
}

CityReader& CityReader::object(WorldObject*& o) {
  long long s = 0;
  if (!integer(s, 0, LLONG_MAX)) return *this;
  o = nullptr;
  if (s == 0) return *this;
  const auto found = objects.find(static_cast<uint64_t>(s));
  if (found == objects.end()) {
    fail("no object has serial " + std::to_string(s));
  } else {
    o = found->second;
  }
  return *this;
}

CityReader& CityReader::anchor(Anchor*& a) {
  WorldObject* owner = nullptr;
  object(owner);
  int index = 0;
  count(index, 0, GuardTower::kPosts - 1);
  if (!ok()) return *this;
  if (auto* b = dynamic_cast<Building*>(owner); b && index < b->doorCount) {
    a = &b->doors[index];
  } else if (auto* t = dynamic_cast<GuardTower*>(owner)) {
    a = &t->posts[index];
  } else {
    fail("a road end names no door or post of an older object");
  }
  return *this;
}
