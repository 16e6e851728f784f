#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The text of the about box shown at start-up: "copyright.txt" from the
// working directory when it can be read, otherwise a built-in text. It is
// made safe for a bitmap font, wrapped to the box and cut so the OK button
// stays visible.
namespace about {

constexpr std::size_t kMaxFileBytes = 64 * 1024;
constexpr const char* kFileName = "copyright.txt";

std::string builtInText();
// Reads at most maxBytes of the file; false when it cannot be opened or read.
bool readFile(const char* path, std::string& text, std::size_t maxBytes = kMaxFileBytes);
// Newlines stay (CR LF and lone CR become LF), tabs become spaces, every
// other unprintable byte shows as "?" (one per UTF-8 character).
std::string printable(const std::string& raw);
// The file's text made printable, or the built-in text when it is unreadable.
std::string load(const char* path = kFileName);

// Width of one character, in whatever unit the caller wraps to (pixels of a
// bitmap font, say); a line is as wide as its characters together.
using CharWidthFunction = std::function<int(unsigned char)>;
// Breaks each line at spaces so none is wider than maxWidth; a word wider
// than that on its own is broken where it must be.
std::vector<std::string> wrap(const std::string& text, int maxWidth, const CharWidthFunction& charWidth);
// The same with one unit per character.
std::vector<std::string> wrap(const std::string& text, int maxColumns);
// Keeps at most maxLines lines; when lines are dropped the last kept one
// becomes "..." so the cut shows.
void cut(std::vector<std::string>& lines, std::size_t maxLines);

}  // namespace about
