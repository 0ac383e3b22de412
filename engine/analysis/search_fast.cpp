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
// - Most trials cannot be the one kept: bounds on every trial's sums prove which, and only
//   the others are integrated (see "Trials that cannot win" below).
// - Inputs outside the ordinary range, and any trial whose sums are not finite, go through
//   the reference steps, so that every failure is the same failure at the same trial.

#include "analysis/search_fast.h"

#include "core/number.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <immintrin.h>
#include <limits>
#include <thread>
#include <vector>

namespace tarvel {

using namespace detail;

namespace {

constexpr int lanes = 8; // strips or trials in one vector
typedef double Doubles __attribute__((vector_size(lanes * sizeof(double))));
typedef float Singles __attribute__((vector_size(lanes * sizeof(float))));

// The widths and offsets strip by strip, as chord() and the trials make them, several strips
// at once: sqrt(max(arg, 0)) is chord()'s width 0 outside the circle, without a branch. The
// moments are summed in lanes: they only bound the trials, and their rounding in any order
// is within the bounds' margins.
__attribute__((target_clones("avx512f", "avx2", "default"))) void
stripWidths(const double* __restrict y, std::size_t count, double r2, double half, double x0,
            double* __restrict w, double* __restrict u, StripMoments& m) {
    for (std::size_t j = 0; j < count; ++j) {
        const double arg = r2 - y[j] * y[j];
        w[j] = 2 * std::sqrt(arg > 0 ? arg : 0.0);
        u[j] = (y[j] - half) + x0;
    }
    const double perX0 = 0.1 / x0;
    Doubles sw = {}, sg = {}, sgAbs = {}, swy = {}, swyAbs = {}, sgy = {}, sgyAbs = {}, swTri = {},
            sgTri = {}, weight;
    for (int l = 0; l < lanes; ++l)
        weight[l] = static_cast<double>(count) - l;
    for (std::size_t j = 0; j < count; j += lanes) {
        // Lanes past the last strip get no width, so they add nothing to the sums.
        Doubles vy = {}, vw = {}, vu = {};
        const std::size_t here = std::min<std::size_t>(lanes, count - j);
        std::memcpy(&vy, y + j, here * sizeof(double));
        std::memcpy(&vw, w + j, here * sizeof(double));
        std::memcpy(&vu, u + j, here * sizeof(double));
        const Doubles wt = vw * 0.1, g = (vu * vw) * perX0;
        const Doubles ga = g < 0 ? -g : g, ya = vy < 0 ? -vy : vy, gy = g * vy;
        sw += wt;
        sg += g;
        sgAbs += ga;
        swy += wt * vy;
        swyAbs += wt * ya;
        sgy += gy;
        sgyAbs += gy < 0 ? -gy : gy;
        swTri += wt * weight;
        sgTri += ga * weight;
        weight -= lanes;
    }
    m = {};
    for (int l = 0; l < lanes; ++l) {
        m.w += sw[l];
        m.g += sg[l];
        m.gAbs += sgAbs[l];
        m.wy += swy[l];
        m.wyAbs += swyAbs[l];
        m.gy += sgy[l];
        m.gyAbs += sgyAbs[l];
        m.wTri += swTri[l];
        m.gTri += sgTri[l];
    }
    m.strips = count;
}

// The strip positions after y that continue its run of equal steps, written to `out`, up to
// `last`; their count. Within a binade (one sign and one power of two) y is a multiple of the
// binade's spacing, so y + 0.1 rounded is y plus 0.1 rounded to that spacing, the same step
// for every position, as long as the sum stays in the binade (two spacings of margin keep it
// there). Below 1/4 the steps are taken one at a time: at 1/8 ≤ |y| < 1/4 the single 0.1
// lies half-way between two multiples of the spacing and the rounding alternates.
std::size_t stepRun(float y, float last, std::vector<double>& out) {
    const double at = y, size = std::fabs(at);
    if (!(size >= 0.25)) return 0;
    int e;
    std::frexp(size, &e); // size in [2^(e-1), 2^e)
    const double spacing = std::ldexp(1.0, e - 24);
    const double end =
        at > 0 ? std::ldexp(1.0, e) - 2 * spacing : -std::ldexp(1.0, e - 1) - 2 * spacing;
    const double limit = std::min<double>(end, last);
    const double step = static_cast<double>(y + stepY) - at; // exact: both in the binade
    if (!(at + step <= limit)) return 0;
    // Every position and product below is a multiple of the spacing under 2^25 of them: exact.
    auto count = static_cast<std::size_t>((limit - at) / step);
    while (at + static_cast<double>(count) * step > limit)
        --count;
    while (at + static_cast<double>(count + 1) * step <= limit)
        ++count;
    const std::size_t start = out.size();
    out.resize(start + count);
    for (std::size_t k = 1; k <= count; ++k)
        out[start + k - 1] = at + static_cast<double>(k) * step;
    return count;
}

// Fills the table, reusing its storage: calculations follow each other on the same thread.
void fillStripTable(const SearchContext& ctx, StripTable& table) {
    const double r2 = radiusSquared(ctx.d);
    const float last = lastStripBound(ctx.input);
    // The positions one after another: y + stepY in single is nextStrip's single rounding of
    // the double sum (a double holds more than twice a single's digits, so rounding twice
    // rounds as once), without its range check: no position here passes d/2. The runs of
    // equal steps are written at once.
    table.y.clear();
    for (float y = firstStrip(ctx.input, ctx.check); y <= last; y = y + stepY) {
        table.y.push_back(y);
        if (stepRun(y, last, table.y)) y = static_cast<float>(table.y.back());
    }
    const std::size_t count = table.y.size();
    table.w.resize(count);
    table.u.resize(count);
    stripWidths(table.y.data(), count, r2, ctx.d / 2, ctx.x0, table.w.data(), table.u.data(),
                table.moments);
    table.unit.reset();
    table.d = ctx.d;
    table.x0 = ctx.x0;
}

constexpr double sparseTrials = 1 << 18; // most trials whose bounds are held at once
constexpr int groups = 4; // vectors in one pass, to hide the latency of the running sums
constexpr int lanesPerPass = lanes * groups;

// Every lane of v holds x (a -0 stays -0, which adding it to a zero vector would not keep).
#define TARVEL_BROADCAST(v, x)                                                                     \
    for (int l = 0; l < lanes; ++l)                                                                \
    (v)[l] = (x)

// Integrates the strips for a pass of trials at once. Each lane does exactly what the
// reference does for its trial: the single-precision running sum is rounded to single at
// every strip.
__attribute__((target_clones("avx512f", "avx2", "default"))) void
integrateLanes(const double* y, const double* w, const double* u, std::size_t strips,
               const double* sigma, int used, bool partial, double x0, double sigmaMin, double* C,
               double* Mc) {
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

// integrateLanes for AVX-512, the same operations in the same order: written with the
// intrinsics because GCC widens a vector of singles to doubles in four steps, and the single
// rounding of the running resultant is the chain every strip waits for.
// GCC 12 takes the intrinsics' undefined pass-through operand for an uninitialised variable.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
__attribute__((target("avx512f"))) void
integrateLanesAvx512(const double* y, const double* w, const double* u, std::size_t strips,
                     const double* sigma, int used, bool partial, double x0, double sigmaMin,
                     double* C, double* Mc) {
    const __m512d vx0 = _mm512_set1_pd(x0), tenth = _mm512_set1_pd(0.1),
                  vmin = _mm512_set1_pd(sigmaMin);
    __m512d s[groups], c[groups], m[groups];
    for (int g = 0; g < groups; ++g) {
        s[g] = _mm512_loadu_pd(sigma + g * lanes);
        if (!partial) s[g] = _mm512_sub_pd(s[g], vmin);
        c[g] = _mm512_setzero_pd();
        m[g] = _mm512_setzero_pd();
    }
    for (std::size_t j = 0; j < strips; ++j) {
        const __m512d uj = _mm512_set1_pd(u[j]), wj = _mm512_set1_pd(w[j]),
                      yj = _mm512_set1_pd(y[j]);
        for (int g = 0; g < groups; ++g) {
            if (g >= used) break;
            __m512d a = _mm512_div_pd(_mm512_mul_pd(s[g], uj), vx0);
            if (!partial) a = _mm512_add_pd(vmin, a);
            const __m512d t = _mm512_mul_pd(_mm512_mul_pd(a, wj), tenth);
            m[g] = _mm512_add_pd(m[g], _mm512_mul_pd(t, yj));
            c[g] = _mm512_cvtps_pd(_mm512_cvtpd_ps(_mm512_add_pd(c[g], t)));
        }
    }
    for (int g = 0; g < groups; ++g) {
        _mm512_storeu_pd(C + g * lanes, c[g]);
        _mm512_storeu_pd(Mc + g * lanes, m[g]);
    }
}
#pragma GCC diagnostic pop

// integrateLanes for a pass of one or two trials, one scalar chain each: the wide conversions
// of the running resultant take longer than the scalar ones, and a search that proved its
// candidates integrates one or two trials. The same operations in the same order. Not
// vectorised: GCC 12 packs three such chains into pairs and drops the rounding to single.
constexpr std::size_t scalarTrials = 2; // most trials a scalar pass takes

#if defined(__clang__)
#define TARVEL_SCALAR_CHAINS // clang (the fuzzing build) keeps the roundings it is given
#else
#define TARVEL_SCALAR_CHAINS __attribute__((optimize("no-tree-vectorize")))
#endif

//
// With Unit, the pass also makes the exact equilibrium's sums (unitStrips' operations in its
// order): the running resultant leaves the processor idle for most of each strip.
template <int K, bool Unit>
TARVEL_SCALAR_CHAINS void integrateScalar(const double* y, const double* w, const double* u,
                                          std::size_t strips, const double* sigma, bool partial,
                                          double x0, double sigmaMin, double* C, double* Mc,
                                          UnitStrips* unit) {
    double s[K], c[K] = {}, m[K] = {};
    for (int k = 0; k < K; ++k)
        s[k] = partial ? sigma[k] : sigma[k] - sigmaMin;
    UnitStrips e;
    for (std::size_t j = 0; j < strips; ++j) {
        const double uj = u[j], wj = w[j], yj = y[j];
        for (int k = 0; k < K; ++k) {
            double a = (s[k] * uj) / x0;
            if (!partial) a = sigmaMin + a;
            const double t = (a * wj) * 0.1;
            m[k] = m[k] + t * yj;
            c[k] = static_cast<float>(c[k] + t);
        }
        if constexpr (Unit) {
            const double xi = uj / x0;
            e.S1 += wj * xi * 0.1;
            e.S1y += wj * xi * 0.1 * yj;
            e.S0 += wj * (1 - xi) * 0.1;
            e.S0y += wj * (1 - xi) * 0.1 * yj;
        }
    }
    for (int k = 0; k < K; ++k) {
        C[k] = c[k];
        Mc[k] = m[k];
    }
    if constexpr (Unit) *unit = e;
}

// Strip sums of trials [first, last) of `sigmas`, written to C and Mc at the same index.
void integrateRange(const SearchContext& ctx, const StripTable& table,
                    const std::vector<double>& sigmas, std::size_t first, std::size_t last,
                    std::vector<double>& C, std::vector<double>& Mc) {
    if (last > first && last - first <= scalarTrials) {
        const bool unit = !table.unit;
        UnitStrips sums;
        (last - first == 1 ? (unit ? integrateScalar<1, true> : integrateScalar<1, false>)
                           : (unit ? integrateScalar<2, true> : integrateScalar<2, false>))(
            table.y.data(), table.w.data(), table.u.data(), table.y.size(), sigmas.data() + first,
            ctx.partial, ctx.x0, ctx.sigmaMin, C.data() + first, Mc.data() + first, &sums);
        if (unit) table.unit = sums;
        return;
    }
    double sigma[lanesPerPass], c[lanesPerPass], m[lanesPerPass];
    for (std::size_t k = first; k < last; k += lanesPerPass) {
        const std::size_t count = std::min<std::size_t>(lanesPerPass, last - k);
        for (std::size_t l = 0; l < lanesPerPass; ++l)
            sigma[l] = sigmas[k + std::min(l, count - 1)];
        const int used = static_cast<int>((count + lanes - 1) / lanes);
        static const bool avx512 = __builtin_cpu_supports("avx512f");
        (avx512 ? integrateLanesAvx512
                : integrateLanes)(table.y.data(), table.w.data(), table.u.data(), table.y.size(),
                                  sigma, used, ctx.partial, ctx.x0, ctx.sigmaMin, c, m);
        for (std::size_t l = 0; l < count; ++l) {
            C[k + l] = c[l];
            Mc[k + l] = m[l];
        }
    }
}

enum class Sweep { Unproved, Found, NoneBelow };

// Margins of the proofs below; docs/fast-search.md derives each.
// Relative error of a computed moment residual against its straight line, for any force up
// to 1002: the single rounding of r·t (2^-24) dominates; 2^-20 is sixteen times that.
constexpr double residualRounding = 0x1p-20;
// Absolute floor of that error, for residuals that round to nothing.
constexpr double residualFloor = 1e-30;
// Relative error of the computed slope of that line (a sum of at most 100 double terms).
constexpr double slopeRounding = 0x1p-30;
// Relative rounding of the slope and scale of that line from sums over the bolts taken once,
// against the magnitudes of their terms (at most 100 bolts, a few roundings of 2^-53 each).
constexpr double lineSumRounding = 0x1p-44;
// Absolute rounding of a computed zero of that line within the forces 1 to 1002 (about
// 200 roundings of 2^-53 of a force of at most 1002).
constexpr double zeroRounding = 0x1p-20;
// Beyond this the zero of the line is not a force worth searching near.
constexpr double farZero = 1e12;
// Relative error of a line value A t + B computed in double (a few roundings of 2^-53).
constexpr double lineRounding = 0x1p-40;
// Rounding to single of the running resultant: at most 2^-24 of the running sum at each
// strip, so 2^-24 of the sum of the running sums (the strips' *Tri moments).
constexpr double singleRounding = 0x1p-24;
// The cover on that: the double rounding before each single one, the growth of the running
// sums through their own roundings (a factor 1 + 2^-23 per strip), the terms against their
// line and the rounding of the bounding sums themselves.
constexpr double singleCover = 0x1p-20;
constexpr double runningGrowth = 0x1p-23;
// The model's own sums for the resultant: N doubles summed, 2^-53 each, 2^-50 with cover.
constexpr double modelSumRounding = 0x1p-50;
// The same for the double running moment: 2^-53 per strip, 2^-49 with the same cover.
constexpr double doubleSumRounding = 0x1p-49;
// Relative error of one strip's term against the line in the edge stress that bounds it
// (four roundings of 2^-53 each).
constexpr double termRounding = 0x1p-40;
// Absolute rounding of a single sum that has sunk below the normal singles (2^-150 per
// strip, taken as 2^-140).
constexpr double singleUnderflow = 0x1p-140;
// Widening of an interval computed in double (one or two roundings of 2^-53 per end), and
// its floor for ends at or near zero.
constexpr double intervalRounding = 0x1p-50;
constexpr double intervalFloor = 1e-300;
// Above this many strips the single sum's bound is no longer worth proving.
constexpr double maxBoundedStrips = 0x1p22;

// The bolt force of the reference sweep, found from the few forces near the zero of the
// moment residual. Unproved when the bound cannot be established.
Sweep sweepNearZero(const SearchContext& ctx, const BoltData& bolts, double c, int16_t& Tt) {
    double slope = 0, scale = 0; // the residual is about slope * t + (P c - M)
    for (int i = 1; i <= ctx.n; ++i) {
        const double term = static_cast<double>(bolts.r[i]) * (c - ctx.layout.a[i]) * 1000;
        slope += term;
        scale += std::fabs(term);
    }
    const double offset = ctx.P * c - ctx.M;
    if (!std::isfinite(slope) || !std::isfinite(offset) || !(scale > 0) ||
        std::fabs(slope) < 0.5 * scale)
        return Sweep::Unproved;
    const double zero = -offset / slope;
    if (!std::isfinite(zero) || std::fabs(zero) > farZero) return Sweep::Unproved;

    // Bound on the rounding of the computed residual against slope * t + offset.
    const double bound =
        (maxBoltForce * scale + std::fabs(ctx.P * c) + ctx.M) * residualRounding + residualFloor;
    const int start = static_cast<int>(std::clamp<long long>(std::llround(zero), 1, maxBoltForce));
    const double atStart = std::fabs(momentResidual(ctx, bolts, c, start));
    if (!std::isfinite(atStart)) return Sweep::Unproved;
    // A force further than this from the zero has a residual larger than atStart.
    const double reach = (atStart + 2 * bound) / (std::fabs(slope) * (1 - slopeRounding)) + 1;
    const int lo = static_cast<int>(std::max(1.0, std::floor(zero - reach)));
    const int hi = static_cast<int>(std::min<double>(maxBoltForce, std::ceil(zero + reach)));
    if (lo > start || hi < start || hi - lo > 64) return Sweep::Unproved;

    double bestM = momentLimit;
    int found = 0;
    for (int t = lo; t <= hi; ++t) {
        const double rM = std::fabs(momentResidual(ctx, bolts, c, t));
        if (!std::isfinite(rM)) return Sweep::Unproved;
        if (rM < bestM) {
            bestM = rM;
            found = t;
        }
    }
    if (!found) return Sweep::NoneBelow;
    Tt = static_cast<int16_t>(found);
    return Sweep::Found;
}

} // namespace

bool detail::boltForce(const SearchContext& ctx, const BoltData& bolts, double c, int16_t& Tt) {
    if (bolts.b[1] == 0.0f) {
        Tt = 0;
        return true;
    }
    const Sweep near = sweepNearZero(ctx, bolts, c, Tt);
    if (near == Sweep::Unproved) return sweepBoltForce(ctx, bolts, c, Tt);
    return near == Sweep::Found;
}

namespace {

// ---- Trials that cannot win ----
//
// Every trial's sums are enclosed in intervals from sums over the strips taken once: the
// terms of a trial are linear in its edge stress, and the rounding of the running sums is
// bounded (the single sum loses at most 2^-24 of its size at each of N strips). From the
// resultant and its position follow the possible bolt forces, the possible bolt sums and
// so the possible force residual of every trial. Only trials whose residual could be the
// smallest are integrated exactly; every other one is proved to be worse. The exact trials
// are checked against their intervals, and anything unproved falls back to the full sweep.

// The slope A(c) = Σ r_i·(c − a_i)·1000 of the moment residual and its scale
// S(c) = Σ |r_i·(c − a_i)|·1000 for any position c, from sums over the bolts taken once
// (sorted by position, so that the bolts on either side of c are a prefix and a suffix).
// Every trial asks for them twice; the bolts with no force are left out.
class BoltLine {
  public:
    BoltLine(const SearchContext& ctx, const BoltData& bolts) {
        struct Bolt {
            double a, r;
        };
        std::array<Bolt, maxBolts> sorted;
        int count = 0;
        for (int i = 1; i <= ctx.n; ++i)
            if (bolts.r[i] != 0.0f) sorted[count++] = {ctx.layout.a[i], bolts.r[i]};
        std::sort(sorted.begin(), sorted.begin() + count,
                  [](const Bolt& x, const Bolt& y) { return x.a < y.a; });
        count_ = count;
        for (int k = 0; k < count; ++k) {
            a_[k] = sorted[k].a;
            r_[k + 1] = r_[k] + sorted[k].r;
            ra_[k + 1] = ra_[k] + sorted[k].r * sorted[k].a;
            raAbs_ += sorted[k].r * std::fabs(sorted[k].a);
        }
    }

