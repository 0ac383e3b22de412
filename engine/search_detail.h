#pragma once

// Pieces of the search shared by the reference loops and the fast search.

#include "analysis.h"

#include <array>

namespace tarvel::detail {

extern const double stepSigma; // the double 0.1 added to the trial edge stress
extern const float stepY;       // the single 0.1 added to the strip position

// Distance of each bolt beyond the neutral axis, 0 for one that is not beyond it.
std::array<float, maxBolts + 1> boltDistances(const BaseInput& input, const BoltLayout& layout,
                                              const ElasticCheck& check);

float firstStrip(const BaseInput& input, const ElasticCheck& check);
float lastStripBound(const BaseInput& input);
float nextStrip(float y);

// Chord of the bearing circle at y; 0 outside the circle.
double chord(double d, float y);

extern const char* const overflowInSearch;

} // namespace tarvel::detail
