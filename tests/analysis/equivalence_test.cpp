// The fast search against the reference loops: every field of the kept state bit for bit,
// every progress report, and every failure, on seeded random column bases and on the cases
// that take the unusual branches.
//
// The reference loops take most of a sweep's time, so the sweep compares most of its bases
// with the reference's runs as recorded in tests/data/equivalence-reference.txt (a digest of
// every bit of each run), and runs the reference itself on every 20th base, where it must
// still give its recorded run. Environment:
//   TARVEL_EQUIVALENCE_CASES   the number of random bases (default 20000);
//   TARVEL_EQUIVALENCE_LIVE=1  the reference run on every base (make sweep, CI);
//   TARVEL_EQUIVALENCE_RECORD=FILE  writes the reference's digests (make equivalence-record);
//   TARVEL_SWEEP_SHARD         a part of the bases (sweep_shard.h).

#include "analysis/calculation.h"
#include "analysis/search_fast.h"
#include "best_fit_diff.h"
#include "realistic_cases.h"
#include "sweep_shard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace tarvel;

namespace {

struct SearchRun {
    BestFit fit;
    std::vector<float> progress;
    float first = 0, last = 0;
    std::optional<std::string> failure;
};

template <typename Search> SearchRun run(const InputTexts& t, Search search) {
    SearchRun r;
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
std::string compare(const SearchRun& a, const SearchRun& b) {
    std::string out = bestFitDifferences(a.fit, b.fit);
    if (a.progress != b.progress || a.first != b.first || a.last != b.last) out += "progress ";
    if (a.failure != b.failure)
        out += "failure(" + a.failure.value_or("") + "|" + b.failure.value_or("") + ") ";
    return out;
}

// Every bit of a run (FNV-1a): the kept state, the progress reports and the failure.
std::uint64_t digest(const SearchRun& r) {
    std::uint64_t h = 14695981039346656037ull;
    auto bytes = [&h](const void* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            h ^= static_cast<const unsigned char*>(p)[i];
            h *= 1099511628211ull;
        }
    };
    auto field = [&bytes](auto v) { bytes(&v, sizeof v); };
    const BestFit& f = r.fit;
    field(f.qmax), field(f.T), field(f.c), field(f.c2), field(f.fq), field(f.mq);
    field(f.fms), field(f.mms), field(f.residual), field(f.kept);
    field(r.first), field(r.last), field(r.progress.size());
    bytes(r.progress.data(), r.progress.size() * sizeof(float));
    field(r.failure.has_value());
    if (r.failure) bytes(r.failure->data(), r.failure->size());
    return h;
}

SearchRun runReference(const InputTexts& t) {
    return run(t, [](auto&... a) { return searchEquilibriumReference(a...); });
}

SearchRun runFast(const InputTexts& t, int threads, bool sparse) {
    return run(t, [threads, sparse](const BaseInput& i, const BoltLayout& l, const ElasticCheck& c,
                                    const SearchProgress& p) {
        return detail::fastSearch(i, l, c, p, {threads, sparse});
    });
}

// Compares the fast search, and that search with every trial integrated, with the reference.
std::string agreeWith(const SearchRun& ref, const InputTexts& t, int threads, bool dense) {
    std::string diff = compare(ref, runFast(t, threads, true));
    if (dense) {
        const std::string denseDiff = compare(ref, runFast(t, threads, false));
        if (!denseDiff.empty()) diff += "[every trial] " + denseDiff;
    }
    return diff;
}

std::string agree(const InputTexts& t, int threads = 1, bool dense = true) {
    return agreeWith(runReference(t), t, threads, dense);
}

// The same against a recorded reference run: empty when every bit agrees.
std::string agreeWithRecord(const InputTexts& t, std::uint64_t reference, int threads, bool dense) {
    std::string diff;
    if (digest(runFast(t, threads, true)) != reference) diff += "fast ";
    if (dense && digest(runFast(t, threads, false)) != reference) diff += "[every trial] ";
    if (!diff.empty())
        diff += "differ from the recorded reference run (TARVEL_EQUIVALENCE_LIVE=1 "
                "names the fields)";
    return diff;
}

const std::string recordPath = std::string(TARVEL_TEST_DATA) + "/equivalence-reference.txt";
// Every this many bases the reference runs, recorded or not.
constexpr std::size_t liveEvery = 20;

// The recorded digests, one per base in the order of the seed; lines with # are comments.
std::vector<std::uint64_t> readRecord() {
    std::vector<std::uint64_t> out;
    std::ifstream in(recordPath);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        out.push_back(std::stoull(line, nullptr, 16));
    }
    return out;
}

