// Times the reference search and the fast search side by side, and a batch of realistic load
// cases through `tarvel-calc --csv` against the reference search over the same cases.
//
//   build/bench/tarvel_bench                       all three comparisons
//   TARVEL_BATCH_SAMPLE=1 build/bench/tarvel_bench  the batch reference over every case

#include "analysis/calculation.h"
#include "realistic_cases.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace tarvel;

const InputTexts heavy{"20000", "1000", "800", "900", "100"};

BestFit reference(const Analysis& p) {
    return searchEquilibriumReference(p.input, p.layout, p.check);
}
BestFit fast(const Analysis& p) {
    return searchEquilibrium(p.input, p.layout, p.check);
}

template <BestFit (*Search)(const Analysis&)>
void run(benchmark::State& state, const InputTexts& texts) {
    const Analysis p = analyze(texts);
    for (auto _ : state)
        benchmark::DoNotOptimize(Search(p));
}

void referenceDefault(benchmark::State& s) {
    run<reference>(s, defaultInputs);
}
void fastDefault(benchmark::State& s) {
    run<fast>(s, defaultInputs);
}
void referenceHeavy(benchmark::State& s) {
    run<reference>(s, heavy);
}
void fastHeavy(benchmark::State& s) {
    run<fast>(s, heavy);
}

BENCHMARK(referenceDefault)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(fastDefault)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(referenceHeavy)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(fastHeavy)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Median wall time of a whole search, for the ratio lines.
double medianSeconds(BestFit (*search)(const Analysis&), const InputTexts& texts, int runs) {
    const Analysis p = analyze(texts);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(search(p));
        times.push_back(seconds(std::chrono::steady_clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void batch() {
    constexpr int cases = 10000;
    std::mt19937_64 rng(7);
    std::vector<InputTexts> rows;
    const std::string path = "/tmp/tarvel_bench_cases.csv";
    std::ofstream csv(path);
    csv << "P,M,d,D,n\n";
    for (int i = 0; i < cases; ++i) {
        rows.push_back(realisticBase(rng));
        const InputTexts& t = rows.back();
        csv << t[0] << ',' << t[1] << ',' << t[2] << ',' << t[3] << ',' << t[4] << '\n';
    }
    csv.close();

    std::vector<double> walls;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::string command =
            std::string(TARVEL_CALC) + " --csv " + path + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "tarvel-calc --csv failed\n");
        walls.push_back(seconds(std::chrono::steady_clock::now() - start));
    }
    std::sort(walls.begin(), walls.end());

    // The reference over the same cases one after another (every n-th case, scaled up).
    const char* env = std::getenv("TARVEL_BATCH_SAMPLE");
    const int every = env ? std::max(1, std::atoi(env)) : 10;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < cases; i += every) {
        const Analysis p = analyze(rows[i]);
        if (!p.check.refused) {
            try {
                benchmark::DoNotOptimize(reference(p));
            } catch (const TarvelError&) {
            }
        }
    }
    const double referenceTime = seconds(std::chrono::steady_clock::now() - start) * every;
    std::printf("batch of %d cases: tarvel-calc --csv %.3f s (median of 3), reference %.1f s%s,"
                " ratio %.1f\n",
                cases, walls[1], referenceTime, every > 1 ? " (scaled from a sample)" : "",
                referenceTime / walls[1]);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double refDefault = medianSeconds(reference, defaultInputs, 51);
    const double fastDef = medianSeconds(fast, defaultInputs, 51);
    const double refHeavy = medianSeconds(reference, heavy, 11);
    const double fastHvy = medianSeconds(fast, heavy, 11);
    std::printf("\nmachine: %u cores\n", std::thread::hardware_concurrency());
    std::printf("default inputs: reference %.0f us, fast %.0f us, ratio %.1f\n", refDefault * 1e6,
                fastDef * 1e6, refDefault / fastDef);
    std::printf("P=20000 M=1000 d=800 D=900 n=100: reference %.1f ms, fast %.2f ms, ratio %.1f\n",
                refHeavy * 1e3, fastHvy * 1e3, refHeavy / fastHvy);
    batch();
    return 0;
}
