#pragma once

#include "checks/design.h"
#include "options.h"

#include <string>

namespace tarvel::cli {

// The lines that follow the 12 results when checks are asked for: the method of the checks
// (the envelope's texts are one method's, its checks take both), one line per check (name, demand, capacity, ratio, ok|fail, tab-separated), then
// the verdict.
std::string checkLines(const DesignChecks& checks, AnalysisMethod method);

// The whole outcome of one case as one JSON object.
std::string caseJson(const ComputedCase& outcome, const Options& options);

} // namespace tarvel::cli
