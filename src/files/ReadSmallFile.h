#pragma once

#include <cstddef>
#include <string>

// The files the game reads (the tuning file, the about text) are short texts
// a player leaves in the working directory. Whatever else turns up under
// their names is passed over, so that it can neither block nor stall the
// game.
constexpr std::size_t kSmallFileLimit = 64 * 1024;

struct SmallFile {
  bool read = false;    // false when missing or passed over
  std::string text;     // the whole file, when read
  std::string problem;  // why an existing file was passed over; empty otherwise
};

// Reads a regular file of at most maxBytes whole. Opening never waits (a FIFO
// without a writer, say), anything but a regular file is refused, and so is a
// longer file: a cut-off tuning line could set a value the player never wrote.
// A missing file is passed over quietly; any other refusal prints one line on
// standard error naming the file and the reason, unless the caller, quiet,
// says it in its own words.
SmallFile readSmallFile(const char* path, std::size_t maxBytes = kSmallFileLimit, bool quiet = false);

// What every platform's reader shares: the reason a file over maxBytes is
// refused, and the end of a read (no text unless read whole; the problem
// said on standard error unless quiet).
std::string tooLongReason(std::size_t maxBytes);
void finishSmallFile(SmallFile& file, const char* path, bool quiet);
