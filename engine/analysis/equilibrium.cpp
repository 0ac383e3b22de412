#include "analysis/equilibrium.h"

#include "analysis/search_detail.h"
#include "analysis/search_fast.h"
#include "core/number.h"

#include <cmath>

namespace tarvel {

namespace {

using detail::UnitStrips;

UnitStrips unitStrips(const Analysis& a) {
    const double d = a.input.d, x0 = a.check.x0;
    if (d > 0 && d <= detail::maxTabledPlate) {
        // The search's own strips: no width taken twice. The same operations on the same
        // numbers as the loop below.
        return detail::unitStrips(
            detail::stripTable(detail::SearchContext(a.input, a.layout, a.check)));
    }
    const double r2 = detail::radiusSquared(d);
    const float last = detail::lastStripBound(a.input);
    UnitStrips s;
    for (float y = detail::firstStrip(a.input, a.check); y <= last; y = detail::nextStrip(y)) {
        const double yd = y;
        const double w = detail::chord(r2, y);
        // The share of the edge stress at this strip: 0 at the neutral axis, 1 at the edge.
        const double xi = ((yd - d / 2) + x0) / x0;
        s.S1 += w * xi * 0.1;
        s.S1y += w * xi * 0.1 * yd;
        s.S0 += w * (1 - xi) * 0.1;
        s.S0y += w * (1 - xi) * 0.1 * yd;
    }
    return s;
}

} // namespace

std::vector<float> boltDistancesBeyondAxis(const Analysis& a) {
    const auto b = detail::boltDistances(a.input, a.layout, a.check);
    return std::vector<float>(b.begin(), b.begin() + std::max<int>(a.input.n, 0) + 1);
}

std::vector<float> boltForces(const Analysis& a, int T) {
    const detail::SearchContext ctx(a.input, a.layout, a.check);
    const detail::BoltData bolts = detail::boltData(ctx);
    std::vector<float> forces(std::max<int>(a.input.n, 0) + 1, 0.0f);
    if (bolts.b[1] == 0.0f) return forces;
    for (int i = 1; i <= a.input.n; ++i)
        forces[i] = toSingle(static_cast<double>(bolts.r[i]) * T);
    return forces;
}

RefinedEquilibrium solveEquilibrium(const Analysis& a) {
    using Status = RefinedEquilibrium::Status;
    RefinedEquilibrium out;
    const double P = a.input.P, M = a.input.M, x0 = a.check.x0, sigmaMin = a.check.sigmaMin;
    const bool partial = x0 < a.input.d;
    if (!(x0 > 0) || !std::isfinite(x0)) return out;
    const UnitStrips s = unitStrips(a);

    // Bolt forces are ratio × T (kN); their resultant and moment per kN of bolt 1 (N, N·mm).
    const auto b = detail::boltDistances(a.input, a.layout, a.check);
    double R = 0, Rm = 0;
    if (b[1] != 0.0f) {
        for (int i = 1; i <= a.input.n; ++i) {
            const double r = static_cast<double>(b[i]) / b[1];
            if (r > 0) ++out.boltsInTension;
            R += r * 1000;
            Rm += r * 1000 * -a.layout.a[i];
        }
    }
    // What σmin carries in full compression is fixed; the unknowns carry the rest.
    const double fixedC = partial ? 0.0 : sigmaMin * s.S0;
    const double fixedMc = partial ? 0.0 : sigmaMin * s.S0y;
    const double restP = P - fixedC, restM = M - fixedMc;

    if (!partial || out.boltsInTension == 0) {
        // No bolt is taken to be in tension: T = 0, the forces alone fix qmax.
        if (s.S1 == 0) return out;
        out.status = Status::ForceOnly;
        out.qmax = restP / s.S1;
        out.T = 0;
    } else {
        // qmax·S1 − T·R = P − fixedC;  qmax·S1y + T·Rm = M − fixedMc.
        const double det = s.S1 * Rm + R * s.S1y;
        if (det == 0 || !std::isfinite(det)) return out;
        out.status = Status::Solved;
        out.qmax = (restP * Rm + R * restM) / det;
        out.T = (s.S1 * restM - s.S1y * restP) / det;
    }
    if (out.qmax < 0 || out.T < 0) out.status = Status::NoEquilibrium;
    out.C = (out.qmax * s.S1 + fixedC) / 1000;
    out.Mc = (out.qmax * s.S1y + fixedMc) / 1000000;
    out.F = out.T * R / 1000;
    out.Mb = out.T * Rm / 1000000;
    out.forceSum = out.C - out.F;
    out.momentSum = out.Mc + out.Mb;
    return out;
}

} // namespace tarvel
