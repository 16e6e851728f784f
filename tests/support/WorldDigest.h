#pragma once

#include <cstdint>
#include <string>

class Game;

// A text account of the whole world: every object's kind and fields, the
// money, the frame counter and the agent count. Floats are written exactly
// (as hexadecimal), so any change of behaviour changes the text.
std::string describeWorld(Game& game);
// FNV-1a of describeWorld, for compact comparisons.
uint64_t worldDigest(Game& game);
