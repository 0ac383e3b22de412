#include "casecommand.h"

#include "analysis/calculation.h"
#include "checks/designbase.h"
#include "checks/methods.h"
#include "command.h"
#include "output.h"
#ifdef TARVEL_WITH_REPORT
#include "reportcommand.h"
#endif

#include <cstdio>
#include <exception>
#include <string>

namespace tarvel::cli {

namespace {

// Prints each text the moment it is made, so that a failure leaves the earlier ones.
class PrintSink : public tarvel::TextSink {
  public:
    void write(tarvel::ResultBox box, const std::string& text) override {
        TextSink::write(box, text);
        std::printf("%s\t%s\n", tarvel::boxName(box), text.c_str());
        std::fflush(stdout);
    }
};

// Writes the report of a case whose results are out; the status stays unless it fails.
int withReport(const tarvel::cli::Options& options, const tarvel::InputTexts& texts, int status) {
    if (!options.report || status == failure) return status;
#ifdef TARVEL_WITH_REPORT
    std::string error;
    if (!tarvel::cli::writeCaseReport(options, texts, error)) {
        std::fprintf(stderr, "错误：%s\n", error.c_str());
        return status == fullTension ? fullTension : failure;
    }
    return status;
#else
    (void)texts;
    std::fprintf(stderr, "错误：本程序构建时未包含计算书\n");
    return failure;
#endif
}

// One case as lines of text: the 12 results as they are made, then the checks.
int singleCase(const tarvel::cli::Options& options, const tarvel::InputTexts& texts) {
    PrintSink sink;
    try {
        // A bad design input, a base that cannot exist or a detailing that does not fit is
        // reported before any line.
        if (options.checks) {
            tarvel::requireRealBase(texts);
            tarvel::checkDetailingFits(tarvel::resolveDesign(options.design), texts);
            tarvel::requireSolidPlate(options.design);
        }
        if (tarvel::calculate(texts, sink) == tarvel::Outcome::Refused) {
            std::printf("%s\n", tarvel::fullTensionMessage);
            return fullTension;
        }
        if (!options.checks) return success;
        const tarvel::DesignChecks checks =
            tarvel::checkDesign(tarvel::analyze(texts), texts, sink.result(), options.design);
        std::fputs(tarvel::cli::checkLines(checks, tarvel::AnalysisMethod::Elastic).c_str(),
                   stdout);
        return checks.ok ? success : checkFails;
    } catch (const tarvel::TarvelError& e) {
        std::fprintf(stderr, "错误：%s\n", tarvel::cli::optionMessage(e).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "错误：计算失败（%s）\n", e.what());
    }
    return failure;
}

// One case by the compatibility method or the envelope: the whole case is computed, then
// printed as the elastic method prints it.
int methodCase(const tarvel::cli::Options& options, const tarvel::InputTexts& texts) {
    // As singleCase: bad design input is named by its option before any line.
    if (options.checks) {
        try {
            tarvel::requireRealBase(texts);
            tarvel::checkDetailingFits(tarvel::resolveDesign(options.design), texts);
        } catch (const tarvel::TarvelError& e) {
            std::fprintf(stderr, "错误：%s\n", tarvel::cli::optionMessage(e).c_str());
            return failure;
        }
    }
    const tarvel::ComputedCase outcome =
        tarvel::computeCase(texts, options.design, 0, options.checks);
    for (tarvel::ResultBox box : outcome.written)
        std::printf("%s\t%s\n", tarvel::boxName(box), outcome.result[box].c_str());
    switch (outcome.status) {
    case tarvel::CaseStatus::Refused:
        std::printf("%s\n", outcome.message.c_str());
        return fullTension;
    case tarvel::CaseStatus::Error:
        std::fprintf(stderr, "错误：%s\n", outcome.message.c_str());
        return failure;
    case tarvel::CaseStatus::Ok:
        break;
    }
    if (!outcome.methodRemark.empty())
        std::fprintf(stderr, "说明：%s\n", outcome.methodRemark.c_str());
    if (!outcome.hasChecks) return success;
    std::fputs(tarvel::cli::checkLines(outcome.checks, options.design.method).c_str(), stdout);
    return outcome.checks.ok ? success : checkFails;
}

int jsonCase(const tarvel::cli::Options& options, const tarvel::InputTexts& texts) {
    const tarvel::ComputedCase outcome = tarvel::computeCase(texts, options.design);
    std::fputs(tarvel::cli::caseJson(outcome, options).c_str(), stdout);
    switch (outcome.status) {
    case tarvel::CaseStatus::Refused:
        return fullTension;
    case tarvel::CaseStatus::Error:
        std::fprintf(stderr, "错误：%s\n", outcome.message.c_str());
        return failure;
    case tarvel::CaseStatus::Ok:
        break;
    }
    return outcome.checks.ok ? success : checkFails;
}

} // namespace

int runCase(Options options) {
    if (options.tensionPositive) return usageError("--tension-positive 只用于 --csv 读入的表");
    if (options.arguments.size() != 5) return usageError("需要 5 个参数：P M d D n");
    InputTexts texts;
    for (int i = 0; i < 5; ++i)
        texts[i] = options.arguments[i];
    // A report is a design report: it comes with the checks.
    if (options.report) options.checks = true;
    const int status = options.json ? jsonCase(options, texts)
                       : options.design.method != AnalysisMethod::Elastic
                           ? methodCase(options, texts)
                           : singleCase(options, texts);
    return withReport(options, texts, status);
}

} // namespace tarvel::cli
