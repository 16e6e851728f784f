// length() rounds sqrt in double and leaves only the near-ties to hypot; it
// must give hypot's float bit for bit, for any two floats (nan and infinity
// included). The first eight bytes are the two floats; longer inputs give
// more pairs.

#include <cmath>
#include <cstring>

#include "FuzzFile.h"
#include "world/Geometry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (size_t at = 0; at + 8 <= size; at += 8) {
    float dx = 0.0f;
    float dy = 0.0f;
    std::memcpy(&dx, data + at, 4);
    std::memcpy(&dy, data + at + 4, 4);
    for (const Vec2 v : {Vec2{dx, dy}, Vec2{dy, dx}, Vec2{-dx, dy}}) {
      const float want = static_cast<float>(std::hypot(static_cast<double>(v.x), static_cast<double>(v.y)));
      const float got = length(v);
      FUZZ_CHECK(std::memcmp(&got, &want, sizeof got) == 0);
    }
  }
  return 0;
}
