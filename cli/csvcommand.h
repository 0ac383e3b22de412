#pragma once

#include "loads/loadtable.h"
#include "options.h"

namespace tarvel::cli {

// tarvel-calc --csv FILE [d D n]: every load case of a table, as CSV.
int runCsv(const Options& options);

// Computes a table and writes it as CSV, the governing cases to stderr; the cases go to
// `computed` when asked for.
int writeTable(const LoadTable& table, const Options& options, ComputedCases* computed);

} // namespace tarvel::cli
