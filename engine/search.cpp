#include "search.h"

#include "number.h"
#include "search_detail.h"

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

float lastStripBound(const BaseInput& input) { return toSingle(input.d / 2); }

float nextStrip(float y) { return toSingle(static_cast<double>(y) + static_cast<double>(stepY)); }

double chord(double d, float y) {
    const double yd = y;
    const double r = checked(std::pow(d * 0.5, 2));
    const double arg = r - std::pow(yd, 2);
    // A strip just outside the circle (d/2 not exactly a single) has no width.
    if (arg < 0) return 0.0;
    return 2 * std::sqrt(arg);
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
    // Adding the single 0.1 no longer changes a strip position beyond ±2^21 mm.
    const double first = static_cast<float>(input.d / 2 - check.x0);
    const double last = static_cast<float>(input.d / 2);
    if (!std::isfinite(first) || !std::isfinite(last) || first > last) return;
    if (first < -0x1p21 || last >= 0x1p21) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::d,
                          "输入超出可计算的范围：「d(mm)」过大，压应力积分无法结束");
    }
    // A sweep that would take hours is as good as one that never ends.
    const double trials = std::floor(end / stepSigma);
    const double strips = (last - first) / stepY + 1;
    if (trials * strips > maxStripEvaluations) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::None,
                          "输入超出可计算的范围：荷载或直径过大，计算量超过一百亿次积分");
    }
}

SweepFigures sweepFigures(const BaseInput& input, const BoltLayout& layout,
                          const ElasticCheck& check) {
    checkSweepEnds(input, check);
    SweepFigures f;
    const double end = sweepEnd(check);
    for (double sigma = 0.1; sigma <= end; sigma += stepSigma) ++f.trials;
    const float last = lastStripBound(input);
    f.firstY = firstStrip(input, check);
    for (float y = f.firstY; y <= last; y = nextStrip(y)) {
        f.lastY = y;
        ++f.strips;
    }
    f.b1 = boltDistances(input, layout, check)[1];
    return f;
}

BestFit searchEquilibriumReference(const BaseInput& input, const BoltLayout& layout,
                                   const ElasticCheck& check, const SearchProgress& progress) {
    const double P = input.P, M = input.M, d = input.d, x0 = check.x0;
    const double sigmaMin = check.sigmaMin;
    const int n = input.n;
    const bool partial = x0 < d;

    const float end = sweepEnd(check);
    checkSweepEnds(input, check);
    if (progress.range) progress.range(sweepStart, end);

    BestFit best;
    best.qmax = check.sigmaMax;
    best.mms = 0;
    double bestF = 1000000;
    int16_t Tt = 0; // carried from trial to trial

    for (double sigma = 0.1; sigma <= end; sigma += stepSigma) {
        // A. progress
        if (progress.trial) progress.trial(toSingle(sigma));

        // B. bolt distances beyond the neutral axis
        const auto b = boltDistances(input, layout, check);

        // C. strips of the bearing pressure
        float C = 0;
        double Mc = 0;
        const float last = lastStripBound(input);
        for (float y = firstStrip(input, check); y <= last; y = nextStrip(y)) {
            const double w = chord(d, y);
            const double yd = y;
            double s;
            if (partial) {
                s = divide(checked(sigma * ((yd - d / 2) + x0)), x0);
            } else {
                s = checked(sigmaMin + divide(checked((sigma - sigmaMin) * ((yd - d / 2) + x0)), x0));
            }
            const double strip = checked((s * w) * 0.1);
            Mc = checked(Mc + checked(strip * yd));
            C = toSingle(static_cast<double>(C) + strip, overflowInSearch);
        }
        const double c = divide(Mc, C, InputField::None,
                                "计算中出现除以零：底板压应力合力为 0");

        // D. force of bolt 1 that best balances the moments
        double bestM = 1000000000;
        if (b[1] == 0.0f) {
            Tt = 0;
        } else {
            for (int16_t t = 1; t <= 1002; ++t) {
                double Mt = 0;
                for (int i = 1; i <= n; ++i) {
                    const float r = toSingle(static_cast<double>(b[i]) / b[1]);
                    const float rt = toSingle(static_cast<double>(r) * t);
                    Mt = Mt + (rt * (-layout.a[i] + c)) * 1000;
                }
                const double rM = checked((checked(Mt) + P * c) - M);
                if (std::fabs(rM) < bestM) {
                    bestM = std::fabs(rM);
                    Tt = t;
                }
            }
        }

        // E. bolt sums
        float F = 0;
        double Mb = 0;
        if (b[1] != 0.0f) {
            for (int i = 1; i <= n; ++i) {
                const float r = toSingle(static_cast<double>(b[i]) / b[1]);
                const float q = toSingle(static_cast<double>(r) * Tt);
                F = toSingle(static_cast<double>(F) + toSingle(static_cast<double>(q) * 1000));
                Mb = checked(Mb + (q * (0 - layout.a[i])) * 1000);
            }
        }
        // With no bolt force at all the bolt resultant has no position; take 0.
        const float c2 = F == 0.0f ? 0.0f : toSingle(divide(Mb, F));

        // F. force residual, G. keeping the best
        const double rF = checked((P + F) - C);
        if (std::fabs(rF) < bestF) {
            bestF = std::fabs(rF);
            best.qmax = sigma;
            best.T = Tt;
            best.c = c;
            best.c2 = c2;
            best.fq = C;
            best.mq = Mc;
            best.fms = F;
            best.mms = toSingle(Mb);
            best.kept = true;
        }
    }
    // In full compression no bolt is taken to be in tension.
    if (x0 == d) best.T = 0;
    best.residual = bestF;
    return best;
}

BestFit searchEquilibrium(const BaseInput& input, const BoltLayout& layout,
                          const ElasticCheck& check, const SearchProgress& progress) {
    return searchEquilibriumReference(input, layout, check, progress);
}

} // namespace tarvel
