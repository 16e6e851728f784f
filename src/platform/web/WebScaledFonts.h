#pragma once

// The page's scale: the largest one the compiled-in fonts are there for
// that is not above wanted (see FontSets.h).
double webScaleAtMost(double wanted);
