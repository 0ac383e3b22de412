#include "analysis/search.h"

#include "analysis/search_detail.h"
#include "core/number.h"

#include <cmath>

namespace tarvel {

namespace detail {

const double stepSigma = 0.1;
const float stepY = 0.1f;

std::array<float, maxBolts + 1> boltDistances(const BaseInput& input, const BoltLayout& layout,
                                              const ElasticCheck& check) {
    std::array<float, maxBolts + 1> b{};
    for (int i = 1; i <= input.n; ++i) {
        const double e = -layout.a[i] + input.d / 2;
        b[i] = e > check.x0 ? toSingle(e - check.x0) : 0.0f;
    }
    return b;
}

float firstStrip(const BaseInput& input, const ElasticCheck& check) {
    return toSingle(input.d / 2 - check.x0);
}

float lastStripBound(const BaseInput& input) {
    return toSingle(input.d / 2);
}

float nextStrip(float y) {
    return toSingle(static_cast<double>(y) + static_cast<double>(stepY));
}

double radiusSquared(double d) {
    return checked(std::pow(d * 0.5, 2));
}

const char* const overflowInSearch = "计算溢出：搜索中的数值超出范围";

} // namespace detail

using namespace detail;

float sweepEnd(const ElasticCheck& check) {
    const char* what = "计算溢出：底板边缘应力超出单精度范围";
    return toSingle(static_cast<double>(toSingle(check.sigmaMax, what)) + 1.0, what);
}

void checkSweepEnds(const BaseInput& input, const ElasticCheck& check) {
    const double end = sweepEnd(check);
    // Adding the double 0.1 no longer changes a trial stress from 2^50 upwards.
    if (end >= 0x1p50) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::None,
                          "输入超出可计算的范围：底板边缘应力过大，搜索无法结束");
    }
    // Adding the single 0.1 no longer changes a strip position beyond ±2^21 mm. (Positions
    // beyond a single fail in the first trial, where they arise.)
    float first, last;
    if (!roundToSingle(input.d / 2 - check.x0, first) || !roundToSingle(input.d / 2, last) ||
        first > last)
        return;
    if (first < -0x1p21f || last >= 0x1p21f) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::d,
                          "输入超出可计算的范围：「d(mm)」过大，压应力积分无法结束");
    }
    // A sweep that would take hours is as good as one that never ends.
    const SweepSize size = sweepSize(input, check);
    if (size.trials > maxTrials) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::None,
                          "输入超出可计算的范围：底板边缘应力超过 1000000 N/mm²，计算量过大");
    }
    if (size.trials * size.strips > maxStripEvaluations) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::None,
                          "输入超出可计算的范围：荷载或直径过大，计算量超过一百亿次积分");
    }
}

SweepSize sweepSize(const BaseInput& input, const ElasticCheck& check) {
    SweepSize size;
    size.trials = std::floor(sweepEnd(check) / stepSigma);
    float first, last;
    if (roundToSingle(input.d / 2 - check.x0, first) && roundToSingle(input.d / 2, last) &&
        first <= last)
        size.strips = (static_cast<double>(last) - first) / stepY + 1;
    return size;
}

SweepFigures sweepFigures(const BaseInput& input, const BoltLayout& layout,
                          const ElasticCheck& check) {
    checkSweepEnds(input, check);
    SweepFigures f;
    const double end = sweepEnd(check);
    // The trial stress is a double from the double 0.1; sweepStart, its single rounding, is
    // only the start of the progress range.
    for (double sigma = 0.1; sigma <= end; sigma += stepSigma)
        ++f.trials;
    const float last = lastStripBound(input);
    f.firstY = firstStrip(input, check);
    for (float y = f.firstY; y <= last; y = nextStrip(y)) {
        f.lastY = y;
        ++f.strips;
    }
    f.b1 = boltDistances(input, layout, check)[1];
    return f;
}

