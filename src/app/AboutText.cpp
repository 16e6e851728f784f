#include "app/AboutText.h"

#include "app/Release.h"
#include "files/ReadSmallFile.h"

namespace about {

std::string builtInText() {
  return std::string("Verlomba ") + release::kVersion +
         "\n"
         "\n"
         "A small city-building game: buy peeps, buildings and trees from the palette on the left, "
         "drag them into the field, lay roads between doors, and keep the city fed with work and sleep "
         "while creeps prowl at its edges.\n"
         "\n"
         "Made by the Verlomba developers. Free software under the MIT licence.";
}

namespace {

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not one.
std::size_t utf8Length(const std::string& s, std::size_t i) {
  const unsigned char lead = static_cast<unsigned char>(s[i]);
  std::size_t n = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

}  // namespace

std::string printable(const std::string& raw) {
  std::string out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(raw[i]);
    if (c == '\n') {
      out += '\n';
    } else if (c == '\r') {
      if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
      out += '\n';
    } else if (c == '\t') {
      out += ' ';
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      // The bitmap font has no glyph for it; a multi-byte character still
      // takes one place.
      const std::size_t n = utf8Length(raw, i);
      if (n > 1) i += n - 1;
      out += '?';
    }
  }
  return out;
}

std::string load(const char* path) {
  const SmallFile file = readSmallFile(path);
  if (!file.read) return builtInText();
  return printable(file.text);
}

namespace {

void trimRight(std::string& s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
}

// Greedy wrapping: a line breaks at its last space before the edge, or in the
// middle of a word that has no space to break at.
void wrapLine(const std::string& line, int maxWidth, const CharWidthFunction& charWidth,
              std::vector<std::string>& out) {
  std::string current;
  int currentWidth = 0;
  std::size_t lastSpace = std::string::npos;
  bool continuation = false;
  for (const char c : line) {
    if (c == ' ' && continuation && current.empty()) continue;  // no leading spaces after a break
    const int w = charWidth(static_cast<unsigned char>(c));
    if (c == ' ' && currentWidth + w > maxWidth && !current.empty()) {
      // The space itself is the break.
      trimRight(current);
      out.push_back(current);
      current.clear();
      currentWidth = 0;
      lastSpace = std::string::npos;
      continuation = true;
      continue;
    }
    while (currentWidth + w > maxWidth && !current.empty()) {
      std::string head = lastSpace == std::string::npos ? current : current.substr(0, lastSpace);
      trimRight(head);
      std::string rest;
      if (head.empty()) {
        head = current;  // nothing before the space: break inside the word
      } else if (lastSpace != std::string::npos) {
        rest = current.substr(lastSpace + 1);
      }
      out.push_back(head);
      current = rest;
      currentWidth = 0;
      for (const char r : rest) currentWidth += charWidth(static_cast<unsigned char>(r));
      lastSpace = std::string::npos;
      continuation = true;
    }
    current += c;
    currentWidth += w;
    if (c == ' ') lastSpace = current.size() - 1;
  }
  out.push_back(current);
}

}  // namespace

std::vector<std::string> wrap(const std::string& text, int maxWidth, const CharWidthFunction& charWidth) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t length = newline == std::string::npos ? std::string::npos : newline - start;
    wrapLine(text.substr(start, length), maxWidth, charWidth, lines);
    if (newline == std::string::npos) break;
    start = newline + 1;
  }
  return lines;
}

std::vector<std::string> wrap(const std::string& text, int maxColumns) {
  return wrap(text, maxColumns, [](unsigned char) { return 1; });
}

void cut(std::vector<std::string>& lines, std::size_t maxLines) {
  if (lines.size() <= maxLines) return;
  lines.resize(maxLines);
  if (maxLines > 0) lines.back() = "...";
}

}  // namespace about
