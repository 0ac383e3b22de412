// Times the checked batch as a plant's export gives it: 10,000 load cases over 100 bases,
// 100 combinations each, checked with the envelope of both methods on 2 threads, through
// runBatch and through the whole command (`tarvel-calc --method envelope --check --csv`).
//
//   build/bench/tarvel_batch_bench [threads] [method]   (default 2 envelope)

#include "checks/methods.h"
#include "loads/loadcases.h"
#include "realistic_cases.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tarvel;

constexpr int bases = 100;
constexpr int combinations = 100;
constexpr int runs = 5;

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Each base with its own loads: the base's P and M scaled by the factors of a combination,
// wind and earthquake either way.
std::vector<LoadCase> plantExport() {
    std::mt19937_64 rng(23);
    std::vector<LoadCase> cases;
    for (int b = 0; b < bases; ++b) {
        const InputTexts base = realisticBase(rng);
        const double P = std::stod(base[0]), M = std::stod(base[1]);
        for (int k = 0; k < combinations; ++k) {
            std::uniform_real_distribution<> factor(0.3, 1.3), sign(-1, 1);
            LoadCase c;
            char name[32];
            std::snprintf(name, sizeof name, "B%d-%d", b + 1, k + 1);
            c.name = name;
            c.inputs = {cases::text(std::round(P * factor(rng))),
                        cases::text(std::round(M * factor(rng) * 10) / 10), base[2], base[3],
                        base[4]};
            if (sign(rng) > 0.5) c.V = cases::text(std::round(std::fabs(P) * 0.05));
            cases.push_back(std::move(c));
        }
    }
    return cases;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const unsigned threads = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 2;
    const std::string methodKey = argc > 2 ? argv[2] : "envelope";
    const std::vector<LoadCase> cases = plantExport();
    DesignInput design;
    if (!methodFromName(methodKey, design.method)) {
        std::fprintf(stderr, "unknown method %s\n", methodKey.c_str());
        return 2;
    }
    BatchOptions options;
    options.withChecks = true;
    options.threads = threads;
    std::vector<double> walls, cpus;
    std::size_t ok = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        const auto out = runBatch(cases, design, options);
        walls.push_back(seconds(std::chrono::steady_clock::now() - start));
        cpus.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        ok = static_cast<std::size_t>(std::count_if(out.begin(), out.end(), [](const auto& o) {
            return o && o->status == CaseStatus::Ok;
        }));
    }
    // The first run also maps the memory of its records, which the later ones may reuse.
    std::printf("runBatch, %s checks, %zu cases over %d bases: %.3f s wall on %u threads "
                "(processor time %.3f s; median of %d; the first %.3f s); %zu computed\n",
                methodKey.c_str(), cases.size(), bases, median(walls), threads, median(cpus), runs,
                walls.front(), ok);

    const std::string path = "/tmp/tarvel_batch_bench_cases.csv";
    std::ofstream csv(path);
    csv << "name,P,M,d,D,n,V\n";
    for (const LoadCase& c : cases)
        csv << c.name << ',' << c.inputs[0] << ',' << c.inputs[1] << ',' << c.inputs[2] << ','
            << c.inputs[3] << ',' << c.inputs[4] << ',' << c.V << '\n';
    csv.close();
    walls.clear();
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::string command = std::string(TARVEL_CALC) + " --method " + methodKey +
                                    " --check --csv " + path + " >/dev/null 2>&1";
        if (std::system(command.c_str()) < 0) std::fprintf(stderr, "%s failed\n", command.c_str());
        walls.push_back(seconds(std::chrono::steady_clock::now() - start));
    }
    std::printf("tarvel-calc --method %s --check --csv of the same: %.3f s (median of 3)\n",
                methodKey.c_str(), median(walls));
    return 0;
}
