#include <optional>

#include "app/CommandLine.h"
#include "app/RunGame.h"

int main(int argc, char** argv) {
  if (const std::optional<int> status = handleCommandLine(argc, argv)) return *status;
  return runGame();
}
