#pragma once

// The steps of one trial of the search, shared by the reference loops and the fast search.

#include "analysis/search.h"

#include <array>
#include <cmath>

namespace tarvel::detail {

extern const double stepSigma;     // the double 0.1 added to the trial edge stress
extern const float stepY;          // the single 0.1 added to the strip position
constexpr int maxBoltForce = 1002; // kN, the last trial force of bolt 1
// A bolt force is chosen only when it brings the moment residual below this, N·mm (1000 kN·m).
constexpr double momentLimit = 1000000000;
// A trial is kept only when its force residual is below this, N (1000 kN).
constexpr double forceLimit = 1000000;

// Distance of each bolt beyond the neutral axis, 0 for one that is not beyond it.
std::array<float, maxBolts + 1> boltDistances(const BaseInput& input, const BoltLayout& layout,
                                              const ElasticCheck& check);

float firstStrip(const BaseInput& input, const ElasticCheck& check);
float lastStripBound(const BaseInput& input);
float nextStrip(float y);

// (d/2)², and the chord of the bearing circle at y; 0 outside the circle. The chord is
// inline: every pass over the strips takes it once a strip.
double radiusSquared(double d);
inline double chord(double radiusSquared, float y) {
    // The square of a single is exact in double: y * y is what pow(y, 2) gives.
    const double yd = y;
    const double arg = radiusSquared - yd * yd;
    // A strip just outside the circle (d/2 not exactly a single) has no width.
    if (arg < 0) return 0.0;
    return 2 * std::sqrt(arg);
}

extern const char* const overflowInSearch;

struct SearchContext {
    SearchContext(const BaseInput& in, const BoltLayout& lay, const ElasticCheck& chk)
        : input(in), layout(lay), check(chk), P(in.P), M(in.M), d(in.d), x0(chk.x0),
          sigmaMin(chk.sigmaMin), n(in.n), partial(chk.x0 < in.d) {}
    const BaseInput& input;
    const BoltLayout& layout;
    const ElasticCheck& check;
    double P, M, d, x0, sigmaMin;
    int n;
    bool partial; // x0 < d: the neutral axis lies inside the circle
};

// Bolt distances and their ratios to bolt 1 (ratios only when b(1) is not 0).
struct BoltData {
    std::array<float, maxBolts + 1> b{};
    std::array<float, maxBolts + 1> r{};
};
BoltData boltData(const SearchContext& ctx);

struct StripSums {
    float C = 0;   // N, bearing resultant, summed in single precision
    double Mc = 0; // N·mm, its moment about the plate centre
};

// What is carried from trial to trial.
struct SearchState {
    double bestF = forceLimit;
    int16_t Tt = 0;
    BestFit best;
};

StripSums integrateStrips(const SearchContext& ctx, double sigma);
double resultantPosition(const StripSums& sums);
// The moment residual for a force t of bolt 1, unchecked.
double momentResidual(const SearchContext& ctx, const BoltData& bolts, double c, int t);
// The reference sweep of the force of bolt 1; false when no force brought the moment
// residual below 1000 kN·m (Tt then keeps its value).
bool sweepBoltForce(const SearchContext& ctx, const BoltData& bolts, double c, int16_t& Tt);
// The sum of the bolt forces for a force Tt of bolt 1, as the bolt sums of a trial make it.
float boltResultant(const SearchContext& ctx, const BoltData& bolts, int16_t Tt);
void finishTrial(const SearchContext& ctx, const BoltData& bolts, double sigma,
                 const StripSums& sums, double c, int16_t Tt, SearchState& state);
void referenceTrial(const SearchContext& ctx, double sigma, SearchState& state);

SearchState startSearch(const SearchContext& ctx, const SearchProgress& progress, float& end);
BestFit endSearch(const SearchContext& ctx, SearchState& state);

} // namespace tarvel::detail
