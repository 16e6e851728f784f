#pragma once

#include <string>

// The per-user directory the game can play in, so that its files have a home
// wherever it is started from (the desktop entry asks for it). Following the
// XDG Base Directory standard it is $XDG_DATA_HOME/verlomba, or
// $HOME/.local/share/verlomba when XDG_DATA_HOME is unset, empty or relative.
// Empty when neither names an absolute directory.
std::string userDirectoryPath(const char* xdgDataHome, const char* home);

// Makes dir with its missing parents (private to the user, as the standard
// asks), gives it the tuning template as Verlomba.ini when it has none, and
// makes it the working directory. On failure returns false with a one-line
// reason in error, which also says where the game goes on.
bool enterUserDirectory(const std::string& dir, std::string& error);

// The same for this process's environment; a failure is reported on standard
// error and the game goes on.
void enterUserDirectoryOrWarn();
