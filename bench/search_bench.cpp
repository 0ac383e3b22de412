// Times the reference search and the fast search side by side.

#include "calculation.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tarvel;

struct Prepared {
    BaseInput input;
    BoltLayout layout;
    ElasticCheck check;
};

Prepared prepare(const InputTexts& t) {
    Prepared p;
    p.input = makeBaseInput(t[0], t[1], t[2], t[3], t[4]);
    p.layout = layOutBolts(p.input);
    p.check = checkElastic(p.input);
    return p;
}

const InputTexts heavy{"20000", "1000", "800", "900", "100"};

template <BestFit (*Search)(const BaseInput&, const BoltLayout&, const ElasticCheck&,
                            const SearchProgress&)>
void run(benchmark::State& state, const InputTexts& texts) {
    const Prepared p = prepare(texts);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Search(p.input, p.layout, p.check, {}));
    }
}

void referenceDefault(benchmark::State& s) { run<searchEquilibriumReference>(s, defaultInputs); }
void fastDefault(benchmark::State& s) { run<searchEquilibrium>(s, defaultInputs); }
void referenceHeavy(benchmark::State& s) { run<searchEquilibriumReference>(s, heavy); }
void fastHeavy(benchmark::State& s) { run<searchEquilibrium>(s, heavy); }

BENCHMARK(referenceDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(fastDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(referenceHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(fastHeavy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