void writeRecord(const std::string& path, const std::vector<std::uint64_t>& digests) {
    std::ofstream out(path);
    out << "# The reference loops' run on each seeded base of Equivalence.SeededRandomBases:\n"
           "# FNV-1a of the kept state, the progress reports and the failure, in the seed's "
           "order.\n# Written by make equivalence-record; only a change of the reference loops "
           "or of\n# the seeded bases changes it.\n";
    for (std::uint64_t d : digests)
        out << std::hex << std::setw(16) << std::setfill('0') << d << '\n';
}

TEST(Equivalence, SeededRandomBases) {
    const char* env = std::getenv("TARVEL_EQUIVALENCE_CASES");
    const int cases = env ? std::atoi(env) : 20000;
    const char* record = std::getenv("TARVEL_EQUIVALENCE_RECORD");
    const bool live = record || std::getenv("TARVEL_EQUIVALENCE_LIVE");
    std::vector<InputTexts> inputs;
    std::mt19937_64 rng(20261207);
    while (static_cast<int>(inputs.size()) < cases) {
        InputTexts t = inputs.size() % 2 ? broadBase(rng) : realisticBase(rng);
        if (!refused(t)) inputs.push_back(t);
    }
    const std::vector<std::uint64_t> recorded =
        record ? std::vector<std::uint64_t>{} : readRecord();
    std::vector<std::uint64_t> digests(record ? inputs.size() : 0);
    const SweepShard shard = record ? SweepShard{} : sweepShard();
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::vector<std::string> failures;
    auto worker = [&] {
        for (std::size_t k; (k = next++) < inputs.size();) {
            if (!shard.mine(k)) continue;
            const InputTexts& t = inputs[k];
            const int threads = k % 50 == 0 ? 2 : 1;
            const bool dense = k % 4 == 0;
            std::string diff;
            if (live || k % liveEvery == 0 || k >= recorded.size()) {
                const SearchRun ref = runReference(t);
                if (record) digests[k] = digest(ref);
                if (k < recorded.size() && digest(ref) != recorded[k])
                    diff += "the reference loops no longer give their recorded run (if that is "
                            "meant: make equivalence-record) ";
                diff += agreeWith(ref, t, threads, dense);
            } else {
                diff = agreeWithRecord(t, recorded[k], threads, dense);
            }
            if (!diff.empty()) {
                std::lock_guard lock(mutex);
                failures.push_back("base " + std::to_string(k) + " (" + t[0] + " " + t[1] + " " +
                                   t[2] + " " + t[3] + " " + t[4] + "): " + diff);
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
    if (record) writeRecord(record, digests);
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

// The strip positions, written a run of equal steps at a time, against the steps one at a
// time: plates from a hundredth of a millimetre to 100 m, neutral axes anywhere on them.
TEST(StripTable, PositionsAreTheStepsOneAtATime) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<> exponent(-2, 5), share(0.001, 1);
    for (int i = 0; i < 601; ++i) {
        BaseInput in;
        in.d = std::pow(10, exponent(rng));
        ElasticCheck check;
        check.x0 = i % 5 == 0 ? in.d : in.d * share(rng);
        if (i == 600) {
            // From -2 - 3·Δ (Δ: 0.1 to the spacing of [2, 4)) up: the sum that reaches -2
            // falls below 2 in size, where the spacing is finer, and is not -2.
            in.d = 10;
            check.x0 = 7 + 3 * 419430 * 0x1p-22;
        }
        const BoltLayout layout;
        const detail::SearchContext ctx(in, layout, check);
        std::vector<double> expected;
        const float last = detail::lastStripBound(in);
        for (float y = detail::firstStrip(in, check); y <= last; y = detail::nextStrip(y))
            expected.push_back(y);
        ASSERT_EQ(detail::stripTable(ctx).y, expected) << "d " << in.d << " x0 " << check.x0;
    }
}
