#pragma once

#include <optional>
#include <string>

// What the command line asks for. Without arguments the game starts in the
// working directory, as it always has; the options follow the usual
// conventions, and the game takes no other arguments.
struct CommandLine {
  enum class Action { kPlay, kHelp, kVersion, kBadUsage };

  Action action = Action::kPlay;
  // Play in the per-user directory instead of the working directory.
  bool userDirectory = false;
  // --scale: how large to draw, over the desktop's own choice.
  std::optional<double> scale;
  // --city: the saved city to start from; empty for a new city.
  std::string cityFile;
  // For kBadUsage: what is wrong, for the error line.
  std::string problem;
};

// Reads the arguments left to right; --help, --version and the first bad
// argument end the reading, as with getopt.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The --help text: usage, options, the files in the working directory and
// the environment variables the game honours.
std::string usageText();
// The --version line.
std::string versionText();

// Does what the command line asks before the game starts: prints the help or
// the version, reports bad usage, refuses a city file it cannot load, or
// moves into the per-user directory. Returns the exit status when the
// process ends here instead of playing; otherwise what was asked goes to
// line when given (a city file's path made absolute first).
std::optional<int> handleCommandLine(int argc, const char* const* argv, CommandLine* line = nullptr);
