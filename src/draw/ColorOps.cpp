#include "world/Geometry.h"

Color3& add(const Color3& a, const Color3& b, Color3& result) {
  result = {a.r + b.r, a.g + b.g, a.b + b.b};
  return result;
}

Color3& subtract(const Color3& a, const Color3& b, Color3& result) {
  result = {a.r - b.r, a.g - b.g, a.b - b.b};
  return result;
}

Color3 scale(const Color3& a, float k) {
  return {a.r * k, a.g * k, a.b * k};
}

Color3 mix(const Color3& a, const Color3& b, float k) {
  Color3 difference;
  Color3 result;
  return add(a, scale(subtract(b, a, difference), k), result);
}
