#include "app/MillisecondClock.h"

#include <chrono>

namespace {
const MillisecondSource* installed = nullptr;

uint32_t steadyMilliseconds() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<uint32_t>(ms);  // wraps like a 32-bit tick counter
}
}  // namespace

uint32_t millisecondsNow() {
  return installed ? installed->milliseconds() : steadyMilliseconds();
}

void setMillisecondSource(const MillisecondSource* source) {
  installed = source;
}

const MillisecondSource* millisecondSource() {
  return installed;
}
