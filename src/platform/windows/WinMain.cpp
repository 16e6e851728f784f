// The Windows program's entry: a program of the GUI subsystem, its command
// line in UTF-16, read as the game's UTF-8.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/RunGame.h"
#include "platform/windows/ConsoleOutput.h"
#include "platform/windows/Utf16.h"

int wmain(int argc, wchar_t** argv) {
  attachParentConsole();
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(toUtf8(argv[i]));
  std::vector<const char*> pointers;
  for (const std::string& a : arguments) pointers.push_back(a.c_str());
  pointers.push_back(nullptr);

  CommandLine line;
  if (const std::optional<int> status = handleCommandLine(argc, pointers.data(), &line)) return *status;
  return runGame(nullptr, line.scale, line.cityFile);
}