namespace detail {

BoltData boltData(const SearchContext& ctx) {
    BoltData bolts;
    bolts.b = boltDistances(ctx.input, ctx.layout, ctx.check);
    if (bolts.b[1] != 0.0f) {
        for (int i = 1; i <= ctx.n; ++i)
            bolts.r[i] = toSingle(static_cast<double>(bolts.b[i]) / bolts.b[1]);
    }
    return bolts;
}

StripSums integrateStrips(const SearchContext& ctx, double sigma) {
    const double d = ctx.d, x0 = ctx.x0;
    StripSums sums;
    const double r2 = radiusSquared(d);
    const float last = lastStripBound(ctx.input);
    for (float y = firstStrip(ctx.input, ctx.check); y <= last; y = nextStrip(y)) {
        const double w = chord(r2, y);
        const double yd = y;
        double s;
        if (ctx.partial) {
            s = divide(checked(sigma * ((yd - d / 2) + x0)), x0);
        } else {
            s = checked(ctx.sigmaMin +
                        divide(checked((sigma - ctx.sigmaMin) * ((yd - d / 2) + x0)), x0));
        }
        const double strip = checked((s * w) * 0.1);
        sums.Mc = checked(sums.Mc + checked(strip * yd));
        sums.C = toSingle(static_cast<double>(sums.C) + strip, overflowInSearch);
    }
    return sums;
}

double resultantPosition(const StripSums& sums) {
    return divide(sums.Mc, sums.C, InputField::None, "计算中出现除以零：底板压应力合力为 0");
}

double momentResidual(const SearchContext& ctx, const BoltData& bolts, double c, int t) {
    double Mt = 0;
    for (int i = 1; i <= ctx.n; ++i) {
        const float rt = toSingle(static_cast<double>(bolts.r[i]) * t);
        Mt = Mt + (rt * (-ctx.layout.a[i] + c)) * 1000;
    }
    return (Mt + ctx.P * c) - ctx.M;
}

bool sweepBoltForce(const SearchContext& ctx, const BoltData& bolts, double c, int16_t& Tt) {
    if (bolts.b[1] == 0.0f) {
        Tt = 0;
        return true;
    }
    double bestM = momentLimit;
    bool found = false;
    for (int16_t t = 1; t <= maxBoltForce; ++t) {
        const double rM = checked(momentResidual(ctx, bolts, c, t));
        if (std::fabs(rM) < bestM) {
            bestM = std::fabs(rM);
            Tt = t;
            found = true;
        }
    }
    return found;
}

float boltResultant(const SearchContext& ctx, const BoltData& bolts, int16_t Tt) {
    float F = 0;
    if (bolts.b[1] != 0.0f) {
        for (int i = 1; i <= ctx.n; ++i) {
            const float q = toSingle(static_cast<double>(bolts.r[i]) * Tt);
            F = toSingle(static_cast<double>(F) + toSingle(static_cast<double>(q) * 1000));
        }
    }
    return F;
}

void finishTrial(const SearchContext& ctx, const BoltData& bolts, double sigma,
                 const StripSums& sums, double c, int16_t Tt, SearchState& state) {
    // E. bolt sums
    float F = 0;
    double Mb = 0;
    if (bolts.b[1] != 0.0f) {
        for (int i = 1; i <= ctx.n; ++i) {
            const float q = toSingle(static_cast<double>(bolts.r[i]) * Tt);
            F = toSingle(static_cast<double>(F) + toSingle(static_cast<double>(q) * 1000));
            Mb = checked(Mb + (q * (0 - ctx.layout.a[i])) * 1000);
        }
    }
    // With no bolt force at all the bolt resultant has no position; take 0.
    const float c2 = F == 0.0f ? 0.0f : toSingle(divide(Mb, F));

    // F. force residual, G. keeping the best; ties go to the earlier trial
    const double rF = checked((ctx.P + F) - sums.C);
    if (std::fabs(rF) < state.bestF) {
        state.bestF = std::fabs(rF);
        BestFit& best = state.best;
        best.qmax = sigma;
        best.T = Tt;
        best.c = c;
        best.c2 = c2;
        best.fq = sums.C;
        best.mq = sums.Mc;
        best.fms = F;
        best.mms = toSingle(Mb);
        best.kept = true;
    }
}

SearchState startSearch(const SearchContext& ctx, const SearchProgress& progress, float& end) {
    end = sweepEnd(ctx.check);
    checkSweepEnds(ctx.input, ctx.check);
    if (progress.range) progress.range(sweepStart, end);
    SearchState state;
    state.best.qmax = ctx.check.sigmaMax;
    state.best.mms = 0;
    return state;
}

BestFit endSearch(const SearchContext& ctx, SearchState& state) {
    // In full compression no bolt is taken to be in tension.
    if (ctx.x0 == ctx.d) state.best.T = 0;
    state.best.residual = state.bestF;
    return state.best;
}

void referenceTrial(const SearchContext& ctx, double sigma, SearchState& state) {
    const BoltData bolts = boltData(ctx);
    const StripSums sums = integrateStrips(ctx, sigma);
    const double c = resultantPosition(sums);
    sweepBoltForce(ctx, bolts, c, state.Tt);
    finishTrial(ctx, bolts, sigma, sums, c, state.Tt, state);
}

} // namespace detail

BestFit searchEquilibriumReference(const BaseInput& input, const BoltLayout& layout,
                                   const ElasticCheck& check, const SearchProgress& progress) {
    const SearchContext ctx(input, layout, check);
    float end;
    SearchState state = startSearch(ctx, progress, end);
    // The double 0.1, not sweepStart: the trial stresses accumulate the double's rounding.
    for (double sigma = 0.1; sigma <= end; sigma += stepSigma) {
        if (progress.trial) progress.trial(toSingle(sigma));
        referenceTrial(ctx, sigma, state);
    }
    return endSearch(ctx, state);
}

} // namespace tarvel
