#pragma once

#include <optional>

class Game;

// The game as a player starts it: the about box, then the game window,
// played until it closes; without an X display, one line and status 1. prepare, when given, changes the new
// game's world before play begins (the measuring tools start it in their big worlds); scale is the one the
// command line asked for.
int runGame(void (*prepare)(Game&) = nullptr, std::optional<double> scale = std::nullopt);
