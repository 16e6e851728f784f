#include "tuning/TuningFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "files/ReadSmallFile.h"

const char* kTuningFileName = "Verlomba.ini";
const char* kSavedTuningFileName = "Verlomba-saved.ini";

namespace {

// Lines are taken as fgets with a 1024-byte buffer took them: at most 1023
// characters at a time, so the rest of a longer line arrives as the next
// "line", and a NUL ends the text of its line.
constexpr std::size_t kLineSize = 1024;

// The value as the player wrote it, for the report.
std::string firstWord(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  std::size_t n = 0;
  while (text[n] && !std::isspace(static_cast<unsigned char>(text[n])) && n < 32) ++n;
  return std::string(text, n);
}

class LineReader {
 public:
  LineReader(const TuningTable& table, std::vector<std::string>& complaints)
      : table_(table), complaints_(complaints) {}

  void apply(char* line) {
    for (const char comment : {'#', '/', '['}) {
      if (char* at = std::strchr(line, comment)) *at = '\0';
    }

    // A line holds at most kLineSize - 1 characters, so the word always fits.
    char key[kLineSize];
    static_assert(kLineSize == 1024, "the scan width below must match the key buffer");
    if (std::sscanf(line, "%1023s", key) != 1) return;

    // A key without "=" has no value to give.
    const char* equals = std::strchr(line, '=');
    if (!equals) return;
    const char* valueText = equals + 1;

    // Every row with this name gets the value, not just the first.
    for (int i = 0; i < table_.count; ++i) {
      const TuningEntry& entry = table_.entries[i];
      if (entry.name && std::strcmp(entry.name, key) == 0) store(entry, valueText);
    }
  }

 private:
  void store(const TuningEntry& entry, const char* valueText) {
    if (entry.type == TuneFloat) {
      float parsed = 0.0f;
      if (std::sscanf(valueText, "%f", &parsed) != 1) return;
      if (std::isnan(parsed)) {
        complain(entry, valueText, "is not a number; ignored");
        return;
      }
      *static_cast<float*>(entry.address) = static_cast<float>(bounded(entry, valueText, parsed));
      return;
    }
    // What "%d" accepts (white space, a sign, decimal digits up to the first
    // other character), without its undefined overflow: a number too long
    // for a long comes back as the long's limit, which the bounds then catch.
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(valueText, &end, 10);
    if (end == valueText) return;
    if (entry.type == TuneBool) {
      *static_cast<bool*>(entry.address) = parsed != 0;
    } else if (entry.type == TuneInt) {
      *static_cast<int*>(entry.address) =
          static_cast<int>(bounded(entry, valueText, static_cast<double>(parsed)));
    }
  }

  double bounded(const TuningEntry& entry, const char* valueText, double value) {
    if (value >= entry.lowest && value <= entry.highest) return value;
    const double nearest = value < entry.lowest ? entry.lowest : entry.highest;
    char reason[96];
    std::snprintf(reason, sizeof reason, "is out of bounds (%g to %g); using %g", entry.lowest, entry.highest,
                  nearest);
    complain(entry, valueText, reason);
    return nearest;
  }

  void complain(const TuningEntry& entry, const char* valueText, const char* reason) {
    complaints_.push_back(std::string(entry.name) + " = " + firstWord(valueText) + " " + reason);
  }

  const TuningTable& table_;
  std::vector<std::string>& complaints_;
};

std::string savedTuningText() {
  std::string text;
  const char* section = nullptr;
  char line[256];
  for (const BuiltInTuning& tuning : kBuiltInTuning) {
    if (!section || std::strcmp(section, tuning.section) != 0) {
      section = tuning.section;
      std::snprintf(line, sizeof line, "\n\n[ %s ]\n", section);
      text += line;
    }
    if (tuning.type == TuneFloat) {
      std::snprintf(line, sizeof line, "%s = %f\n", tuning.name, static_cast<double>(tuning.floatValue));
    } else {
      std::snprintf(line, sizeof line, "%s = %d\n", tuning.name, tuning.intValue);
    }
    text += line;
  }
  return text;
}

}  // namespace

void readTuningFile(const char* path) {
  registerAllTuning();
  for (const std::string& complaint : readTuningFile(path, tuningTable())) {
    std::fprintf(stderr, "verlomba: %s: %s\n", path, complaint.c_str());
  }
}

std::vector<std::string> readTuningFile(const char* path, const TuningTable& table) {
  std::vector<std::string> complaints;
  const SmallFile file = readSmallFile(path);
  if (!file.read) return complaints;

  LineReader reader(table, complaints);
  const std::string& text = file.text;
  char line[kLineSize];
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = std::min(text.size(), start + kLineSize - 1);
    const std::size_t newline = text.find('\n', start);
    if (newline < end) end = newline + 1;
    text.copy(line, end - start, start);
    line[end - start] = '\0';
    reader.apply(line);
    start = end;
  }
  return complaints;
}

SaveResult writeTuningFile(const char* path) {
  return saveFileAtomically(path, savedTuningText());
}
