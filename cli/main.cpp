// tarvel-calc: the column-base calculation from the command line. main reads the options and
// hands them to the command they name (casecommand, csvcommand, projectcommand,
// optimizecommand), each of which checks its own options and runs.

#include "casecommand.h"
#include "checks/design.h"
#include "command.h"
#include "csvcommand.h"
#include "optimizecommand.h"
#include "options.h"
#include "projectcommand.h"
#ifndef TARVEL_WITH_REPORT
#include "reporthelper.h"
#endif

#include <cstdio>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    using namespace tarvel::cli;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "-h") {
        std::fputs(usage().c_str(), stdout);
        return success;
    }
    tarvel::cli::Options options;
    try {
        options = tarvel::cli::parseOptions(args);
    } catch (const tarvel::cli::UsageError& e) {
        return usageError(e.message);
    } catch (const tarvel::TarvelError& e) {
        std::fprintf(stderr, "错误：%s\n", e.what());
        return failure;
    }
    if (options.help) {
        std::fputs(usage().c_str(), stdout);
        return success;
    }
    if (options.version) {
        std::printf("tarvel-calc %s\n", TARVEL_VERSION);
        return success;
    }
#ifndef TARVEL_WITH_REPORT
    // The report needs Qt, which the command does not load: its helper does all of it.
    if (options.report) return tarvel::cli::runReportHelper(argv);
#endif
    if (options.checks || options.design.method != tarvel::AnalysisMethod::Elastic ||
        options.design.modularRatio) {
        // A bad design option is reported before anything is computed.
        try {
            tarvel::resolveDesign(options.design);
        } catch (const tarvel::TarvelError& e) {
            std::fprintf(stderr, "错误：%s\n", tarvel::cli::optionMessage(e).c_str());
            return failure;
        }
    }
    // Each command checks its own options.
    if (options.optimize) return runOptimize(options);
    if (options.project) return runProject(options);
    if (options.csv) return runCsv(options);
    return runCase(options);
}
