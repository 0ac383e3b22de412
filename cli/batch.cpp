#include "batch.h"

#include "loads/csv.h"
#include "output.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace tarvel::cli {

std::vector<std::optional<CaseOutcome>> computeBatch(const LoadTable& table, const Options& options,
                                                     bool showProgress) {
    BatchOptions batch;
    batch.withChecks = options.checks;
    if (!showProgress) return runBatch(table.cases, options.design, batch);

    std::atomic<std::size_t> done{0};
    batch.progress = [&](std::size_t finished, std::size_t) { done = finished; };
    std::vector<std::optional<CaseOutcome>> results;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        results = runBatch(table.cases, options.design, batch);
        finished = true;
    });
    const auto start = std::chrono::steady_clock::now();
    bool shown = false;
    while (!finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!finished && std::chrono::steady_clock::now() - start > std::chrono::seconds(1)) {
            std::fprintf(stderr, "\r已计算 %zu / %zu 行", done.load(), table.cases.size());
            shown = true;
        }
    }
    worker.join();
    if (shown) std::fprintf(stderr, "\n");
    return results;
}

namespace {

// How a case is named in the summary: its row number, and its name when it has one.
std::string caseLabel(const LoadTable& table, int k) {
    std::string label = "第 " + std::to_string(k + 1) + " 行";
    if (!table.cases[k].name.empty()) label += "（" + table.cases[k].name + "）";
    return label;
}

} // namespace

void formatBatch(const LoadTable& table, const std::vector<std::optional<CaseOutcome>>& results,
                 const Options& options, std::string& out, std::string& summary) {
    const bool named = table.hasName || options.project;

    if (named) out += "name,";
    out += "P,M,d,D,n,status";
    for (ResultBox box : allResultBoxes)
        out += std::string(",") + boxName(box);
    out += ",message";
    // A check is made in every row or in none: its column follows the options.
    auto shown = [&options](const CheckDefinition& def) {
        return checkApplies(def, options.design);
    };
    if (options.checks) {
        out += ",V";
        for (const CheckDefinition& def : checkDefinitions())
            if (shown(def)) out += std::string(",") + def.key + "_ratio";
        out += ",verdict";
    }
    // Another method names, row by row, whose texts the row holds (the envelope's vary).
    const bool methodColumn = options.design.method != AnalysisMethod::Elastic;
    if (methodColumn) out += ",method";
    out += '\n';
    for (std::size_t k = 0; k < results.size(); ++k) {
        const LoadCase& c = table.cases[k];
        const CaseOutcome& r = *results[k];
        if (named) out += csvField(c.name) + ',';
        for (const std::string& input : c.inputs)
            out += csvField(input) + ',';
        out += statusName(r.status);
        for (ResultBox box : allResultBoxes) {
            out += ',';
            for (ResultBox made : r.written)
                if (made == box) out += csvField(r.result[box]);
        }
        out += ',' + csvField(r.message);
        if (options.checks) {
            const bool ownV = !c.V.empty() && c.V.find_first_not_of(" \t") != std::string::npos;
            out += ',' + csvField(ownV ? c.V : options.shearText);
            for (const CheckDefinition& def : checkDefinitions())
                if (shown(def))
                    out += ',' + (r.hasChecks ? r.checks[def.id].ratioText : std::string());
            out += ',' + std::string(r.hasChecks ? (r.checks.ok ? "ok" : "fail") : "");
        }
        if (methodColumn)
            out += ',' + std::string(r.status == CaseOutcome::Status::Ok ? methodName(r.shownMethod)
                                                                         : "");
        out += '\n';
    }
    if (!options.checks) return;
    const auto governing = governingCases(results);
    for (int i = 0; i < checkCount; ++i) {
        const CheckDefinition& def = checkDefinitions()[i];
        if (!shown(def)) continue;
        const char* const title = def.title;
        if (governing[i] < 0) {
            summary += std::string("最不利 ") + title + "：无可验算的荷载组合\n";
            continue;
        }
        const Check& g = results[governing[i]]->checks.checks[i];
        summary += std::string("最不利 ") + title + "：" + caseLabel(table, governing[i]) +
                   "，利用率 " + g.ratioText + (g.ok ? "，满足" : "，不满足") + "\n";
    }
}

} // namespace tarvel::cli
