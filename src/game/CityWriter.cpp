#include "game/CityWriter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "world/WorldObject.h"

std::string shortestDecimal(float f) {
  // The fewest significant digits that read back, each count rounded
  // correctly by printf; then laid out both ways.
  char buf[32];
  int digits = 1;
  for (; digits < 9; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, static_cast<double>(f));
    if (std::strtof(buf, nullptr) == f) break;
  }
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, static_cast<double>(f));
  const std::string e = buf;
  const size_t mark = e.find('e');
  const bool negative = e[0] == '-';
  std::string d;  // the significant digits
  for (size_t i = negative ? 1 : 0; i < mark; ++i) {
    if (e[i] != '.') d += e[i];
  }
  const int exponent = std::atoi(e.c_str() + mark + 1);
  const std::string sign = negative ? "-" : "";
  while (d.size() > 1 && d.back() == '0') d.pop_back();  // only for zero
  const int n = static_cast<int>(d.size());

  std::string fixed;
  if (exponent >= n - 1) {
    // A whole number: printf's exact digits, as to_chars writes it.
    std::snprintf(buf, sizeof buf, "%.0f", std::fabs(static_cast<double>(f)));
    fixed = buf;
  } else if (exponent >= 0) {
    fixed =
        d.substr(0, static_cast<size_t>(exponent + 1)) + "." + d.substr(static_cast<size_t>(exponent + 1));
  } else {
    fixed = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + d;
  }
  std::snprintf(buf, sizeof buf, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  const std::string scientific = d.substr(0, 1) + (n > 1 ? "." + d.substr(1) : "") + buf;
  return sign + (scientific.size() < fixed.size() ? scientific : fixed);
}

CityWriter& CityWriter::word(const char* w) {
  text += w;
  text += ' ';
  return *this;
}

CityWriter& CityWriter::real(float& f) {
  text += shortestDecimal(f);
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
