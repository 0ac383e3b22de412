#include "batch.h"

#include "checks/methods.h"
#include "loads/batchcsv.h"
#include "output.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace tarvel::cli {

ComputedCases computeBatch(const LoadTable& table, const Options& options, bool showProgress) {
    BatchOptions batch;
    batch.withChecks = options.checks;
    if (!showProgress) return runBatch(table.cases, options.design, batch);

    std::atomic<std::size_t> done{0};
    batch.progress = [&](std::size_t finished, std::size_t) { done = finished; };
    ComputedCases results;
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

void formatBatch(const LoadTable& table, const ComputedCases& results, const Options& options,
                 std::string& out, std::string& summary) {
    const ResultsCsvColumns columns = resultsCsvColumns(
        options.design, table.hasName || options.project.has_value(), options.checks);
    out += resultsCsvHeader(columns);
    for (std::size_t k = 0; k < results.size(); ++k) {
        const LoadCase& c = table.cases[k];
        const bool ownV = c.V.find_first_not_of(" \t") != std::string::npos;
        out +=
            resultsCsvRow(columns, c.name, c.inputs, ownV ? c.V : options.shearText, &*results[k]);
    }
    if (!options.checks) return;
    const auto governing = governingCases(results);
    bool anyChecked = false;
    for (const auto& r : results)
        anyChecked = anyChecked || (r && r->hasChecks);
    for (int i = 0; i < checkCount; ++i) {
        const CheckDefinition& def = checkDefinitions()[i];
        if (!options.design.detailing && def.needsDetailing) continue;
        const char* const title = def.title;
        if (governing[i] < 0) {
            // A check no row made is not part of this design (the seismic capacity, the shear
            // key): only when no row was checked at all is each one said to lack a case.
            if (!anyChecked) summary += std::string("最不利 ") + title + "：无可验算的荷载组合\n";
            continue;
        }
        const Check& g = results[governing[i]]->checks.checks[i];
        // A check the same in every combination has none that governs it.
        const std::string where =
            def.dependsOnLoad ? caseLabel(table, governing[i]) : "与荷载无关，各荷载组合相同";
        summary += std::string("最不利 ") + title + "：" + where + "，利用率 " + g.ratioText +
                   (g.ok ? "，满足" : "，不满足") + "\n";
    }
    // The rows without a verdict are left out of the lines above: say how many, and which.
    int failed = 0, first = -1;
    for (std::size_t k = 0; k < results.size(); ++k) {
        const auto& r = results[k];
        if (!r || (r->status == CaseStatus::Ok && r->hasChecks)) continue;
        if (failed++ == 0) first = static_cast<int>(k);
    }
    if (failed > 0)
        summary += std::to_string(failed) + " 个荷载组合未得出验算结果，不计入最不利（首个：" +
                   caseLabel(table, first) + "，" + results[first]->message + "）\n";
}

} // namespace tarvel::cli
