#include "optimizecommand.h"

#include "command.h"
#include "optimize.h"
#include "project/project.h"
#include "sizing/sizing.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>

namespace tarvel::cli {

int runOptimize(const Options& options) {
    if (options.tensionPositive && !options.csv)
        return usageError("--tension-positive 只用于 --csv 读入的表");
    if (options.project || options.csv)
        return usageError("--optimize 不能与 --project 或 --csv 同时使用");
    if (options.designGiven) return usageError("--optimize 的验算输入取自项目文件");
    if (options.report)
        return usageError("--optimize 不写计算书；采用方案后再用 --project --report");
    if (!options.arguments.empty()) return usageError("--optimize 之后不再需要 P M d D n");
    std::string bytes;
    if (!readInput(*options.optimize, bytes, tarvel::maxProjectBytes)) return failure;
    try {
        const tarvel::Project p = tarvel::parseProject(bytes);
        if (!p.design.detailing) {
            std::fprintf(stderr, "错误：优化选型需要钢管柱脚的构造参数，项目中没有钢管"
                                 "（在设计窗口的「构造参数」中给出钢管 Dt×tw）\n");
            return failure;
        }
        const tarvel::SizingRanges ranges = tarvel::cli::sizingRanges(p, options);
        tarvel::SizingOptions sizing;
        sizing.top = options.top;
        std::atomic<std::size_t> done{0}, total{0};
        const bool showProgress = isatty(STDERR_FILENO);
        if (showProgress)
            sizing.progress = [&](std::size_t finished, std::size_t all) {
                done = finished;
                total = all;
            };
        tarvel::SizingResult result;
        std::atomic<bool> finished{false};
        std::exception_ptr failed;
        std::thread worker([&] {
            try {
                result = tarvel::sizeBase(p, ranges, sizing);
            } catch (...) {
                failed = std::current_exception();
            }
            finished = true;
        });
        bool shown = false;
        const auto start = std::chrono::steady_clock::now();
        while (!finished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (showProgress && !finished &&
                std::chrono::steady_clock::now() - start > std::chrono::seconds(1)) {
                std::fprintf(stderr, "\r已试算 %zu / %zu 种几何", done.load(), total.load());
                shown = true;
            }
        }
        worker.join();
        if (shown) std::fprintf(stderr, "\n");
        if (failed) std::rethrow_exception(failed);
        const std::string out =
            options.json ? tarvel::cli::sizingJson(result, ranges,
                                                   tarvel::readDetailing(*p.design.detailing).Dt)
                         : tarvel::cli::sizingTable(result);
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fputs(tarvel::cli::sizingSummary(result).c_str(), stderr);
        if (std::fflush(stdout) != 0) return failure;
        if (result.designs.empty()) {
            std::fprintf(stderr, "%s\n", tarvel::cli::mostRejected(result).c_str());
            return checkFails;
        }
        return success;
    } catch (const tarvel::TarvelError& e) {
        std::string message = e.what();
        // A range of the project file is named by its option.
        const char* option = tarvel::cli::sizingOptionName(e.field());
        if (*option && message.find("--") != 0) message = std::string(option) + "：" + message;
        std::fprintf(stderr, "错误：%s\n", message.c_str());
    }
    return failure;
}

} // namespace tarvel::cli
