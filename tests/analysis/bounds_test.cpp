// The proof that lets the fast search skip trials, checked trial by trial on seeded random
// bases (trial_bounds.h says what is checked).
//
// TARVEL_BOUNDS_CASES sets the number of bases (default 3000); TARVEL_SWEEP_SHARD runs a part
// of them (sweep_shard.h).

#include "analysis/calculation.h"
#include "realistic_cases.h"
#include "sweep_shard.h"
#include "sweep_work.h"
#include "trial_bounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace tarvel;

namespace {

// Bases far from design as well: plates from 1 mm to 5 m, bolt circles on either side of
// the plate or through the centre, loads over eight orders of magnitude.
InputTexts wideBase(std::mt19937_64& rng) {
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<>(lo, hi)(rng);
    };
    const double d = std::pow(10, uniform(0, 3.7));
    const double D = rng() % 8 == 0 ? -d * uniform(0, 2) : d * uniform(0, 2);
    const int n = static_cast<int>(rng() % 103) - 2;
    const double P = (rng() % 3 == 0 ? -1 : 1) * std::pow(10, uniform(-3, 5));
    const double M = rng() % 6 == 0 ? 0 : std::pow(10, uniform(-3, 4));
    return {cases::text(P), cases::text(M), cases::text(d), cases::text(D), std::to_string(n)};
}

TEST(TrialBounds, HoldForEveryTrial) {
    const char* env = std::getenv("TARVEL_BOUNDS_CASES");
    const int cases = env ? std::atoi(env) : 3000;
    // Every trial is integrated with the reference steps: bases beyond this are skipped.
    constexpr double workLimit = 2e7;
    std::mt19937_64 rng(20261212);
    std::vector<InputTexts> inputs;
    while (static_cast<int>(inputs.size()) < cases) {
        const int kind = static_cast<int>(inputs.size() % 3);
        const InputTexts t = kind == 0   ? realisticBase(rng)
                             : kind == 1 ? broadBase(rng)
                                         : wideBase(rng);
        try {
            const Analysis a = analyze(t);
            if (!a.check.refused && sweepWork(a) <= workLimit) inputs.push_back(t);
        } catch (const TarvelError&) {
        }
    }

    const SweepShard shard = sweepShard();
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::vector<std::string> failures;
    BoundsTally total;
    auto worker = [&] {
        BoundsTally tally;
        for (std::size_t k; (k = next++) < inputs.size();) {
            if (!shard.mine(k)) continue;
            const std::string diff = checkTrialBounds(analyze(inputs[k]), tally);
            if (!diff.empty()) {
                const InputTexts& t = inputs[k];
                std::lock_guard lock(mutex);
                failures.push_back(t[0] + " " + t[1] + " " + t[2] + " " + t[3] + " " + t[4] + ": " +
                                   diff);
            }
        }
        std::lock_guard lock(mutex);
        total.bases += tally.bases;
        total.attempted += tally.attempted;
        total.proved += tally.proved;
        total.trials += tally.trials;
        total.candidates += tally.candidates;
    };
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < shard.threads; ++i)
        pool.emplace_back(worker);
    for (auto& th : pool)
        th.join();

    std::printf("%zu bases, %zu bounded by the fast search (%zu proved), %zu trials checked, "
                "%zu of them candidates\n",
                total.bases, total.attempted, total.proved, total.trials, total.candidates);
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << inputs.size()
                                  << " break the bounds, first: " << failures.front();
    // Not vacuous: most bases are bounded and proved.
    EXPECT_GE(total.attempted * 4, total.bases * 3);
    EXPECT_GE(total.proved * 2, total.attempted);
}

// The engine's estimate of a sweep's size, which keeps the fuzz targets and these tests
// short, against what the loops count.
TEST(SweepSize, EstimatesWhatTheLoopsCount) {
    for (const InputTexts& t :
         {defaultInputs, InputTexts{"1000", "0", "1520", "1620", "18"},
          InputTexts{"100", "0", "4000", "1620", "18"}, InputTexts{"10", "1", "50", "60", "4"}}) {
        const Analysis a = analyze(t);
        const SweepFigures f = sweepFigures(a.input, a.layout, a.check);
        const SweepSize size = sweepSize(a.input, a.check);
        EXPECT_NEAR(size.trials, f.trials, 1) << t[2];
        EXPECT_NEAR(size.strips, f.strips, 1 + f.strips * 3e-4) << t[2];
    }
    // No strip at all: the first strip lies beyond the last (a negative plate).
    const Analysis negative = analyze({"1", "0", "-100", "120", "4"});
    EXPECT_EQ(sweepSize(negative.input, negative.check).strips, 0);
}

// The cases of the equivalence table that the proof handles, one by one.
TEST(TrialBounds, HoldOnTheDefaultsAndTheCarriedForces) {
    for (const InputTexts& t :
         {defaultInputs, InputTexts{"0", "2500", "1520", "1620", "4"},
          InputTexts{"-2000", "2600", "1520", "1620", "4"},
          InputTexts{"0", "1500", "1520", "1620", "4"}, InputTexts{"10", "1", "50", "60", "4"}}) {
        BoundsTally tally;
        EXPECT_EQ(checkTrialBounds(analyze(t), tally), "") << t[0] << " " << t[1];
        EXPECT_EQ(tally.attempted, 1u) << t[0] << " " << t[1];
    }
}

} // namespace
