// Times the sizing of the project of docs/load-table.png (its 50 combinations, the default
// design) with a 1020×16 tube over the default ranges, and the checked batch of 10,000
// realistic load cases through `tarvel-calc --check --csv`.
//
//   build/bench/tarvel_sizing_bench [threads] [method]   (default 2, the design's method)

#include "checks/methods.h"
#include "realistic_cases.h"
#include "sizing/sizing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace tarvel;

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The loads of the load table's screenshot.
Project screenshotProject(const char* tubeSteel) {
    Project p;
    p.d = "1520";
    p.D = "1620";
    p.n = "18";
    const char* kinds[] = {"1.3G+1.5Q", "1.3G+1.5W", "1.0G+1.5W", "1.2G+1.3E"};
    for (int k = 0; k < 50; ++k)
        p.loads.push_back({std::string(kinds[k % 4]) + " #" + std::to_string(k / 4 + 1),
                           std::to_string(500 + (k * 373) % 4000),
                           std::to_string(200 + (k * 531) % 3200), k % 5 == 0 ? "300" : ""});
    p.design.detailing.emplace();
    p.design.detailing->tube = "1020x16";
    p.design.detailing->tubeSteel = tubeSteel;
    return p;
}

// The same loads halved and without shear: a project where designs pass, so that every
// geometry that survives runs all 50 combinations.
Project passingProject() {
    Project p = screenshotProject("Q355");
    for (ProjectLoad& l : p.loads) {
        l.P = std::to_string(std::stoi(l.P) / 2);
        l.M = std::to_string(std::stoi(l.M) / 2);
        l.V.clear();
    }
    return p;
}

void timeSizing(const char* what, const Project& p, unsigned threads) {
    SizingOptions options;
    options.threads = threads;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    const SizingResult r = sizeBase(p, SizingRanges{}, options);
    const double wall = seconds(std::chrono::steady_clock::now() - start);
    // The processor time too: on a shared machine the wall time says little.
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("sizing, %s: %.2f s on %u threads (processor time %.2f s); %zu geometries, %zu "
                "candidates, %zu "
                "rejected, %zu listed%s%s\n",
                what, wall, threads, cpu, r.geometries, r.tried, r.rejected(), r.designs.size(),
                r.designs.empty() ? "" : ", lightest ",
                r.designs.empty() ? "" : (std::to_string(r.designs[0].mass.total) + " kg").c_str());
}

void checkedBatch() {
    constexpr int cases = 10000;
    std::mt19937_64 rng(7);
    const std::string path = "/tmp/tarvel_sizing_bench_cases.csv";
    std::ofstream csv(path);
    csv << "P,M,d,D,n\n";
    for (int i = 0; i < cases; ++i) {
        const InputTexts t = realisticBase(rng);
        csv << t[0] << ',' << t[1] << ',' << t[2] << ',' << t[3] << ',' << t[4] << '\n';
    }
    csv.close();
    for (const char* options : {"--csv", "--check --csv"}) {
        std::vector<double> walls;
        for (int i = 0; i < 3; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const std::string command =
                std::string(TARVEL_CALC) + " " + options + " " + path + " >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0) std::fprintf(stderr, "%s failed\n", options);
            walls.push_back(seconds(std::chrono::steady_clock::now() - start));
        }
        std::sort(walls.begin(), walls.end());
        std::printf("tarvel-calc %s of %d realistic cases: %.3f s (median of 3)\n", options, cases,
                    walls[1]);
    }
}

} // namespace

int main(int argc, char** argv) {
    const unsigned threads = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 2;
    std::optional<AnalysisMethod> method;
    if (argc > 2) {
        AnalysisMethod m;
        if (!methodFromName(argv[2], m)) {
            std::fprintf(stderr, "unknown method %s\n", argv[2]);
            return 2;
        }
        method = m;
    }
    auto with = [&method](Project p) {
        if (method) p.design.method = *method;
        return p;
    };
    timeSizing("load-table project, 1020x16 Q355 tube", with(screenshotProject("Q355")), threads);
    timeSizing("load-table project, 1020x16 Q420 tube", with(screenshotProject("Q420")), threads);
    timeSizing("load-table loads halved, no shear, 1020x16 Q355", with(passingProject()), threads);
    checkedBatch();
    return 0;
}