    double slope(double c) const { return (c * r_[count_] - ra_[count_]) * 1000; }
    double scale(double c) const {
        const int k =
            static_cast<int>(std::lower_bound(a_.begin(), a_.begin() + count_, c) - a_.begin());
        return ((c * r_[k] - ra_[k]) + ((ra_[count_] - ra_[k]) - c * (r_[count_] - r_[k]))) * 1000;
    }
    // Bounds the rounding of slope() and scale() against the sums bolt by bolt: the sums of
    // at most 100 terms cancel, so it is taken of the terms' magnitudes.
    double rounding(double c) const {
        return (std::fabs(c) * r_[count_] + raAbs_) * 1000 * lineSumRounding;
    }

  private:
    int count_ = 0;
    std::array<double, maxBolts> a_{};
    std::array<double, maxBolts + 1> r_{}, ra_{}; // prefix sums of r and r·a
    double raAbs_ = 0;
};

class SparseSearch {
  public:
    SparseSearch(const SearchContext& ctx, const BoltData& bolts, const StripTable& table)
        : ctx_(ctx), bolts_(bolts), line_(ctx, bolts), moments_(table.moments) {
        base_ = ctx.partial ? 0.0 : ctx.sigmaMin;
    }

    // The trials that could be kept, in order; false when that cannot be proved.
    bool candidates(const std::vector<double>& sigmas, std::vector<std::size_t>& out) {
        const double N = static_cast<double>(moments_.strips);
        if (moments_.strips == 0 || N > maxBoundedStrips) return false;
        bounds_.clear();
        bounds_.reserve(sigmas.size());
        double best = std::numeric_limits<double>::infinity();
        Interval carried{0, 0}; // Tt starts at 0 and keeps it until a force is chosen
        std::size_t lastChosen = 0;
        for (std::size_t k = 0; k < sigmas.size(); ++k) {
            TrialBounds& b = bounds_.emplace_back();
            if (!bound(sigmas[k], b)) {
                bounds_.pop_back();
                return false;
            }
            b.from = lastChosen;
            if (b.kind == ForceKind::Chosen) {
                carried = b.T;
                lastChosen = k + 1;
            } else if (b.kind == ForceKind::Carried) {
                b.T = carried;
            } else {
                b.T = {std::min(b.T.lo, carried.lo), std::max(b.T.hi, carried.hi)};
                carried = b.T;
                either_.push_back(k);
            }
            residual(b);
            best = std::min(best, b.most);
        }
        const std::size_t most = std::max<std::size_t>(64, sigmas.size() / 4);
        for (std::size_t k = 0; k < sigmas.size(); ++k) {
            if (bounds_[k].least <= best && bounds_[k].least < forceLimit) out.push_back(k);
            if (out.size() > most) return false;
        }
        return either_.size() <= most;
    }

