#include "game/CityWriter.h"

#include <charconv>

#include "world/WorldObject.h"

CityWriter& CityWriter::word(const char* w) {
  text += w;
  text += ' ';
  return *this;
}

CityWriter& CityWriter::real(float& f) {
  char buf[32];
  const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, f);
  text.append(buf, r.ptr);
  text += ' ';
  return *this;
}

CityWriter& CityWriter::count(int& n, int, int) {
  text += std::to_string(n);
  text += ' ';
  return *this;
}

CityWriter& CityWriter::wide(int64_t& n, int64_t, int64_t) {
  text += std::to_string(n);
  text += ' ';
  return *this;
}

CityWriter& CityWriter::bits(uint32_t& u) {
  text += std::to_string(u);
  text += ' ';
  return *this;
}

CityWriter& CityWriter::serial(uint64_t& s, uint64_t) {
  text += std::to_string(s);
  text += ' ';
  return *this;
}

CityWriter& CityWriter::flag(bool& b) {
  return word(b ? "1" : "0");
}

bool CityWriter::form(bool chosen, const char* first, const char* second) {
  word(chosen ? first : second);
  return chosen;
}

CityWriter& CityWriter::object(WorldObject*& o) {
  uint64_t s = o ? o->serial() : 0;
  return serial(s, 0);
}

CityWriter& CityWriter::anchor(Anchor*& a) {
  const auto at = anchors.find(a);
  if (at == anchors.end()) {
    if (problem.empty()) problem = "a road lost one of its ends";
    return word("0 0");
  }
  uint64_t owner = at->second.first;
  int index = at->second.second;
  return serial(owner, 0).count(index, 0, 0);
}

void CityWriter::endLine() {
  if (!text.empty() && text.back() == ' ') text.pop_back();
  text += '\n';
}
