#pragma once

// The check of the proof that lets the fast search skip trials, on one base: every trial is
// computed with the reference steps, and its sums, lever arm, bolt force and force residual
// must lie in the intervals the fast search proved for it before integrating anything; the
// trial the reference keeps must be one of the candidates, and the fast choice of the bolt
// force must be the reference sweep's. Shared by the bounds test and the calculation fuzz
// target.

#include "analysis/calculation.h"
#include "analysis/search_fast.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

namespace tarvel {

inline bool within(double v, detail::Interval i) {
    return v >= i.lo && v <= i.hi;
}

struct BoundsTally {
    std::size_t bases = 0, attempted = 0, proved = 0, trials = 0, candidates = 0;
};

// Empty when every trial the fast search bounds for `a` lies in its intervals, else what
// does not. A failure of the reference steps in a bounded trial breaks its bounds as well.
inline std::string checkTrialBounds(const Analysis& a, BoundsTally& tally) {
    using namespace detail;
    SweepBounds sb;
    try {
        sb = sweepBounds(a.input, a.layout, a.check);
    } catch (const TarvelError&) {
        return ""; // the sweep fails before its first trial
    }
    ++tally.bases;
    if (!sb.attempted) return "";
    ++tally.attempted;
    tally.proved += sb.proved;
    tally.trials += sb.trials.size();
    tally.candidates += sb.candidates.size();

    const SearchContext ctx(a.input, a.layout, a.check);
    const BoltData bolts = boltData(ctx);
    int16_t Tt = 0;
    double bestF = 1000000;
    std::size_t kept = sb.trials.size();
    std::ostringstream out;
    out.precision(17);
    for (std::size_t k = 0; k < sb.trials.size(); ++k) {
        try {
            const TrialBounds& b = sb.trials[k];
            const double sigma = sb.sigmas[k];
            auto fail = [&](const char* what, double v, Interval i) {
                out << "trial " << k + 1 << " (sigma " << sigma << "): " << what << " " << v
                    << " outside [" << i.lo << ", " << i.hi << "]";
            };
            const StripSums sums = integrateStrips(ctx, sigma);
            if (!within(sums.C, b.C)) return fail("C", sums.C, b.C), out.str();
            if (!within(sums.Mc, b.Mc)) return fail("Mc", sums.Mc, b.Mc), out.str();
            const double c = resultantPosition(sums);
            if (!within(c, b.c)) return fail("c", c, b.c), out.str();

            int16_t fastT = Tt;
            const bool fastChose = boltForce(ctx, bolts, c, fastT);
            const bool chose = sweepBoltForce(ctx, bolts, c, Tt);
            if (fastChose != chose || fastT != Tt) {
                out << "trial " << k + 1 << ": fast bolt force " << fastT << (fastChose ? "" : "?")
                    << ", reference " << Tt << (chose ? "" : "?");
                return out.str();
            }
            if ((b.kind == ForceKind::Chosen && !chose) ||
                (b.kind == ForceKind::Carried && chose)) {
                out << "trial " << k + 1 << ": bolt force " << (chose ? "chosen" : "carried")
                    << " against the proof";
                return out.str();
            }
            if (!within(Tt, b.T)) return fail("T", Tt, b.T), out.str();
            const double rF = (ctx.P + boltResultant(ctx, bolts, Tt)) - sums.C;
            if (!within(rF, b.rF) || std::fabs(rF) < b.least || std::fabs(rF) > b.most)
                return fail("rF", rF, b.rF), out.str();
            if (std::fabs(rF) < bestF) {
                bestF = std::fabs(rF);
                kept = k;
            }
        } catch (const TarvelError& e) {
            out << "trial " << k + 1 << ": the reference steps fail: " << e.what();
            return out.str();
        }
    }
    if (sb.proved && kept < sb.trials.size() &&
        !std::binary_search(sb.candidates.begin(), sb.candidates.end(), kept)) {
        out << "trial " << kept + 1 << " is kept but was not a candidate";
        return out.str();
    }
    return "";
}

} // namespace tarvel
