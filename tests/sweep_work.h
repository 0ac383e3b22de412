#pragma once

// How much work a calculation's sweep is, from the engine's own figures (sweepSize): the
// fuzz targets, the bounds test and the window's stress session use it to keep each case
// short.

#include "analysis/calculation.h"
#include "analysis/search_detail.h"

#include <algorithm>

namespace tarvel {

// Strip and bolt-force evaluations of the reference loops: every trial integrates its
// strips and sweeps 1002 forces of every bolt. A sweep that fails before its first trial
// counts 0, one without strips (it fails in its first trial) one trial.
inline double sweepWork(const Analysis& a) {
    if (a.check.refused) return 0;
    SweepSize size;
    try {
        checkSweepEnds(a.input, a.check);
        size = sweepSize(a.input, a.check);
    } catch (const TarvelError&) {
        return 0;
    }
    const double perTrial = size.strips + detail::maxBoltForce * std::max(0, int{a.input.n});
    return size.strips == 0 ? perTrial : size.trials * perTrial;
}

} // namespace tarvel
