#pragma once

#include "calculation.h"
#include "design.h"

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
    std::string error;               // a row that cannot be a load case (wrong number of fields)
};

// The columns a table may have; P, M, d, D and n are required.
enum class LoadColumn { name, P, M, d, D, n, V };

struct LoadTable {
    std::vector<LoadCase> cases;
    bool hasHeader = false;
    bool hasName = false; // a name column was given
    bool hasV = false;    // a V column was given
};

// Reads load cases from CSV text as `tarvel-calc --csv` and spreadsheets write it: bytes in
// UTF-8 (with or without a byte-order mark) or GB18030, comma- or tab-separated, LF or CRLF.
// A first row of column names (P, M, d, D, n, and optionally name and V, in any order) is a
// header; without one a row is P,M,d,D,n or P,M,d,D,n,V.
LoadTable readLoadCases(std::string_view bytes);

// The design input of one case: V from its row when given, else from `design`.
// A V that is no number is a typed error naming V.
DesignInput caseDesign(const LoadCase& c, const DesignInput& design);

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
std::vector<std::optional<CaseOutcome>> runBatch(const std::vector<LoadCase>& cases,
                                                 const DesignInput& design,
                                                 const BatchOptions& options);

// For each check, the case with the largest ratio among the computed ones (-1 for none).
std::array<int, checkCount> governingCases(const std::vector<std::optional<CaseOutcome>>& out);

} // namespace tarvel
