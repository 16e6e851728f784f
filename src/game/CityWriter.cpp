#include "game/CityWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "world/WorldObject.h"

namespace {

using Wide = unsigned __int128;

constexpr uint64_t kPowersOfTen[] = {1,
                                     10,
                                     100,
                                     1000,
                                     10000,
                                     100000,
                                     1000000,
                                     10000000,
                                     100000000,
                                     1000000000,
                                     10000000000,
                                     100000000000,
                                     1000000000000,
                                     10000000000000,
                                     100000000000000,
                                     1000000000000000,
                                     10000000000000000,
                                     100000000000000000,
                                     1000000000000000000};

// Exact products of a value, a power of two and a power of ten, refused
// (ok cleared) where they could pass 127 bits.
class ExactScale {
 public:
  Wide times(Wide value, int twos, int tens) {
    if (twos < 0 || tens < 0 || tens > 18 || bitLength(value) + twos + (tens * 10 + 2) / 3 > 127) {
      ok = false;
      return 0;
    }
    return (value << twos) * kPowersOfTen[tens];
  }
  bool ok = true;

 private:
  static int bitLength(Wide v) {
    const auto high = static_cast<uint64_t>(v >> 64);
    const auto low = static_cast<uint64_t>(v);
    if (high) return 128 - __builtin_clzll(high);
    return low ? 64 - __builtin_clzll(low) : 0;
  }
};

// The significant digits and the decimal exponent of the value they stand
// for: digits * 10^(exponent - number of digits + 1).
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// Laid out both ways, the shorter kept (fixed on a tie); whole is the
// exact integer f is, used when the digits stand for a whole number.
std::string layOut(bool negative, std::string d, int exponent, const std::string& whole) {
  while (d.size() > 1 && d.back() == '0') d.pop_back();  // only for zero
  const int n = static_cast<int>(d.size());
  std::string out = negative ? "-" : "";
  // Scientific: d.ddde+XX; a float's exponent has two digits.
  const int magnitude = std::abs(exponent);
  const size_t scientific = static_cast<size_t>(n + (n > 1 ? 1 : 0) + 4);
  size_t fixed;
  if (exponent >= n - 1) {
    fixed = whole.size();
  } else if (exponent >= 0) {
    fixed = static_cast<size_t>(n + 1);
  } else {
    fixed = static_cast<size_t>(n + 1 - exponent);  // "0." and the zeros before
  }
  if (scientific < fixed) {
    out += d[0];
    if (n > 1) out.append(".").append(d, 1, std::string::npos);
    out += 'e';
    out += exponent < 0 ? '-' : '+';
    out += static_cast<char>('0' + magnitude / 10);
    out += static_cast<char>('0' + magnitude % 10);
  } else if (exponent >= n - 1) {
    out += whole;  // as to_chars writes it: every digit exact
  } else if (exponent >= 0) {
    out.append(d, 0, static_cast<size_t>(exponent + 1))
        .append(".")
        .append(d, static_cast<size_t>(exponent + 1));
  } else {
    out.append("0.").append(static_cast<size_t>(-exponent - 1), '0').append(d);
  }
  return out;
}

std::string printfWhole(float f) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.0f", std::fabs(static_cast<double>(f)));
  return buf;
}

// The integer a whole float within 2^64 is, exactly; printf's otherwise.
std::string wholeExactly(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  const int biased = static_cast<int>((bits >> 23) & 0xff);
  const uint64_t m = (bits & 0x7fffff) | 0x800000;
  const int e = biased - 150;
  if ((bits & 0x7fffffff) == 0) return "0";
  if (biased == 0 || e >= 40) return printfWhole(f);
  return std::to_string(e >= 0 ? m << e : m >> -e);
}

// The fewest significant digits that read back, each count rounded
// correctly by printf and read back by strtof: right for every float, but
// some microseconds each.
std::string shortestByPrintf(float f) {
  char buf[32];
  int digits = 1;
  for (; digits < 9; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, static_cast<double>(f));
    if (std::strtof(buf, nullptr) == f) break;
  }
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, static_cast<double>(f));
  const std::string e = buf;
  const size_t mark = e.find('e');
  std::string d;
  for (size_t i = e[0] == '-' ? 1 : 0; i < mark; ++i) {
    if (e[i] != '.') d += e[i];
  }
  return layOut(e[0] == '-', d, std::atoi(e.c_str() + mark + 1), printfWhole(f));
}

