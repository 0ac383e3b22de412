#include "csvcommand.h"

#include "batch.h"
#include "command.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace tarvel::cli {

int writeTable(const tarvel::LoadTable& table, const tarvel::cli::Options& options,
               tarvel::ComputedCases* outcomes) {
    const auto results = tarvel::cli::computeBatch(table, options, isatty(STDERR_FILENO));
    std::string out, summary;
    tarvel::cli::formatBatch(table, results, options, out, summary);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fputs(summary.c_str(), stderr);
    if (outcomes) *outcomes = results;
    return std::fflush(stdout) == 0 ? success : failure;
}

int runCsv(const Options& options) {
    if (!options.arguments.empty() && options.arguments.size() != 3)
        return usageError("--csv FILE 之后只可给出 d D n（表中没有这三列时）");
    if (options.report) return usageError("--report 用于单个荷载组合或 --project");
    std::string text;
    if (!readInput(*options.csv, text)) return failure;
    tarvel::ReadOptions read;
    read.tensionPositive = options.tensionPositive;
    if (options.arguments.size() == 3)
        read.base = {options.arguments[0], options.arguments[1], options.arguments[2]};
    const tarvel::LoadTable table = tarvel::readLoadCases(text, read);
    if (!table.error.empty()) {
        std::fprintf(stderr, "错误：%s\n", table.error.c_str());
        if (!read.base && table.error.find("d、D、n") != std::string::npos)
            std::fprintf(stderr, "（可在 --csv FILE 之后给出 d D n，如 --csv %s 1520 1620 18）\n",
                         options.csv->c_str());
        return failure;
    }
    for (const std::string& line : table.readAs)
        std::fprintf(stderr, "读入：%s\n", line.c_str());
    return writeTable(table, options, nullptr);
}

} // namespace tarvel::cli
