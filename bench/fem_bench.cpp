// The plate finite-element method's speed: the default case with --tube 1020x16 as whole
// processes of tarvel-calc (median wall and processor time of the child), and a project of 50
// load combinations through the batch on two worker threads, with the design checks.
//   build/bench/tarvel_fem_bench [RUNS]

#include "checks/design.h"
#include "loads/loadcases.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The budgets: one case as a whole process, and the project of 50 combinations, s.
constexpr double processBudget = 0.3;
constexpr double projectBudget = 10;
constexpr int combinations = 50;

double seconds(const timeval& t) {
    return t.tv_sec + t.tv_usec / 1e6;
}

struct Times {
    double wall, cpu; // s
};

Times runOnce(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(2);
    }
    int status;
    rusage usage;
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&files);
    return {std::chrono::duration<double>(end - start).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 11;
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const Times t = runOnce({TARVEL_CALC, "--method", "fem", "--tube", "1020x16", "1000",
                                 "1000", "1520", "1620", "18"});
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    std::printf(
        "default case, whole process: median %.3f s wall, %.3f s processor (budget %.1f s)\n",
        median(wall), median(cpu), processBudget);

    // Fifty combinations round the default base: P from tension to heavy compression, M
    // from small to large.
    std::vector<tarvel::LoadCase> cases(combinations);
    for (int i = 0; i < combinations; ++i) {
        const int P = -500 + 100 * (i % 10) * 3;
        const int M = 200 + 300 * (i / 10);
        cases[static_cast<std::size_t>(i)].inputs = {std::to_string(P), std::to_string(M), "1520",
                                                     "1620", "18"};
    }
    tarvel::DesignInput design;
    design.method = tarvel::AnalysisMethod::Fem;
    design.detailing = tarvel::DetailingInput{};
    design.detailing->tube = "1020x16";
    tarvel::BatchOptions options;
    options.threads = 2;
    options.withChecks = true;
    const std::clock_t c0 = std::clock();
    const auto start = std::chrono::steady_clock::now();
    const auto out = tarvel::runBatch(cases, design, options);
    const double projectWall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double projectCpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    int ok = 0;
    for (const auto& o : out)
        ok += o && o->status == tarvel::CaseStatus::Ok;
    std::printf("%d combinations on 2 threads: %.2f s wall, %.2f s processor, %d computed "
                "(budget %.0f s)\n",
                combinations, projectWall, projectCpu, ok, projectBudget);
    return 0;
}
