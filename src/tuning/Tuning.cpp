#include "tuning/Tuning.h"

float kPeepCost = 0.05f;
float kTreeCost = 0.01f;
float kSleepBuildingCost = 0.1f;
float kWorkBuildingCost = 0.1f;
float kCapitalBuildingCost = 0.1f;
float kMilitaryBuildingCost = 0.1f;
float kWorkBuildingPayout = 0.05f;
float kPeepAngerGrowthWhenTired = 0.0025f;
int kSleepBuildingCapacity = 2;
int kWorkBuildingCapacity = 5;
float kStartWithMoney = 0.25f;
int kStartWithAgents = 10;
int kStartWithTrees = 10;
float kFountainRadius = 24.0f;
float kGuardTowerRadius = 12.0f;
float kAutosaveMinutes = 5.0f;

// Bounds: money runs from nothing to a full bar (1.0), so prices, payouts and
// the start money stay in 0..1; a tired peep cannot grow more than fully angry
// in a tick; a work building has at most 64 places and no more than 96 peeps
// ever live, which also bounds the beds and the start peeps; the start trees
// stop where the game still draws 30 frames a second; a fountain or a tower
// stays inside its palette cell (a tower's posts on its rim included); the
// city saves itself at least once an hour of play unless told never to.
const BuiltInTuning kBuiltInTuning[kBuiltInTuningCount] = {
    {"Cost of things", "kPeepCost", TuneFloat, &kPeepCost, 0.05f, 0, 0.0f, 1.0f},
    {"Cost of things", "kTreeCost", TuneFloat, &kTreeCost, 0.01f, 0, 0.0f, 1.0f},
    {"Cost of things", "kSleepBuildingCost", TuneFloat, &kSleepBuildingCost, 0.1f, 0, 0.0f, 1.0f},
    {"Cost of things", "kWorkBuildingCost", TuneFloat, &kWorkBuildingCost, 0.1f, 0, 0.0f, 1.0f},
    {"Cost of things", "kCapitalBuildingCost", TuneFloat, &kCapitalBuildingCost, 0.1f, 0, 0.0f, 1.0f},
    {"Cost of things", "kMilitaryBuildingCost", TuneFloat, &kMilitaryBuildingCost, 0.1f, 0, 0.0f, 1.0f},
    {"Payouts", "kWorkBuildingPayout", TuneFloat, &kWorkBuildingPayout, 0.05f, 0, 0.0f, 1.0f},
    {"Peeps", "kPeepAngerGrowthWhenTired", TuneFloat, &kPeepAngerGrowthWhenTired, 0.0025f, 0, 0.0f, 1.0f},
    {"Buildings", "kSleepBuildingCapacity", TuneInt, &kSleepBuildingCapacity, 0.0f, 2, 0.0f, 96.0f},
    {"Buildings", "kWorkBuildingCapacity", TuneInt, &kWorkBuildingCapacity, 0.0f, 5, 0.0f, 64.0f},
    {"Initial Conditions", "kStartWithMoney", TuneFloat, &kStartWithMoney, 0.25f, 0, 0.0f, 1.0f},
    {"Initial Conditions", "kStartWithAgents", TuneInt, &kStartWithAgents, 0.0f, 10, 0.0f, 96.0f},
    {"Initial Conditions", "kStartWithTrees", TuneInt, &kStartWithTrees, 0.0f, 10, 0.0f, 1000.0f},
    {"Layout/Graphics", "kFountainRadius", TuneFloat, &kFountainRadius, 24.0f, 0, 4.0f, 32.0f},
    {"Layout/Graphics", "kGuardTowerRadius", TuneFloat, &kGuardTowerRadius, 12.0f, 0, 4.0f, 28.0f},
    {"Preferences", "kAutosaveMinutes", TuneFloat, &kAutosaveMinutes, 5.0f, 0, 0.0f, 60.0f, true},
};

void restoreBuiltInTuning() {
  for (const BuiltInTuning& tuning : kBuiltInTuning) {
    switch (tuning.type) {
      case TuneFloat:
        *static_cast<float*>(tuning.address) = tuning.floatValue;
        break;
      case TuneBool:
        *static_cast<bool*>(tuning.address) = tuning.intValue != 0;
        break;
      case TuneInt:
        *static_cast<int*>(tuning.address) = tuning.intValue;
        break;
    }
  }
}
