#pragma once

#include "loadcases.h"
#include "options.h"

#include <string>
#include <string_view>

namespace tarvel::cli {

// Computes every load case of `table` on all cores and writes the result table, in input
// order, to `out`; with checks, the governing case of each check goes to `summary`.
// `showProgress` writes a progress line to stderr when the batch is slow.
void writeBatch(const LoadTable& table, const Options& options, bool showProgress, std::string& out,
                std::string& summary);

} // namespace tarvel::cli
