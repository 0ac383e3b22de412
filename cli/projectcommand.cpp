#include "projectcommand.h"

#include "command.h"
#include "core/number.h"
#include "csvcommand.h"
#include "project/project.h"
#ifdef TARVEL_WITH_REPORT
#include "reportcommand.h"
#endif

#include <cstdio>
#include <string>

namespace tarvel::cli {

int runProject(Options options) {
    if (options.tensionPositive && !options.csv)
        return usageError("--tension-positive 只用于 --csv 读入的表");
    if (options.csv) return usageError("--project 与 --csv 不能同时使用");
    // Only the shear may be given: the other design inputs are the project's.
    if (options.designBesidesShear)
        return usageError("--project 的验算输入取自项目文件（只可另给 --shear）");
    if (options.json) return usageError("--project 输出 CSV，不能与 --json 同用");
    if (!options.arguments.empty()) return usageError("--project 之后不再需要 P M d D n");
    std::string bytes;
    if (!readInput(*options.project, bytes, tarvel::maxProjectBytes)) return failure;
    tarvel::Project p;
    try {
        p = tarvel::parseProject(bytes);
    } catch (const tarvel::TarvelError& e) {
        std::fprintf(stderr, "错误：%s\n", e.what());
        return failure;
    }
    tarvel::LoadTable table;
    table.cases = tarvel::projectCases(p);
    table.hasName = table.hasV = true;
    // The project's design inputs; --shear replaces its V, so that a window's result can be
    // reproduced with another shear.
    if (options.shearGiven)
        p.design.V = options.design.V;
    else
        options.shearText = tarvel::numberToText(p.design.V);
    options.design = p.design;
    options.checks = true;
    tarvel::ComputedCases outcomes;
    const int status = writeTable(table, options, &outcomes);
    if (status != success || !options.report) return status;
#ifdef TARVEL_WITH_REPORT
    std::string error;
    if (!tarvel::cli::writeProjectReport(options, p, outcomes, error)) {
        std::fprintf(stderr, "错误：%s\n", error.c_str());
        return failure;
    }
    return success;
#else
    std::fprintf(stderr, "错误：本程序构建时未包含计算书\n");
    return failure;
#endif
}

} // namespace tarvel::cli
