#pragma once

#include "analysis/analysis.h"

#include <cstdint>
#include <functional>

namespace tarvel {

// The state of equilibrium the search keeps. Fields never set count as 0.
struct BestFit {
    double qmax = 0;     // N/mm², the kept trial edge stress (σmax before any trial is kept)
    int16_t T = 0;       // kN, force of bolt 1
    double c = 0;        // mm, position of the bearing resultant
    float c2 = 0;        // mm, position of the bolt resultant
    float fq = 0;        // N, bearing resultant
    double mq = 0;       // N·mm, moment of the bearing pressure
    float fms = 0;       // N, bolt resultant
    float mms = 0;       // N·mm, moment of the bolt forces
    bool kept = false;   // whether any trial was kept
    double residual = 0; // N, the smallest force residual found (1000 kN when none was kept)
};

// How the search reports its progress: its range once before the first trial, then every
// trial edge stress at the start of that trial.
struct SearchProgress {
    std::function<void(float first, float last)> range;
    std::function<void(float sigma)> trial;
};

// The first and the last bound of the sweep of the trial edge stress.
constexpr float sweepStart = 0.1f;
float sweepEnd(const ElasticCheck& check);

// More trials, or more strip evaluations, than this would take hours: such a sweep counts
// as endless. (An edge stress of 10^6 N/mm² is far beyond any material.)
constexpr double maxTrials = 1e7;
constexpr double maxStripEvaluations = 1e10;

// Fails with a range error when the sweep could never end for these inputs.
void checkSweepEnds(const BaseInput& input, const ElasticCheck& check);

// The size of the sweep as checkSweepEnds measures it, without running a loop: the trials
// (the sweep end over the step) and the strips of one trial (the strip range over the
// step, plus one; 0 when the first strip lies beyond the last or beyond a single). These
// are estimates: the trials may be off by one, the strips by a few in ten thousand (the
// single step of the strip position is not exactly 0.1). Fails only where sweepEnd fails.
struct SweepSize {
    double trials = 0;
    double strips = 0;
};
SweepSize sweepSize(const BaseInput& input, const ElasticCheck& check);

// The search the window and the command use. `threads` = 1 keeps it on the caller's thread;
// any other value lets a long sweep hand half of each block of trials to one helper thread
// when the machine has more than one core. The result is the same either way.
BestFit searchEquilibrium(const BaseInput& input, const BoltLayout& layout,
                          const ElasticCheck& check, const SearchProgress& progress = {},
                          int threads = 0);

// The same search as plain loops, one trial after another: the reference the fast search
// must match bit for bit.
BestFit searchEquilibriumReference(const BaseInput& input, const BoltLayout& layout,
                                   const ElasticCheck& check, const SearchProgress& progress = {});

// Figures of the sweep that tests and tools want to see.
struct SweepFigures {
    int trials = 0;
    int strips = 0;   // strips per trial
    float firstY = 0; // first strip position
    float lastY = 0;  // last strip position
    float b1 = 0;     // distance of bolt 1 beyond the neutral axis
};
SweepFigures sweepFigures(const BaseInput& input, const BoltLayout& layout,
                          const ElasticCheck& check);

} // namespace tarvel
