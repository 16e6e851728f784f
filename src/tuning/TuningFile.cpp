#include "tuning/TuningFile.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

const char* kTuningFileName = "Verlomba.ini";
const char* kSavedTuningFileName = "Verlomba-saved.ini";

namespace {

// fgets reads at most 1023 characters at a time; the rest of a longer line
// arrives as the next "line".
constexpr int kLineSize = 1024;

bool parseFloat(const char* text, float& value) {
  float parsed = 0.0f;
  if (std::sscanf(text, "%f", &parsed) != 1) return false;
  // "nan", "inf" and overflowing exponents parse, but no balance value can use them.
  if (!std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

// What "%d" accepts (white space, a sign, decimal digits up to the first
// other character), but an out-of-range number is refused instead of being
// undefined.
bool parseInt(const char* text, int& value) {
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

void store(const TuningEntry& entry, const char* valueText) {
  if (entry.type == TuneFloat) {
    float value = 0.0f;
    if (parseFloat(valueText, value)) *static_cast<float*>(entry.address) = value;
    return;
  }
  int value = 0;
  if (!parseInt(valueText, value)) return;
  if (entry.type == TuneBool) {
    *static_cast<bool*>(entry.address) = value != 0;
  } else if (entry.type == TuneInt) {
    *static_cast<int*>(entry.address) = value;
  }
}

void applyLine(const TuningTable& table, char* line) {
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
  for (int i = 0; i < table.count; ++i) {
    const TuningEntry& entry = table.entries[i];
    if (entry.name && std::strcmp(entry.name, key) == 0) store(entry, valueText);
  }
}

}  // namespace

void readTuningFile(const char* path) {
  registerAllTuning();
  readTuningFile(path, tuningTable());
}

void readTuningFile(const char* path, const TuningTable& table) {
  std::FILE* file = std::fopen(path, "r");
  if (!file) return;
  char line[kLineSize];
  while (std::fgets(line, kLineSize, file)) applyLine(table, line);
  std::fclose(file);
}

void writeTuningFile(const char* path) {
  std::FILE* file = std::fopen(path, "w");
  if (!file) return;
  const char* section = nullptr;
  for (const BuiltInTuning& tuning : kBuiltInTuning) {
    if (!section || std::strcmp(section, tuning.section) != 0) {
      section = tuning.section;
      std::fprintf(file, "\n\n[ %s ]\n", section);
    }
    if (tuning.type == TuneFloat) {
      std::fprintf(file, "%s = %f\n", tuning.name, static_cast<double>(tuning.floatValue));
    } else {
      std::fprintf(file, "%s = %d\n", tuning.name, tuning.intValue);
    }
  }
  std::fclose(file);
}
