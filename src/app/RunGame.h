#pragma once

#include <optional>
#include <string>

class Game;

// The game as a player starts it on this platform: the about box, then the
// game's window, played until it closes. Each platform defines it (the
// program links one platform); the desktop's says in one line, with status
// 1, that there is no display to open.
// prepare, when given, changes the new game's world before play begins (the
// measuring tools start it in their big worlds); scale is the one the
// command line asked for. A city file, when named, replaces the new city; a
// file refused then ends the process with status 1.
int runGame(void (*prepare)(Game&) = nullptr, std::optional<double> scale = std::nullopt,
            const std::string& cityFile = "");