    // Trials whose force may or may not be chosen, in order.
    const std::vector<std::size_t>& either() const { return either_; }

    const TrialBounds& bounds(std::size_t k) const { return bounds_[k]; }
    // Every trial bounded so far, from the first.
    const std::vector<TrialBounds>& bounded() const { return bounds_; }

    float resultant(int t) {
        if (!haveF_[t]) {
            F_[t] = boltResultant(ctx_, bolts_, static_cast<int16_t>(t));
            haveF_[t] = true;
        }
        return F_[t];
    }

  private:
    static Interval widen(Interval v) {
        const double e =
            std::max(std::fabs(v.lo), std::fabs(v.hi)) * intervalRounding + intervalFloor;
        return {v.lo - e, v.hi + e};
    }

    bool bound(double sigma, TrialBounds& b) {
        const StripMoments& m = moments_;
        const double N = static_cast<double>(m.strips);
        const double s = sigma - base_;
        const double cAbs = std::fabs(base_) * m.w + std::fabs(s) * m.gAbs;
        const double cMid = base_ * m.w + s * m.g;
        const double cTri = std::fabs(base_) * m.wTri + std::fabs(s) * m.gTri;
        const double cErr = cTri * singleRounding * (1 + N * runningGrowth) * (1 + singleCover) +
                            cAbs * (N * modelSumRounding + termRounding) + N * singleUnderflow;
        const double mMid = base_ * m.wy + s * m.gy;
        const double mErr = (std::fabs(base_) * m.wyAbs + std::fabs(s) * m.gyAbs) *
                                (N * doubleSumRounding + termRounding) +
                            intervalFloor;
        b.C = {cMid - cErr, cMid + cErr};
        b.Mc = {mMid - mErr, mMid + mErr};
        if (!(b.C.lo > 0) || !std::isfinite(b.C.hi) || !std::isfinite(b.Mc.lo) ||
            !std::isfinite(b.Mc.hi))
            return false;
        b.c = widen({std::min(b.Mc.lo / b.C.lo, b.Mc.lo / b.C.hi),
                     std::max(b.Mc.hi / b.C.lo, b.Mc.hi / b.C.hi)});
        return forceRange(b.c, b);
    }

