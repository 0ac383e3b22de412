// tarvel-calc started as scripts start it, once per case: the wall time of whole processes
// (fork, exec, dynamic loading, the work, exit), median and slowest of many runs, for
// --version, the default case, --check, --json and a --csv table of one row, with the median
// processor time of the child (user + system), which other work on the machine disturbs
// less. The command should answer each within commandBudgetMs.
//   tarvel_command_startup [RUNS [PROGRAM]]   (PROGRAM: another build of the command)

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <vector>

extern char** environ;

namespace {

// What a command that starts at once takes on this machine, ms.
constexpr double commandBudgetMs = 8.0;
constexpr int defaultRuns = 200;

struct Times {
    double wall, cpu; // ms
};

double ms(const timeval& t) {
    return t.tv_sec * 1e3 + t.tv_usec / 1e3;
}

// One run; standard output and error go to /dev/null, standard input from `input`.
Times runOnce(const std::vector<std::string>& args, const char* input) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, input, O_RDONLY, 0);
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
    return {std::chrono::duration<double, std::milli>(end - start).count(),
            ms(usage.ru_utime) + ms(usage.ru_stime)};
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRuns;
    const std::string calc = argc > 2 ? argv[2] : TARVEL_CALC;
    char table[] = "/tmp/tarvel-command-startup-XXXXXX";
    const int fd = mkstemp(table);
    const std::string row = "P,M,d,D,n\n1000,1000,1520,1620,18\n";
    if (fd < 0 || write(fd, row.data(), row.size()) != static_cast<ssize_t>(row.size())) {
        std::perror("mkstemp");
        return 2;
    }
    close(fd);
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {"--version", {calc, "--version"}},
        {"default case", {calc, "1000", "1000", "1520", "1620", "18"}},
        {"--check", {calc, "--check", "1000", "1000", "1520", "1620", "18"}},
        {"--json", {calc, "--json", "1000", "1000", "1520", "1620", "18"}},
        {"--csv (one row)", {calc, "--csv", "-"}},
    };
    bool withinBudget = true;
    std::printf("%-18s %10s %10s %10s  (%d runs each, ms)\n", "tarvel-calc", "median", "slowest",
                "cpu", runs);
    for (const Case& c : cases) {
        std::vector<double> wall, cpu;
        for (int i = 0; i < runs; ++i) {
            const Times t = runOnce(c.args, table);
            wall.push_back(t.wall);
            cpu.push_back(t.cpu);
        }
        std::sort(wall.begin(), wall.end());
        std::sort(cpu.begin(), cpu.end());
        const double median = wall[wall.size() / 2];
        std::printf("%-18s %10.2f %10.2f %10.2f\n", c.name, median, wall.back(),
                    cpu[cpu.size() / 2]);
        withinBudget = withinBudget && median < commandBudgetMs;
    }
    unlink(table);
    if (!withinBudget) std::printf("a median is over %.0f ms\n", commandBudgetMs);
    return withinBudget ? 0 : 1;
}
