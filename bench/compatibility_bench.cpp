// Times the rigid-plate analysis over 10,000 realistic load cases: the state and its texts on
// one thread, and whole batches (with and without the design checks) on two worker threads.
//
//   build/bench/tarvel_compatibility_bench

#include "analysis/compatibility.h"
#include "loads/loadcases.h"
#include "realistic_cases.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using namespace tarvel;

constexpr int caseCount = 10000;

const std::vector<LoadCase>& cases() {
    static const std::vector<LoadCase> all = [] {
        std::mt19937_64 rng(10000);
        std::vector<LoadCase> out(caseCount);
        for (LoadCase& c : out)
            c.inputs = realisticBase(rng);
        return out;
    }();
    return all;
}

void stateAndTexts(benchmark::State& state) {
    const DesignData data = resolveDesign({});
    for (auto _ : state) {
        for (const LoadCase& c : cases()) {
            TextSink sink;
            benchmark::DoNotOptimize(calculateCompatibility(c.inputs, data.ae, data.nE, sink));
        }
    }
}
BENCHMARK(stateAndTexts)->Unit(benchmark::kMillisecond)->UseRealTime();

void batchOnTwoThreads(benchmark::State& state) {
    DesignInput design;
    design.method = AnalysisMethod::Compatibility;
    BatchOptions options;
    options.threads = 2;
    options.withChecks = state.range(0) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(runBatch(cases(), design, options));
}
BENCHMARK(batchOnTwoThreads)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("checks")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
