// The fast search against the reference loops: every field of the kept state bit for bit,
// every progress report, and every failure, on seeded random column bases and on the cases
// that take the unusual branches.
//
// TARVEL_EQUIVALENCE_CASES sets the number of random bases (default 20000);
// TARVEL_SWEEP_SHARD runs a part of them (sweep_shard.h).

#include "best_fit_diff.h"
#include "calculation.h"
#include "realistic_cases.h"
#include "search_fast.h"
#include "sweep_shard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace tarvel;

namespace {

struct Run {
    BestFit fit;
    std::vector<float> progress;
    float first = 0, last = 0;
    std::optional<std::string> failure;
};

template <typename Search> Run run(const InputTexts& t, Search search) {
    Run r;
    const Analysis a = analyze(t);
    SearchProgress progress{[&](float a, float b) { r.first = a, r.last = b; },
                            [&](float s) { r.progress.push_back(s); }};
    try {
        r.fit = search(a.input, a.layout, a.check, progress);
    } catch (const TarvelError& e) {
        r.failure = std::string(errorKindName(e.kind())) + ": " + e.what();
    }
    return r;
}

bool refused(const InputTexts& t) {
    return analyze(t).check.refused;
}

// Empty when the two runs agree in every bit, else what differs.
std::string compare(const Run& a, const Run& b) {
    std::string out = bestFitDifferences(a.fit, b.fit);
    if (a.progress != b.progress || a.first != b.first || a.last != b.last) out += "progress ";
    if (a.failure != b.failure)
        out += "failure(" + a.failure.value_or("") + "|" + b.failure.value_or("") + ") ";
    return out;
}

// Compares the fast search, and that search with every trial integrated, with the reference.
std::string agree(const InputTexts& t, int threads = 1, bool dense = true) {
    const Run ref = run(t, [](auto&... a) { return searchEquilibriumReference(a...); });
    auto fast = [threads](bool sparse) {
        return [threads, sparse](const BaseInput& i, const BoltLayout& l, const ElasticCheck& c,
                                 const SearchProgress& p) {
            return detail::fastSearch(i, l, c, p, {threads, sparse});
        };
    };
    std::string diff = compare(ref, run(t, fast(true)));
    if (dense) {
        const std::string denseDiff = compare(ref, run(t, fast(false)));
        if (!denseDiff.empty()) diff += "[every trial] " + denseDiff;
    }
    return diff;
}

TEST(Equivalence, SeededRandomBases) {
    const char* env = std::getenv("TARVEL_EQUIVALENCE_CASES");
    const int cases = env ? std::atoi(env) : 20000;
    std::vector<InputTexts> inputs;
    std::mt19937_64 rng(20261207);
    while (static_cast<int>(inputs.size()) < cases) {
        InputTexts t = inputs.size() % 2 ? broadBase(rng) : realisticBase(rng);
        if (!refused(t)) inputs.push_back(t);
    }
    const SweepShard shard = sweepShard();
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::vector<std::string> failures;
    auto worker = [&] {
        for (std::size_t k; (k = next++) < inputs.size();) {
            if (!shard.mine(k)) continue;
            const std::string diff = agree(inputs[k], k % 50 == 0 ? 2 : 1, k % 4 == 0);
            if (!diff.empty()) {
                const InputTexts& t = inputs[k];
                std::lock_guard lock(mutex);
                failures.push_back(t[0] + " " + t[1] + " " + t[2] + " " + t[3] + " " + t[4] + ": " +
                                   diff);
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < shard.threads; ++i)
        pool.emplace_back(worker);
    for (auto& th : pool)
        th.join();
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << inputs.size()
                                  << " differ, first: " << failures.front();
}

struct EdgeRow {
    const char* name;
    InputTexts inputs;
};

class EquivalenceEdges : public testing::TestWithParam<EdgeRow> {};

TEST_P(EquivalenceEdges, SameBitsSameFailures) {
    EXPECT_EQ(agree(GetParam().inputs, 2), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, EquivalenceEdges,
    testing::Values(
        EdgeRow{"Defaults", {"1000", "1000", "1520", "1620", "18"}},
        EdgeRow{"FullCompression", {"1000", "0", "1520", "1620", "18"}},
        EdgeRow{"StripOutsideCircle", {"1000", "0", "1520.3", "1620", "18"}},
        EdgeRow{"NoBolts", {"1000", "1000", "1520", "1620", "0"}},
        EdgeRow{"NegativeBoltCount", {"1000", "1000", "1520", "1620", "-3"}},
        EdgeRow{"NoTrialKept", {"-1000", "1000", "1520", "1620", "0"}},
        EdgeRow{"BoltCircleInside", {"1000", "1000", "1520", "1000", "18"}},
        EdgeRow{"NegativeBoltCircle", {"1000", "1000", "1520", "-1620", "18"}},
        // The moment needs more than 1002 kN in bolt 1: the force stops at 1002.
        EdgeRow{"BoltForceAtItsEnd", {"0", "1500", "1520", "1620", "4"}},
        // No force brings the moment residual below 1000 kN·m: the force is carried over.
        EdgeRow{"CarriedBoltForce", {"0", "2500", "1520", "1620", "4"}},
        EdgeRow{"CarriedAfterSet", {"-2000", "2600", "1520", "1620", "4"}},
        EdgeRow{"ManyTrials", {"200000", "1000", "1520", "1620", "18"}},
        EdgeRow{"TinyPlate", {"10", "1", "50", "60", "4"}},
        EdgeRow{"HugePlate", {"100000", "100000", "20000", "20500", "100"}},
        EdgeRow{"ZeroCompressionLength", {"-8000", "1000", "1000", "1620", "18"}},
        EdgeRow{"NegativeDiameter", {"1000", "1000", "-1520", "1620", "18"}},
        EdgeRow{"NoLoad", {"0", "0", "1520", "1620", "18"}},
        EdgeRow{"MinusZeroLoad", {"-0", "0", "1520", "1620", "18"}},
        EdgeRow{"BoltCircleFarOut", {"1000", "1000", "1520", "1e20", "18"}},
        EdgeRow{"FarBoltsManyTrials", {"1e5", "0", "100", "1e20", "4"}},
        EdgeRow{"BoltMomentOverflows", {"1000", "1000", "1520", "1e306", "18"}},
        EdgeRow{"BoltDistanceBeyondSingle", {"1000", "1000", "1520", "1e300", "18"}},
        EdgeRow{"BoltsFarOnTheCompressedSide", {"1000", "1000", "1520", "-1e300", "1"}},
        EdgeRow{"HugeLoadFallsBack", {"1e14", "1000", "1520", "1620", "18"}},
        EdgeRow{"EdgeStressBeyondSingle", {"1e36", "0", "1", "1620", "18"}}),
    [](const testing::TestParamInfo<EdgeRow>& info) { return std::string(info.param.name); });

} // namespace
