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

const BuiltInTuning kBuiltInTuning[kBuiltInTuningCount] = {
    {"Cost of things", "kPeepCost", TuneFloat, &kPeepCost, 0.05f, 0},
    {"Cost of things", "kTreeCost", TuneFloat, &kTreeCost, 0.01f, 0},
    {"Cost of things", "kSleepBuildingCost", TuneFloat, &kSleepBuildingCost, 0.1f, 0},
    {"Cost of things", "kWorkBuildingCost", TuneFloat, &kWorkBuildingCost, 0.1f, 0},
    {"Cost of things", "kCapitalBuildingCost", TuneFloat, &kCapitalBuildingCost, 0.1f, 0},
    {"Cost of things", "kMilitaryBuildingCost", TuneFloat, &kMilitaryBuildingCost, 0.1f, 0},
    {"Payouts", "kWorkBuildingPayout", TuneFloat, &kWorkBuildingPayout, 0.05f, 0},
    {"Peeps", "kPeepAngerGrowthWhenTired", TuneFloat, &kPeepAngerGrowthWhenTired, 0.0025f, 0},
    {"Buildings", "kSleepBuildingCapacity", TuneInt, &kSleepBuildingCapacity, 0.0f, 2},
    {"Buildings", "kWorkBuildingCapacity", TuneInt, &kWorkBuildingCapacity, 0.0f, 5},
    {"Initial Conditions", "kStartWithMoney", TuneFloat, &kStartWithMoney, 0.25f, 0},
    {"Initial Conditions", "kStartWithAgents", TuneInt, &kStartWithAgents, 0.0f, 10},
    {"Initial Conditions", "kStartWithTrees", TuneInt, &kStartWithTrees, 0.0f, 10},
    {"Layout/Graphics", "kFountainRadius", TuneFloat, &kFountainRadius, 24.0f, 0},
    {"Layout/Graphics", "kGuardTowerRadius", TuneFloat, &kGuardTowerRadius, 12.0f, 0},
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
