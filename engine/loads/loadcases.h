#pragma once

#include "checks/design.h"
#include "loads/largeblocks.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// One load case of a table: the texts as typed.
struct LoadCase {
    std::string name;                // optional
    InputTexts inputs;               // P, M, d, D, n
    std::string V;                   // kN; empty: the design input's V
    std::vector<std::string> fields; // the row as read
    std::string error;               // a row that cannot be a load case, and why
    std::string note;                // how P, M and V were made from the row, when not as typed
    int row = 0;                     // 1-based among the table's non-blank rows, header included
    bool hasGeometry = false;        // d, D and n came from the row
};

// The design input of one case: V from its row when given, else from `design`.
// A V that is no number is a typed error naming V.
DesignInput caseDesign(const LoadCase& c, const DesignInput& design);

// The cases of a batch in input order; a case not computed (the batch was cancelled) is
// nullopt.
using ComputedCases =
    std::vector<std::optional<ComputedCase>, LargeBlockAllocator<std::optional<ComputedCase>>>;

// How a batch runs.
struct BatchOptions {
    bool withChecks = false; // compute the design checks of each case
    unsigned threads = 0;    // 0: every core
    // Called from a worker as cases finish (done, total); keep it cheap.
    std::function<void(std::size_t done, std::size_t total)> progress;
    const std::atomic<bool>* cancel = nullptr; // set to stop; unfinished cases stay unset
};

// Every case computed on worker threads, each with one core, so that each row is exactly
// what the calculation gives for that case alone. Results are in input order; a cancelled
// batch returns the cases finished so far and nullopt for the rest.
ComputedCases runBatch(const std::vector<LoadCase>& cases, const DesignInput& design,
                       const BatchOptions& options);

// For each check, the case with the largest ratio among the computed ones (-1 for none).
std::array<int, checkCount> governingCases(const ComputedCases& out);
// The same over cases kept elsewhere (a window's rows, a report's cases), without copying
// their records: `at(k)` is case k of `count`, null when it was not computed.
using CaseAt = std::function<const ComputedCase*(std::size_t)>;
std::array<int, checkCount> governingCases(std::size_t count, const CaseAt& at);

} // namespace tarvel
