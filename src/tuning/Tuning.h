#pragma once

// The game's balance numbers. They start at their built-in values; the tuning
// file (TuningFile.h) may override them. The palette and the start of a game
// read them once, so a reload mid-game only affects the values read during
// play (the work payout and the tired peeps' anger growth).

extern float kPeepCost;
extern float kTreeCost;
extern float kSleepBuildingCost;
extern float kWorkBuildingCost;
extern float kCapitalBuildingCost;
extern float kMilitaryBuildingCost;
extern float kWorkBuildingPayout;
extern float kPeepAngerGrowthWhenTired;
extern int kSleepBuildingCapacity;
extern int kWorkBuildingCapacity;
extern float kStartWithMoney;
extern int kStartWithAgents;
extern int kStartWithTrees;
extern float kFountainRadius;
extern float kGuardTowerRadius;
// Minutes of play between two saves of the city by itself; 0 turns it off.
extern float kAutosaveMinutes;

// How a tuning variable is stored; the numbers are those of the table rows.
enum TuneType : int {
  TuneFloat = 0,  // float
  TuneBool = 1,   // bool, one byte
  TuneInt = 2,    // 32-bit int
};

// One tuning variable with its built-in value, the bounds a game can use it
// within, and the section of the saved tuning file it is written under. Only
// the value field matching the type is used; the bounds hold for either.
struct BuiltInTuning {
  const char* section;
  const char* name;
  TuneType type;
  void* address;
  float floatValue;
  int intValue;
  float lowest;
  float highest;
  // A preference of the player's rather than a rule of the city: a saved
  // city neither holds nor changes it.
  bool preference = false;
};

constexpr int kBuiltInTuningCount = 16;
// In registration order, which is also the order of the saved file.
extern const BuiltInTuning kBuiltInTuning[kBuiltInTuningCount];

// Puts every tuning variable back to its built-in value.
void restoreBuiltInTuning();
