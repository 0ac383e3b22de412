// The fast search: the same trials, the same operations in the same order on the same
// precisions, so the same bits as the reference loops; only what is repeated is not.
//
// - Bolt distances, ratios, strip positions and chord widths are the same in every trial:
//   they are computed once.
// - The strips of many trials are integrated together, one trial per SIMD lane, and blocks
//   of trials are shared between the cores. Trials depend on each other only through the
//   carried bolt force and the keeping of the best, which run afterwards in trial order.
// - The moment residual is almost linear in the bolt force, so only the forces near its
//   zero are evaluated exactly; a bound on the rounding error proves that every other force
//   has a larger residual. Where the bound cannot be established the full sweep runs.
// - Inputs outside the ordinary range, and any trial whose sums are not finite, go through
//   the reference steps, so that every failure is the same failure at the same trial.

#include "number.h"
#include "search_detail.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

namespace tarvel {

using namespace detail;

namespace {

struct StripTable {
    std::vector<double> y, w, u; // position, chord width, (y - d/2) + x0
};

// Fills the table, reusing its storage: calculations follow each other on the same thread.
void fillStripTable(const SearchContext& ctx, StripTable& table) {
    table.y.clear();
    table.w.clear();
    table.u.clear();
    const double r2 = radiusSquared(ctx.d);
    const float last = lastStripBound(ctx.input);
    for (float y = firstStrip(ctx.input, ctx.check); y <= last; y = nextStrip(y)) {
        const double yd = y;
        table.y.push_back(yd);
        table.w.push_back(chord(r2, y));
        table.u.push_back((yd - ctx.d / 2) + ctx.x0);
    }
}

constexpr int lanes = 8;  // trials in one vector
constexpr int groups = 4; // vectors in one pass, to hide the latency of the running sums
constexpr int lanesPerPass = lanes * groups;
typedef double Doubles __attribute__((vector_size(lanes * sizeof(double))));
typedef float Singles __attribute__((vector_size(lanes * sizeof(float))));

// Every lane of v holds x (a -0 stays -0, which adding it to a zero vector would not keep).
#define TARVEL_BROADCAST(v, x)                                                                     \
    for (int l = 0; l < lanes; ++l) (v)[l] = (x)

// Integrates the strips for a pass of trials at once. Each lane does exactly what the
// reference does for its trial: the single-precision running sum is rounded to single at
// every strip.
__attribute__((target_clones("avx512f", "avx2", "default"))) void
integrateLanes(const double* y, const double* w, const double* u, std::size_t strips,
               const double* sigma, int used, bool partial, double x0, double sigmaMin,
               double* C, double* Mc) {
    const Doubles zero = {};
    Doubles vx0, tenth, vmin;
    TARVEL_BROADCAST(vx0, x0);
    TARVEL_BROADCAST(tenth, 0.1);
    TARVEL_BROADCAST(vmin, sigmaMin);
    Doubles s[groups], c[groups], m[groups];
    for (int g = 0; g < groups; ++g) {
        std::memcpy(&s[g], sigma + g * lanes, sizeof s[g]);
        if (!partial) s[g] = s[g] - vmin;
        c[g] = zero;
        m[g] = zero;
    }
    for (std::size_t j = 0; j < strips; ++j) {
        Doubles uj, wj, yj;
        TARVEL_BROADCAST(uj, u[j]);
        TARVEL_BROADCAST(wj, w[j]);
        TARVEL_BROADCAST(yj, y[j]);
        for (int g = 0; g < groups; ++g) {
            if (g >= used) break; // a short last pass does not pay for empty vectors
            Doubles a = (s[g] * uj) / vx0;
            if (!partial) a = vmin + a;
            const Doubles t = (a * wj) * tenth;
            m[g] = m[g] + t * yj;
            c[g] = __builtin_convertvector(__builtin_convertvector(c[g] + t, Singles), Doubles);
        }
    }
    for (int g = 0; g < groups; ++g) {
        std::memcpy(C + g * lanes, &c[g], sizeof c[g]);
        std::memcpy(Mc + g * lanes, &m[g], sizeof m[g]);
    }
}

// Strip sums of trials [first, last) of `sigmas`, written to C and Mc at the same index.
void integrateRange(const SearchContext& ctx, const StripTable& table,
                    const std::vector<double>& sigmas, std::size_t first, std::size_t last,
                    std::vector<double>& C, std::vector<double>& Mc) {
    double sigma[lanesPerPass], c[lanesPerPass], m[lanesPerPass];
    for (std::size_t k = first; k < last; k += lanesPerPass) {
        const std::size_t count = std::min<std::size_t>(lanesPerPass, last - k);
        for (std::size_t l = 0; l < lanesPerPass; ++l) sigma[l] = sigmas[k + std::min(l, count - 1)];
        const int used = static_cast<int>((count + lanes - 1) / lanes);
        integrateLanes(table.y.data(), table.w.data(), table.u.data(), table.y.size(), sigma, used,
                       ctx.partial, ctx.x0, ctx.sigmaMin, c, m);
        for (std::size_t l = 0; l < count; ++l) {
            C[k + l] = c[l];
            Mc[k + l] = m[l];
        }
    }
}

// The bolt force of the reference sweep, found from the few forces near the zero of the
// moment residual. Returns false when that cannot be proved; the caller then sweeps in full.
bool sweepNearZero(const SearchContext& ctx, const BoltData& bolts, double c, int16_t& Tt) {
    double slope = 0, scale = 0; // the residual is about slope * t + (P c - M)
    for (int i = 1; i <= ctx.n; ++i) {
        const double term = static_cast<double>(bolts.r[i]) * (c - ctx.layout.a[i]) * 1000;
        slope += term;
        scale += std::fabs(term);
    }
    const double offset = ctx.P * c - ctx.M;
    if (!std::isfinite(slope) || !std::isfinite(offset) || !(scale > 0) ||
        std::fabs(slope) < 0.5 * scale)
        return false;
    const double zero = -offset / slope;
    if (!std::isfinite(zero) || std::fabs(zero) > 1e12) return false;

    // Bound on the rounding of the computed residual against slope * t + offset, for any
    // force up to 1002: the single rounding of r*t dominates; 2^-20 leaves a wide margin.
    const double bound = (maxBoltForce * scale + std::fabs(ctx.P * c) + ctx.M) * 0x1p-20 + 1e-30;
    const int start = static_cast<int>(std::clamp(std::llround(zero), 1LL, 1002LL));
    const double atStart = std::fabs(momentResidual(ctx, bolts, c, start));
    if (!std::isfinite(atStart)) return false;
    // A force further than this from the zero has a residual larger than atStart.
    const double reach = (atStart + 2 * bound) / (std::fabs(slope) * (1 - 0x1p-30)) + 1;
    const int lo = static_cast<int>(std::max(1.0, std::floor(zero - reach)));
    const int hi = static_cast<int>(std::min(1002.0, std::ceil(zero + reach)));
    if (lo > start || hi < start || hi - lo > 64) return false;

    double bestM = 1000000000;
    int found = 0;
    for (int t = lo; t <= hi; ++t) {
        const double rM = std::fabs(momentResidual(ctx, bolts, c, t));
        if (!std::isfinite(rM)) return false;
        if (rM < bestM) {
            bestM = rM;
            found = t;
        }
    }
    if (found) Tt = static_cast<int16_t>(found);
    return true;
}

// Inputs for which no intermediate value can leave the range of a double or a single
// before a trial's sums are checked.
bool ordinary(const SearchContext& ctx, float end) {
    auto within = [](double v, double limit) { return std::isfinite(v) && std::fabs(v) <= limit; };
    return within(ctx.P, 1e20) && within(ctx.M, 1e20) && ctx.d > 1e-3 && ctx.d <= 1e7 &&
           within(ctx.input.D, 1e7) && ctx.x0 > 1e-6 && end <= 1e9f &&
           within(ctx.sigmaMin, 1e9);
}

} // namespace

BestFit searchEquilibrium(const BaseInput& input, const BoltLayout& layout,
                          const ElasticCheck& check, const SearchProgress& progress, int threads) {
    const SearchContext ctx(input, layout, check);
    if (!ordinary(ctx, sweepEnd(check)))
        return searchEquilibriumReference(input, layout, check, progress);

    float end;
    SearchState state = startSearch(ctx, progress, end);
    const BoltData bolts = boltData(ctx);
    thread_local StripTable cache;
    StripTable& table = cache; // the helper thread below must see this thread's table
    fillStripTable(ctx, table);
    std::vector<double> sigmas;
    for (double sigma = 0.1; sigma <= end; sigma += stepSigma) sigmas.push_back(sigma);

    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // Blocks keep the progress reports flowing during a long sweep.
    const std::size_t block = std::max<std::size_t>(64, 4'000'000 / (table.y.size() + 1));
    std::vector<double> C(sigmas.size()), Mc(sigmas.size());
    for (std::size_t first = 0; first < sigmas.size(); first += block) {
        const std::size_t last = std::min(sigmas.size(), first + block);
        const std::size_t work = (last - first) * table.y.size();
        if (threads > 1 && work > 2'000'000) {
            // Lanes do not interact: how the trials are shared out changes no bit.
            const std::size_t half =
                first + ((last - first) / 2 + lanesPerPass - 1) / lanesPerPass * lanesPerPass;
            std::thread helper([&] { integrateRange(ctx, table, sigmas, half, last, C, Mc); });
            integrateRange(ctx, table, sigmas, first, std::min(half, last), C, Mc);
            helper.join();
        } else {
            integrateRange(ctx, table, sigmas, first, last, C, Mc);
        }

        for (std::size_t k = first; k < last; ++k) {
            const double sigma = sigmas[k];
            if (progress.trial) progress.trial(toSingle(sigma));
            // C[k] holds a single exactly; narrowing it back rounds nothing.
            const StripSums sums{static_cast<float>(C[k]), Mc[k]};
            if (!std::isfinite(sums.C) || !std::isfinite(sums.Mc) || sums.C == 0.0f) {
                // Something left the range: the reference steps fail here as they should.
                referenceTrial(ctx, sigma, state);
                continue;
            }
            const double c = resultantPosition(sums);
            if (bolts.b[1] == 0.0f)
                state.Tt = 0;
            else if (!sweepNearZero(ctx, bolts, c, state.Tt))
                sweepBoltForce(ctx, bolts, c, state.Tt);
            finishTrial(ctx, bolts, sigma, sums, c, state.Tt, state);
        }
    }
    return endSearch(ctx, state);
}

} // namespace tarvel
