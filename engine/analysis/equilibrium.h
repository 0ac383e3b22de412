#pragma once

#include "analysis/calculation.h"

#include <vector>

namespace tarvel {

// The exact equilibrium for the compression length of the elastic check. For a fixed x0 the
// bearing resultant and its moment are linear (affine in full compression) in the edge
// stress, and the bolt resultant and its moment are linear in the force of bolt 1, so the
// two balance equations form a 2×2 linear system in (qmax, T). It is solved in double from
// the strips and bolts the search uses. It is a second opinion beside the search: it never
// changes the search's texts.
struct RefinedEquilibrium {
    enum class Status {
        Solved,        // qmax ≥ 0 and T ≥ 0 balance both equations
        NoEquilibrium, // the solution needs qmax < 0 or T < 0
        ForceOnly,     // no bolt in tension (none beyond the neutral axis, or full
                       // compression): T = 0 and qmax balances the forces alone
        Singular,      // the equations do not determine qmax and T
    };
    Status status = Status::Singular;
    double qmax = 0;      // N/mm², edge stress
    double T = 0;         // kN, force of bolt 1
    double C = 0;         // kN, bearing resultant
    double Mc = 0;        // kN·m, its moment about the plate centre
    double F = 0;         // kN, bolt resultant
    double Mb = 0;        // kN·m, its moment about the plate centre
    double forceSum = 0;  // kN, C − F: equals P when balanced
    double momentSum = 0; // kN·m, Mc + Mb: equals M when balanced
    int boltsInTension = 0;
};

RefinedEquilibrium solveEquilibrium(const Analysis& analysis);

// The force in each bolt (kN), index 1 to n, for a force T of bolt 1, as the search's bolt
// sums make them: single(ratio × T). Bolts that do not lie beyond the neutral axis carry 0.
// Index 0 is unused.
std::vector<float> boltForces(const Analysis& analysis, int T);

// Distance of each bolt beyond the neutral axis (mm), index 1 to n; 0 when not beyond it.
std::vector<float> boltDistancesBeyondAxis(const Analysis& analysis);

} // namespace tarvel
