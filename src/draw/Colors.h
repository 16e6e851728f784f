#pragma once

#include "world/Geometry.h"

// The game's whole colour vocabulary.
inline constexpr Color3 kWhite{1.0f, 1.0f, 1.0f};
inline constexpr Color3 kRed{1.0f, 0.0f, 0.0f};
inline constexpr Color3 kGreen{0.0f, 1.0f, 0.0f};
inline constexpr Color3 kBlue{0.0f, 0.0f, 1.0f};
inline constexpr Color3 kPink{1.0f, 0.5f, 0.5f};
inline constexpr Color3 kYellow{1.0f, 1.0f, 0.0f};
inline constexpr Color3 kOrange{1.0f, 0.5f, 0.0f};
inline constexpr Color3 kMagenta{1.0f, 0.0f, 1.0f};
inline constexpr Color3 kBrown{0.5f, 0.25f, 0.0625f};
inline constexpr Color3 kGrey{0.25f, 0.25f, 0.25f};
inline constexpr Color3 kBlack{0.0f, 0.0f, 0.0f};

// Lighter shades made from the base colours once at start-up.
extern const Color3 kLightBlue;
extern const Color3 kLightRed;
