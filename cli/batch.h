#pragma once

#include "loads/loadtable.h"
#include "options.h"

#include <string>
#include <string_view>

namespace tarvel::cli {

// Computes every load case of `table` on all cores, in input order. `showProgress` writes a
// progress line to stderr when the batch is slow.
ComputedCases computeBatch(const LoadTable& table, const Options& options, bool showProgress);

// The result table, in input order, to `out`; with checks, the governing case of each check
// goes to `summary`.
void formatBatch(const LoadTable& table, const ComputedCases& results, const Options& options,
                 std::string& out, std::string& summary);

} // namespace tarvel::cli
