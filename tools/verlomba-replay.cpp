// Runs a replay script headless and prints the world digest, so a run can be
// compared with an earlier one or with another build. See replay/Replay.h for
// the script format.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "replay/FrameImage.h"
#include "replay/RandomInput.h"
#include "replay/Replay.h"
#include "replay/WorldDigest.h"

namespace {

const char* kUsage =
    "usage: verlomba-replay [options] SCRIPT\n"
    "       verlomba-replay [options] --random SEED TICKS\n"
    "Runs the script (or a soak: a random player with its own seed) without a\n"
    "window and prints the digest of the world and a summary line.\n"
    "  --hash          print only the digest\n"
    "  --describe      print the whole world description instead\n"
    "  --golden NAME   print a golden file for tests/golden/NAME.digest\n"
    "  --ticks N       stop after N ticks instead of the script's length\n"
    "  --every N       also print the tick and digest every N ticks\n"
    "  --record FILE   write the script that was played (with a random player's\n"
    "                  inputs) to FILE, for replaying it exactly\n"
    "  --frame FILE    write the last frame, drawn by the software renderer at a\n"
    "                  scale of 1, to FILE (binary PPM)\n"
    "  --time-frames N after the run, N more frames drawn by the software\n"
    "                  renderer; prints the mean milliseconds of one\n";

bool number(const char* text, long& out) {
  char* end = nullptr;
  out = std::strtol(text, &end, 10);
  return *text && *end == '\0' && out >= 0;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "verlomba-replay: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  enum { kSummary, kHash, kDescribe, kGolden } output = kSummary;
  std::string golden;
  std::string scriptPath;
  std::string recordPath;
  std::string framePath;
  long timedFrames = 0;
  long ticks = -1;
  long every = 0;
  bool random = false;
  long randomSeed = 0;
  long randomTicks = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--hash") {
      output = kHash;
    } else if (a == "--describe") {
      output = kDescribe;
    } else if (a == "--golden" && hasValue) {
      output = kGolden;
      golden = argv[++i];
    } else if (a == "--ticks" && hasValue) {
      if (!number(argv[++i], ticks)) return fail("--ticks needs a count");
    } else if (a == "--every" && hasValue) {
      if (!number(argv[++i], every)) return fail("--every needs a count");
    } else if (a == "--time-frames" && hasValue) {
      if (!number(argv[++i], timedFrames)) return fail("--time-frames needs a count");
    } else if (a == "--frame" && hasValue) {
      framePath = argv[++i];
    } else if (a == "--record" && hasValue) {
      recordPath = argv[++i];
    } else if (a == "--random" && i + 2 < argc) {
      random = true;
      if (!number(argv[++i], randomSeed) || !number(argv[++i], randomTicks)) {
        return fail("--random needs a seed and a tick count");
      }
    } else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a[0] != '-' && scriptPath.empty()) {
      scriptPath = a;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (random == !scriptPath.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  ReplayScript script;
  if (random) {
    script = soakScript(static_cast<uint32_t>(randomSeed), static_cast<int>(randomTicks));
  } else {
    std::string error;
    if (!loadReplayScript(scriptPath, script, &error)) return fail(error);
  }
  if (ticks >= 0) script.ticks = static_cast<int>(ticks);

  // The run works in a directory of its own.
  if (!recordPath.empty()) recordPath = std::filesystem::absolute(recordPath).string();
  if (!framePath.empty()) framePath = std::filesystem::absolute(framePath).string();
  ReplayRun run(script);
  RandomInput player(script.seed);
  while (!run.finished()) {
    if (random) player.plan(run);
    run.step();
    if (every > 0 && run.tick() % every == 0) {
      std::printf("%d %s\n", run.tick(), hexDigest(worldDigest(run.game())).c_str());
    }
  }

  if (!recordPath.empty()) {
    std::ofstream out(recordPath);
    out << formatReplayScript(run.script());
    if (!out) return fail("cannot write " + recordPath);
  }

  if (!framePath.empty()) {
    std::ofstream out(framePath, std::ios::binary);
    out << softwareFramePpm(run.app());
    if (!out) return fail("cannot write " + framePath);
  }

  if (timedFrames > 0) {
    std::printf("frame %.3f ms\n", timeSoftwareFrames(run.app(), static_cast<int>(timedFrames)));
  }

  const std::string hash = hexDigest(worldDigest(run.game()));
  switch (output) {
    case kSummary:
      std::printf("%s %s\n", hash.c_str(), run.summary().c_str());
      break;
    case kHash:
      std::printf("%s\n", hash.c_str());
      break;
    case kDescribe:
      std::fputs(describeWorld(run.game()).c_str(), stdout);
      break;
    case kGolden:
      std::printf("# The world after tests/golden/%s.script, checked by ReplayTest.\n", golden.c_str());
      std::printf("# A deliberate change of behaviour: regenerate with `make golden`.\n");
      std::printf("hash %s\nsummary %s\n", hash.c_str(), run.summary().c_str());
      break;
  }
  return 0;
}
