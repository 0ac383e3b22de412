#include "reporthelper.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace tarvel::cli {

namespace {

// The folder of the running program.
std::string programFolder() {
    std::vector<char> path(4096);
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    std::string p(path.data(), static_cast<std::size_t>(n));
    const std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

} // namespace

int runReportHelper(char** argv) {
    const std::string folder = programFolder();
    // Installed: bin/../libexec/tarvel; in the build tree: beside the command.
    const std::string candidates[] = {
        folder + "/" TARVEL_HELPER_FROM_BIN "/" TARVEL_REPORT_HELPER,
        folder + "/" TARVEL_REPORT_HELPER,
    };
    for (const std::string& helper : candidates) {
        if (folder.empty() || access(helper.c_str(), X_OK) != 0) continue;
        std::fflush(stdout);
        execv(helper.c_str(), argv);
        std::fprintf(stderr, "错误：无法运行计算书程序 %s（%s）\n", helper.c_str(),
                     std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr, "错误：找不到计算书程序 %s（应在 %s）\n", TARVEL_REPORT_HELPER,
                 candidates[0].c_str());
    return 1;
}

} // namespace tarvel::cli