    void residual(TrialBounds& b) {
        const double Flo = resultant(static_cast<int>(b.T.lo));
        const double Fhi = resultant(static_cast<int>(b.T.hi));
        b.rF = widen({(ctx_.P + Flo) - b.C.hi, (ctx_.P + Fhi) - b.C.lo});
        b.rF.lo -= (std::fabs(ctx_.P) + Fhi) * intervalRounding;
        b.rF.hi += (std::fabs(ctx_.P) + Fhi) * intervalRounding;
        b.least = b.rF.lo > 0 ? b.rF.lo : b.rF.hi < 0 ? -b.rF.hi : 0;
        b.most = std::max(std::fabs(b.rF.lo), std::fabs(b.rF.hi));
    }

    // What the sweep of the bolt force does for any position in `c`: it chooses a force in
    // b.T, or it finds no residual below 1000 kN·m, or one of the two. False when even that
    // cannot be bounded.
    bool forceRange(Interval c, TrialBounds& b) {
        if (bolts_.b[1] == 0.0f) {
            b.kind = ForceKind::Chosen;
            b.T = {0, 0};
            return true;
        }
        double A[2], B[2], Sabs[2];
        const double ends[2] = {c.lo, c.hi};
        for (int e = 0; e < 2; ++e) {
            A[e] = line_.slope(ends[e]);
            Sabs[e] = line_.scale(ends[e]);
            B[e] = ctx_.P * ends[e] - ctx_.M;
        }
        const double cMax = std::max(std::fabs(c.lo), std::fabs(c.hi));
        // The slopes and scales are off the sums bolt by bolt by at most this.
        const double lineError = line_.rounding(cMax);
        const double Smax = std::max(Sabs[0], Sabs[1]) + lineError;
        if (!std::isfinite(Smax) || !std::isfinite(B[0]) || !std::isfinite(B[1])) return false;
        // Bound on the rounding of a computed residual against A t + B, and on what the
        // rounding of A moves the line over forces up to 1002.
        const double E =
            (maxBoltForce * Smax + std::fabs(ctx_.P) * cMax + ctx_.M) * residualRounding +
            residualFloor + 2 * maxBoltForce * lineError;
        const double limit = momentLimit;

        // For each position the line values for t in [1, 1002] lie between A + B and
        // 1002 A + B, both linear in the position: the ends of the interval decide.
        bool above = true, below = true;
        for (int e = 0; e < 2; ++e) {
            const double v1 = A[e] + B[e], v2 = maxBoltForce * A[e] + B[e];
            above = above &&
                    std::min(v1, v2) * (1 - lineRounding) - E >= limit * (1 + residualRounding);
            below = below &&
                    std::max(v1, v2) * (1 - lineRounding) + E <= -limit * (1 + residualRounding);
        }
        if (above || below) {
            b.kind = ForceKind::Carried;
            return true;
        }

        // Otherwise a chosen force lies near the zero of the line.
        const double Amin = std::min(std::fabs(A[0]), std::fabs(A[1]));
        const double Amax = std::max(std::fabs(A[0]), std::fabs(A[1]));
        if (!(A[0] * A[1] > 0) || Amin < 0.5 * Smax || Amin <= lineError) return false;
        double tc[2], gap[2];
        for (int e = 0; e < 2; ++e) {
            tc[e] = std::clamp<double>(-B[e] / A[e], 1, maxBoltForce);
            if (!std::isfinite(tc[e])) return false;
            gap[e] = std::fabs(A[e] * tc[e] + B[e]); // how far the line stays from 0
        }
        // The gap is convex in the position, so its ends bound it. A gap near the limit
        // leaves open whether this trial chooses a force at all.
        const bool sure = std::max(gap[0], gap[1]) * (1 + lineRounding) + 0.5 * Amax + E <
                          limit * (1 - residualRounding);
        // The chosen force is within half a step of the zero, plus what the rounding of the
        // residual can move it (2E/|A|), plus the rounding of the zero itself.
        const double w = 0.5 + 3 * E / Amin + zeroRounding;
        b.kind = sure ? ForceKind::Chosen : ForceKind::Either;
        b.T.lo = std::max(1.0, std::ceil(std::min(tc[0], tc[1]) - w));
        b.T.hi = std::min<double>(maxBoltForce, std::floor(std::max(tc[0], tc[1]) + w));
        return true;
    }

