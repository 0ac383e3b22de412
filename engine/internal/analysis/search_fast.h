#pragma once

// The fast search's own interface: how it is run, its choice of the bolt force, and what it
// proves about the trials it does not integrate (docs/fast-search.md derives the bounds).

#include "analysis/search_detail.h"

#include <optional>
#include <vector>

namespace tarvel::detail {

struct FastSearchOptions {
    // 1: everything on the caller's thread; any other value lets a long sweep hand half of
    // each block of trials to one helper thread (when the machine has more than one core).
    int threads = 0;
    // Prove which trials cannot win and integrate only the others; false integrates every
    // trial (the path taken anyway when the proof fails).
    bool skipTrials = true;
};

// Sums over the strips that bound every trial's sums (docs/fast-search.md, part 1), with
// wt = w·0.1 and g = u·w·(0.1/x0): a trial's term is about base·wt + s·g. The *Tri sums
// weigh strip j of N by N − j (from 0), the number of running sums it is part of.
struct StripMoments {
    double w = 0, g = 0, gAbs = 0, wy = 0, wyAbs = 0, gy = 0, gyAbs = 0, wTri = 0, gTri = 0;
    std::size_t strips = 0;
};

// The exact equilibrium's sums over the strips for a unit edge stress, and for the part
// σmin carries in full compression: C = qmax·S1 + σmin·S0, Mc = qmax·S1y + σmin·S0y (N, N·mm).
struct UnitStrips {
    double S1 = 0, S1y = 0, S0 = 0, S0y = 0;
};

// The strips of a compression length: position, chord width and (y - d/2) + x0, as the
// reference loops make them in every trial, and the moments the bounds take from them.
struct StripTable {
    std::vector<double> y, w, u;
    StripMoments moments;
    // The exact equilibrium's sums, once made: the search's pass over the strips makes them
    // on the way when it can (they cost little there), or unitStrips() does.
    mutable std::optional<UnitStrips> unit;
    double d = 0, x0 = 0; // what the table was made for (x0 = 0: nothing yet)
};

// The exact equilibrium's sums of the table, strip by strip in order.
const UnitStrips& unitStrips(const StripTable& table);

// The table for the plate and compression length of `ctx`, made once per thread for them:
// the search and the exact equilibrium after it read the same one. The reference's
// positions and widths bit for bit; the plate is at most 1e5 mm (a million strips).
const StripTable& stripTable(const SearchContext& ctx);
// Plates up to this size have their strips tabled (a million strips at most).
constexpr double maxTabledPlate = 1e5;

BestFit fastSearch(const BaseInput& input, const BoltLayout& layout, const ElasticCheck& check,
                   const SearchProgress& progress, const FastSearchOptions& options);

// Step D of the fast search: the force of bolt 1 from the forces near the zero of the
// moment residual, or the reference sweep where that window cannot be proved. Gives what
// sweepBoltForce gives.
bool boltForce(const SearchContext& ctx, const BoltData& bolts, double c, int16_t& Tt);

// ---- What the fast search proves about trials it does not integrate ----

struct Interval {
    double lo, hi;
};

// How the sweep of the bolt force goes for every position the trial's resultant may have.
enum class ForceKind {
    Chosen,  // some force brings the moment residual below 1000 kN·m: T is the choice
    Carried, // none does: the force of the trial before is carried over
    Either,  // one of the two
};

// Intervals that hold a trial's exact sums, lever arm, bolt force and force residual.
struct TrialBounds {
    Interval C, Mc, c, T, rF;
    ForceKind kind = ForceKind::Chosen;
    std::size_t from = 0;       // 1 + the last trial before it known to choose its force, or 0
    double least = 0, most = 0; // bounds on |rF|
};

// The bounds of a sweep as the fast search makes them before integrating any trial, for
// the tests of that proof.
struct SweepBounds {
    bool attempted = false;              // the fast search tries the proof on these inputs
    bool proved = false;                 // it found the few trials that could be kept
    std::vector<double> sigmas;          // every trial edge stress
    std::vector<TrialBounds> trials;     // the trials bounded, from the first (all if proved)
    std::vector<std::size_t> candidates; // the trials that could be kept, when proved
};
SweepBounds sweepBounds(const BaseInput& input, const BoltLayout& layout,
                        const ElasticCheck& check);

} // namespace tarvel::detail
