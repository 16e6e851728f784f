// Any bytes as "copyright.txt", then wrapped and cut as the about box does.
// The first two bytes pick the wrap width and the character widths.

#include <algorithm>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "app/AboutText.h"
#include "files/ReadSmallFile.h"

namespace {

std::string withoutSpaces(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c != ' ' && c != '\n') out += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int maxWidth = data[0];
  const int widthKind = data[1] % 3;
  const char* path = fuzz::writeScratch(data + 2, size - 2);
  const std::string raw(reinterpret_cast<const char*>(data + 2), size - 2);

  // Read whole, or not at all when longer than the limit.
  const SmallFile small = readSmallFile(path);
  FUZZ_CHECK(small.read == (raw.size() <= kSmallFileLimit));
  FUZZ_CHECK(small.text == (small.read ? raw : std::string()));

  const std::string text = about::load(path);
  FUZZ_CHECK(text == (raw.size() <= kSmallFileLimit ? about::printable(raw) : about::builtInText()));
  for (const char c : text) FUZZ_CHECK(c == '\n' || (c >= 0x20 && c < 0x7F));

  // One unit each; bitmap-font-like widths; widths that may be zero.
  const about::CharWidthFunction widths[] = {
      [](unsigned char) { return 1; },
      [](unsigned char c) { return 3 + c % 10; },
      [](unsigned char c) { return (c * 7) % 13; },
  };
  const about::CharWidthFunction& charWidth = widths[widthKind];
  std::vector<std::string> lines = about::wrap(text, maxWidth, charWidth);

  const std::size_t paragraphs = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  FUZZ_CHECK(lines.size() >= paragraphs);
  std::string joined;
  for (const std::string& line : lines) {
    FUZZ_CHECK(line.find('\n') == std::string::npos);
    int width = 0;
    for (const char c : line) width += charWidth(static_cast<unsigned char>(c));
    // Only a character wider than the box on its own may overflow it.
    FUZZ_CHECK(width <= maxWidth || line.size() == 1);
    joined += line;
  }
  // Wrapping moves words to new lines; it never loses or reorders them.
  FUZZ_CHECK(withoutSpaces(joined) == withoutSpaces(text));

  const std::size_t maxLines = data[1] / 3;
  const std::size_t before = lines.size();
  about::cut(lines, maxLines);
  FUZZ_CHECK(lines.size() == std::min(before, maxLines));
  if (before > maxLines && maxLines > 0) FUZZ_CHECK(lines.back() == "...");
  return 0;
}