    const SearchContext& ctx_;
    const BoltData& bolts_;
    BoltLine line_;
    StripMoments moments_;
    double base_ = 0;
    std::vector<TrialBounds> bounds_;
    std::vector<std::size_t> either_;
    std::array<float, maxBoltForce + 1> F_{};
    std::array<bool, maxBoltForce + 1> haveF_{};
};

// Runs the search on the trials that can win only. False, with nothing reported or
// changed, when that cannot be proved.
bool searchCandidates(const SearchContext& ctx, const BoltData& bolts, const StripTable& table,
                      const std::vector<double>& sigmas, const SearchProgress& progress,
                      SearchState& state) {
    SparseSearch sparse(ctx, bolts, table);
    std::vector<std::size_t> chosen;
    if (!sparse.candidates(sigmas, chosen)) return false;

    // The trials integrated exactly: the candidates, and for a candidate whose force is
    // carried over, the trial it is carried from.
    std::vector<std::size_t> exactTrials;
    for (std::size_t k : chosen) {
        const TrialBounds& b = sparse.bounds(k);
        if (b.kind != ForceKind::Chosen) {
            // Its force comes from the last trial known to choose one, or from a trial in
            // between that may.
            if (b.from) exactTrials.push_back(b.from - 1);
            const auto& either = sparse.either();
            for (auto it = std::lower_bound(either.begin(), either.end(), b.from);
                 it != either.end() && *it < k; ++it)
                exactTrials.push_back(*it);
        }
        exactTrials.push_back(k);
    }
    std::sort(exactTrials.begin(), exactTrials.end());
    exactTrials.erase(std::unique(exactTrials.begin(), exactTrials.end()), exactTrials.end());

    struct Exact {
        StripSums sums;
        double c;
        int16_t T;
    };
    std::vector<Exact> exact;
    std::vector<double> sig(exactTrials.size()), C(exactTrials.size()), Mc(exactTrials.size());
    for (std::size_t i = 0; i < exactTrials.size(); ++i)
        sig[i] = sigmas[exactTrials[i]];
    integrateRange(ctx, table, sig, 0, sig.size(), C, Mc);
    int16_t Tt = 0;
    for (std::size_t i = 0; i < exactTrials.size(); ++i) {
        const TrialBounds& b = sparse.bounds(exactTrials[i]);
        // C[i] holds a single exactly; narrowing it back rounds nothing.
        Exact e{{static_cast<float>(C[i]), Mc[i]}, 0, 0};
        if (!(e.sums.C >= b.C.lo && e.sums.C <= b.C.hi && e.sums.Mc >= b.Mc.lo &&
              e.sums.Mc <= b.Mc.hi))
            return false;
        e.c = resultantPosition(e.sums);
        const bool chose = boltForce(ctx, bolts, e.c, Tt);
        if ((b.kind == ForceKind::Chosen && !chose) || (b.kind == ForceKind::Carried && chose))
            return false;
        e.T = Tt;
        if (e.T < b.T.lo || e.T > b.T.hi) return false;
        const double rF = (ctx.P + sparse.resultant(e.T)) - e.sums.C;
        if (!(rF >= b.rF.lo && rF <= b.rF.hi)) return false;
        exact.push_back(e);
    }
    // Proved: every other trial has a larger force residual than one of the candidates.
    if (progress.trial)
        for (double sigma : sigmas)
            progress.trial(toSingle(sigma));
    std::size_t next = 0;
    for (std::size_t i = 0; i < exactTrials.size(); ++i) {
        if (next >= chosen.size() || exactTrials[i] != chosen[next]) continue;
        ++next;
        state.Tt = exact[i].T;
        finishTrial(ctx, bolts, sigmas[exactTrials[i]], exact[i].sums, exact[i].c, exact[i].T,
                    state);
    }
    return true;
}

// Inputs for which no intermediate value can leave the range of a double or a single
// before a trial's sums are checked, and whose strip table stays small (a plate of up to
// 100 m has a million strips).
bool ordinary(const SearchContext& ctx, float end) {
    auto within = [](double v, double limit) { return std::isfinite(v) && std::fabs(v) <= limit; };
    return within(ctx.P, 1e20) && within(ctx.M, 1e20) && ctx.d > 1e-3 && ctx.d <= maxTabledPlate &&
           ctx.x0 > 1e-6 && end <= 1e9f && within(ctx.sigmaMin, 1e9);
}

} // namespace

BestFit searchEquilibrium(const BaseInput& input, const BoltLayout& layout,
                          const ElasticCheck& check, const SearchProgress& progress, int threads) {
    return detail::fastSearch(input, layout, check, progress, {threads, true});
}

BestFit detail::fastSearch(const BaseInput& input, const BoltLayout& layout,
                           const ElasticCheck& check, const SearchProgress& progress,
                           const FastSearchOptions& options) {
    int threads = options.threads;
    const SearchContext ctx(input, layout, check);
    if (!ordinary(ctx, sweepEnd(check)))
        return searchEquilibriumReference(input, layout, check, progress);
    // A bolt distance beyond a single fails in the first trial: the reference loops fail
    // there. Products with huge distances are checked by the steps shared with them.
    BoltData bolts;
    try {
        bolts = boltData(ctx);
    } catch (const TarvelError&) {
        return searchEquilibriumReference(input, layout, check, progress);
    }

    float end;
    SearchState state = startSearch(ctx, progress, end);
    // A reference: the helper thread below must see this thread's table.
    const StripTable& table = stripTable(ctx);

    // The trials that cannot win are proved so when the sweep is of a size to hold in memory.
    if (options.skipTrials && end <= sparseTrials * stepSigma) {
        std::vector<double> sigmas;
        // The same double stresses as the reference loops (from the double 0.1, not sweepStart).
        for (double sigma = 0.1; sigma <= end; sigma += stepSigma)
            sigmas.push_back(sigma);
        if (searchCandidates(ctx, bolts, table, sigmas, progress, state))
            return endSearch(ctx, state);
    }

    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // Blocks keep the progress reports flowing during a long sweep, and the memory small.
    const std::size_t block = std::max<std::size_t>(64, 4'000'000 / (table.y.size() + 1));
    std::vector<double> sigmas, C(block), Mc(block);
    double next = 0.1; // the double 0.1 of the reference loops, not sweepStart
    while (next <= end) {
        sigmas.clear();
        for (; next <= end && sigmas.size() < block; next += stepSigma)
            sigmas.push_back(next);
        const std::size_t count = sigmas.size();
        if (threads > 1 && count * table.y.size() > 2'000'000) {
            // Lanes do not interact: how the trials are shared out changes no bit.
            const std::size_t half = (count / 2 + lanesPerPass - 1) / lanesPerPass * lanesPerPass;
            std::thread helper([&] { integrateRange(ctx, table, sigmas, half, count, C, Mc); });
            integrateRange(ctx, table, sigmas, 0, std::min(half, count), C, Mc);
            helper.join();
        } else {
            integrateRange(ctx, table, sigmas, 0, count, C, Mc);
        }

        for (std::size_t k = 0; k < count; ++k) {
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
            boltForce(ctx, bolts, c, state.Tt);
            finishTrial(ctx, bolts, sigma, sums, c, state.Tt, state);
        }
    }
    return endSearch(ctx, state);
}

const StripTable& detail::stripTable(const SearchContext& ctx) {
    thread_local StripTable table;
    // Compared bit for bit: the table is a function of d and x0 alone.
    if (std::bit_cast<std::uint64_t>(table.d) != std::bit_cast<std::uint64_t>(ctx.d) ||
        std::bit_cast<std::uint64_t>(table.x0) != std::bit_cast<std::uint64_t>(ctx.x0) ||
        table.x0 == 0)
        fillStripTable(ctx, table);
    return table;
}

const UnitStrips& detail::unitStrips(const StripTable& table) {
    if (!table.unit) {
        const double x0 = table.x0;
        UnitStrips s;
        for (std::size_t j = 0; j < table.y.size(); ++j) {
            const double yd = table.y[j];
            const double w = table.w[j];
            const double xi = table.u[j] / x0;
            s.S1 += w * xi * 0.1;
            s.S1y += w * xi * 0.1 * yd;
            s.S0 += w * (1 - xi) * 0.1;
            s.S0y += w * (1 - xi) * 0.1 * yd;
        }
        table.unit = s;
    }
    return *table.unit;
}

SweepBounds detail::sweepBounds(const BaseInput& input, const BoltLayout& layout,
                                const ElasticCheck& check) {
    // The same conditions under which fastSearch tries the proof.
    SweepBounds out;
    const SearchContext ctx(input, layout, check);
    const float end = sweepEnd(check);
    if (!ordinary(ctx, end) || end > sparseTrials * stepSigma) return out;
    BoltData bolts;
    try {
        bolts = boltData(ctx);
    } catch (const TarvelError&) {
        return out;
    }
    checkSweepEnds(input, check);
    StripTable table;
    fillStripTable(ctx, table);
    for (double sigma = 0.1; sigma <= end; sigma += stepSigma) // as the reference loops do
        out.sigmas.push_back(sigma);
    SparseSearch sparse(ctx, bolts, table);
    out.attempted = true;
    out.proved = sparse.candidates(out.sigmas, out.candidates);
    out.trials = sparse.bounded();
    return out;
}

} // namespace tarvel
