#include "game/Autosave.h"

#include <algorithm>
#include <utility>

#include "game/CityFile.h"
#include "tuning/Tuning.h"

const char* kAutosaveFileName = "Verlomba-autosave.txt";

namespace {
// A longer gap between two frames (the machine asleep, a stalled display)
// counts as this much play.
constexpr float kLongestFrameSeconds = 1.0f;
}  // namespace

std::string Autosave::outcome(const SaveResult& result) {
  if (result.saved) {
    failing_ = false;
    saved_ = true;
    return {};
  }
  if (failing_) return {};
  failing_ = true;
  return std::string("Could not autosave ") + kAutosaveFileName + ": " + result.problem;
}

std::string Autosave::onFrame(Game& game, float now, bool paused) {
  std::string said;
  if (auto done = write_.take()) said = outcome(*done);
  if (lastFrame_ >= 0.0f && !paused) playSeconds_ += std::clamp(now - lastFrame_, 0.0f, kLongestFrameSeconds);
  lastFrame_ = now;
  const float interval = kAutosaveMinutes * 60.0f;
  if (!(interval > 0.0f) || playSeconds_ < interval || write_.busy()) return said;
  playSeconds_ = 0.0f;
  std::string text;
  std::string problem;
  if (!writeCity(game, text, problem)) {
    const std::string failed = outcome(SaveResult{false, problem});
    return failed.empty() ? said : failed;
  }
  write_.start(kAutosaveFileName, std::move(text));
  return said;
}

std::string Autosave::onClose(Game& game) {
  std::string said = finish();
  if (!(kAutosaveMinutes > 0.0f)) return said;
  const std::string failed = outcome(saveCityFile(game, kAutosaveFileName));
  return failed.empty() ? said : failed;
}

std::string Autosave::finish() {
  auto done = write_.wait();
  return done ? outcome(*done) : std::string();
}
