#include "draw/Colors.h"

namespace {

// The same difference-scale-sum as mix(), but usable in a constant
// initialiser: static initialisers in other files may read these shades, so
// they must not depend on this file's dynamic initialisation having run.
constexpr Color3 mixAtCompileTime(const Color3& a, const Color3& b, float k) {
  const Color3 difference{b.r - a.r, b.g - a.g, b.b - a.b};
  const Color3 scaled{difference.r * k, difference.g * k, difference.b * k};
  return {a.r + scaled.r, a.g + scaled.g, a.b + scaled.b};
}

}  // namespace

extern const Color3 kLightBlue = mixAtCompileTime(kBlue, kWhite, 0.5f);
extern const Color3 kLightRed = mixAtCompileTime(kRed, kWhite, 0.5f);
