#include "app/CommandLine.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/Release.h"
#include "app/WindowScale.h"
#include "files/UserDirectory.h"
#include "game/CityFile.h"

namespace {

// Exit status of a command line the game does not understand, as usual.
constexpr int kUsageStatus = 2;

// Prints to standard output; a failed write (a closed or full output) makes
// the exit status 1, as with any command-line tool.
int print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

bool is(const char* argument, const char* shortForm, const char* longForm) {
  return (shortForm && std::strcmp(argument, shortForm) == 0) || std::strcmp(argument, longForm) == 0;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  bool optionsEnded = false;
  for (int i = 1; i < argc && argv[i]; ++i) {
    const char* argument = argv[i];
    if (!optionsEnded && std::strcmp(argument, "--") == 0) {
      optionsEnded = true;
    } else if (!optionsEnded && is(argument, "-h", "--help")) {
      line.action = CommandLine::Action::kHelp;
      return line;
    } else if (!optionsEnded && is(argument, "-V", "--version")) {
      line.action = CommandLine::Action::kVersion;
      return line;
    } else if (!optionsEnded && is(argument, nullptr, "--user-dir")) {
      line.userDirectory = true;
    } else if (!optionsEnded &&
               (is(argument, nullptr, "--scale") || std::strncmp(argument, "--scale=", 8) == 0)) {
      const char* value = argument[7] == '=' ? argument + 8 : (i + 1 < argc ? argv[++i] : nullptr);
      line.scale = parseScale(value);
      if (!line.scale) {
        line.action = CommandLine::Action::kBadUsage;
        line.problem = value ? std::string("--scale wants a number above 0, not '") + value + "'"
                             : std::string("--scale wants a number");
        return line;
      }
    } else if (!optionsEnded &&
               (is(argument, nullptr, "--city") || std::strncmp(argument, "--city=", 7) == 0)) {
      const char* file = argument[6] == '=' ? argument + 7 : (i + 1 < argc ? argv[++i] : nullptr);
      if (!file || !*file) {
        line.action = CommandLine::Action::kBadUsage;
        line.problem = "option '--city' needs a file";
        return line;
      }
      line.cityFile = file;
    } else {
      line.action = CommandLine::Action::kBadUsage;
      const bool option = !optionsEnded && argument[0] == '-' && argument[1] != '\0';
      line.problem = std::string(option ? "unknown option '" : "unexpected argument '") + argument + "'";
      return line;
    }
  }
  return line;
}

namespace {

// Where the platforms differ: the desktop's resolution, the per-user
// directory and the environment.
#ifdef _WIN32
constexpr const char* kScaleSource = "the monitor's DPI over 96";
constexpr const char* kUserDirectory =
    "The per-user directory is %APPDATA%\\Verlomba; it is made on first use, with\n"
    "a commented Verlomba.ini of the built-in values.\n";
constexpr const char* kEnvironment = "  VERLOMBA_SCALE     the same as --scale, which wins over it\n";
#else
constexpr const char* kScaleSource = "the desktop's Xft.dpi over 96";
constexpr const char* kUserDirectory =
    "The per-user directory is $XDG_DATA_HOME/verlomba, or\n"
    "~/.local/share/verlomba; it is made on first use, with a commented\n"
    "Verlomba.ini of the built-in values.\n";
constexpr const char* kEnvironment =
    "  DISPLAY            the X display to open\n"
    "  VERLOMBA_RENDERER  gl or software: how to draw; by default software\n"
    "                     when OpenGL is itself a software rasterizer\n"
    "                     (llvmpipe, say), gl otherwise\n"
    "  VERLOMBA_SCALE     the same as --scale, which wins over it\n"
    "  VERLOMBA_THREADS   how many threads the software renderer draws on,\n"
    "                     1 to 64; by default the cores, at most 8\n"
    "  XDG_DATA_HOME      where the per-user directory lives\n"
    "  HOME               the same, as $HOME/.local/share, when XDG_DATA_HOME\n"
    "                     is unset\n";
#endif

}  // namespace

std::string usageText() {
  return std::string("Usage: ") + release::kProgramName +
         " [--user-dir] [--scale S] [--city FILE]\n"
         "A small real-time city-building game.\n"
         "\n"
         "Options:\n"
         "  --user-dir     play in the per-user directory instead of the working\n"
         "                 directory (the desktop entry starts the game so)\n"
         "  --scale S      draw the window S times its usual 800 pixels (0.5 to 4);\n"
         "                 by default " +
         kScaleSource +
         ", lowered to fit\n"
         "                 the screen\n"
         "  --city FILE    start from the city saved in FILE (\"Save City\")\n"
         "  -h, --help     print this help and exit\n"
         "  -V, --version  print the version and exit\n"
         "\n"
         "In the game: the right button opens the menu; F1 or h shows the mouse\n"
         "actions and keys; p pauses, f runs three times as fast; the wheel zooms,\n"
         "and the arrows, a middle-button drag and Home move the view.\n"
         "\n"
         "Files, in the working directory:\n"
         "  Verlomba.ini        tuning, read at start-up and on \"Reload Tuning File\"\n"
         "  Verlomba-saved.ini  the built-in tuning, written on \"Save Tuning\"\n"
         "  Verlomba-city.txt   the city, written on \"Save City\", read on \"Load City\"\n"
         "  Verlomba-autosave.txt  the city saved by itself every kAutosaveMinutes of\n"
         "                 play and on close, read on \"Load Autosave\"\n"
         "  copyright.txt       text of the about box at start-up (optional)\n" +
         kUserDirectory +
         "\n"
         "Environment:\n" +
         kEnvironment;
}

std::string versionText() {
  return std::string(release::kProgramName) + " " + release::kVersion + "\n";
}

std::optional<int> handleCommandLine(int argc, const char* const* argv, CommandLine* parsed) {
  CommandLine line = parseCommandLine(argc, argv);
  switch (line.action) {
    case CommandLine::Action::kHelp:
      return print(usageText());
    case CommandLine::Action::kVersion:
      return print(versionText());
    case CommandLine::Action::kBadUsage:
      std::fprintf(stderr, "%s: %s\n%s", release::kProgramName, line.problem.c_str(), usageText().c_str());
      return kUsageStatus;
    case CommandLine::Action::kPlay:
      break;
  }
  if (!line.cityFile.empty()) {
    // Named from where the game was started, whichever directory it plays in.
    // The path is UTF-8 on every platform; Windows would read a plain
    // string in its ANSI code page instead.
    std::error_code ignored;
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::u8path(line.cityFile), ignored);
    if (!absolute.empty()) line.cityFile = absolute.u8string();
    // Refused before any window opens; the reason is on standard error.
    if (!checkCityFile(line.cityFile)) return 1;
  }
  if (line.userDirectory) enterUserDirectoryOrWarn();
  if (parsed) *parsed = line;
  return std::nullopt;
}