// The same digits in exact integer arithmetic, for the normal floats whose
// products fit 127 bits (all the city's usual values); nothing otherwise.
// Each count of digits is f rounded half to even, as printf rounds, and it
// reads back when it lies within half a step of f's neighbours, the ends
// included when f's mantissa is even, as strtof rounds ties.
bool shortestExactly(float f, Decimal& out) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  const int biased = static_cast<int>((bits >> 23) & 0xff);
  if ((bits & 0x7fffffff) == 0) {  // zero, the commonest
    out.digits = "0";
    out.exponent = 0;
    return true;
  }
  if (biased == 0 || biased == 0xff) return false;
  const uint32_t m = (bits & 0x7fffff) | 0x800000;
  const int e = biased - 150;  // f = m * 2^e
  ExactScale x;
  // f against 10^k: -1, 0 or 1.
  auto compareToPower = [&](int k) {
    const Wide a = x.times(m, std::max(e, 0), std::max(-k, 0));
    const Wide b = x.times(1, std::max(-e, 0), std::max(k, 0));
    return a < b ? -1 : a > b ? 1 : 0;
  };
  int exponent = ((e + 23) * 78913) >> 18;  // floor(log10(2^(e+23))), within one
  while (x.ok && compareToPower(exponent) < 0) --exponent;
  while (x.ok && compareToPower(exponent + 1) >= 0) ++exponent;
  if (!x.ok) return false;
  // The ends of the values that read back as f, in steps of 2^(e-2).
  const Wide mid = Wide{m} * 4;
  const Wide high = mid + 2;
  const Wide low = mid - ((m == 0x800000 && biased > 1) ? 1 : 2);
  const bool endsIncluded = (m & 1) == 0;
  // f to nine digits, exactly: the quotient and whether anything was left.
  const int ninth = exponent - 8;
  const Wide num = x.times(m, std::max(e, 0), std::max(-ninth, 0));
  const Wide den = x.times(1, std::max(-e, 0), std::max(ninth, 0));
  if (!x.ok) return false;
  const auto nine = static_cast<uint64_t>(num / den);
  const bool leftOver = num % den != 0;
  for (int digits = 1; digits <= 9; ++digits) {
    const uint64_t unit = kPowersOfTen[9 - digits];
    uint64_t d = nine / unit;
    const uint64_t r = nine % unit;
    const uint64_t half = unit / 2;  // unit is 1 at nine digits: no rounding
    if (unit > 1 && (r > half || (r == half && (leftOver || (d & 1))))) ++d;
    if (unit == 1 && leftOver) {
      // Nine digits round on what was left: at least half of den?
      const Wide twice = (num % den) * 2;
      if (twice > den || (twice == den && (d & 1))) ++d;
    }
    int step = exponent - digits + 1;  // the last digit's power of ten
    int top = exponent;
    if (d == kPowersOfTen[digits]) {  // rounded up to one more digit: 9.99 to 1.00e+01
      d /= 10;
      ++step;
      ++top;
    }
    // d * 10^step against the ends, in steps of 2^(e-2).
    const Wide value = x.times(d, std::max(2 - e, 0), std::max(step, 0));
    const Wide lowEnd = x.times(low, std::max(e - 2, 0), std::max(-step, 0));
    const Wide highEnd = x.times(high, std::max(e - 2, 0), std::max(-step, 0));
    if (!x.ok) return false;
    const bool readsBack =
        endsIncluded ? (lowEnd <= value && value <= highEnd) : (lowEnd < value && value < highEnd);
    if (readsBack || digits == 9) {
      out.digits = std::to_string(d);
      out.exponent = top;
      return true;
    }
  }
  return false;
}

}  // namespace

std::string shortestDecimal(float f) {
  Decimal d;
  if (!shortestExactly(f, d)) return shortestByPrintf(f);
  const int n = static_cast<int>(d.digits.size());
  // Whole: f is then the integer itself (below 2^24 it is exact; above,
  // every float is whole), and within the exact range at most 2^64.
  std::string whole;
  if (d.exponent >= n - 1) whole = wholeExactly(f);
  return layOut(std::signbit(f), d.digits, d.exponent, whole);
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
