#pragma once

// The saved city: the whole state of a game as a text file, and back.

#include <cstddef>
#include <string>

#include "files/SaveFileAtomically.h"

class Game;

// In the play directory; written by "Save City", read by "Load City".
extern const char* kCityFileName;  // "Verlomba-city.txt"
// Anything longer is refused unread.
constexpr std::size_t kCityFileLimit = 4u << 20;
// Far more objects than any city of play holds (a thousand trees, the
// palette and the start make about 1300); a file with more is refused.
constexpr int kMostCityObjects = 20000;

// The file, line by line: "verlomba-city 2"; the game's clock in
// milliseconds; the generator's state; the game's own values and counts
// (version 1 files, which lack the buildings' count, still load); the view's
// zoom and centre; the menu's toggles, pause and Fast among them; every
// tuning value in force but the player's preferences; "objects N" and N
// lines, one object each in the world list's order, newest first (its kind,
// its serial, then its fields, see CityFields); the hand (held object,
// cursor tool, play area) and the palette by serial; "end". Floats are
// written in the shortest form that reads back to the same bits, so a saved
// game goes on exactly as it would have.

// The game as a city file's text; false, with the reason, when the world
// holds something the file cannot.
bool writeCity(Game& game, std::string& text, std::string& problem);
// Replaces the game's city, its tuning, the generator's state and the
// game's clock with those of the text. A text that is not whole and sound
// is refused as a whole: false with the reason (one line), and the game and
// everything else as they were.
bool readCity(Game& game, const std::string& text, std::string& problem);

// The same with files: saved atomically (see saveFileAtomically), read
// only when a regular file of at most kCityFileLimit bytes. Either prints
// one line on standard error naming the file and the reason it failed.
SaveResult saveCityFile(Game& game, const std::string& path);
bool loadCityFile(Game& game, const std::string& path, std::string& problem);
// Whether loadCityFile would take the file, without a game to load it into.
bool checkCityFile(const std::string& path);
