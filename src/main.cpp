#include <optional>

#include "app/CommandLine.h"
#include "app/RunGame.h"

int main(int argc, char** argv) {
  CommandLine line;
  if (const std::optional<int> status = handleCommandLine(argc, argv, &line)) return *status;
  return runGame(nullptr, line.scale, line.cityFile);
}
