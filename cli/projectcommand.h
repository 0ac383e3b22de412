#pragma once

#include "options.h"

namespace tarvel::cli {

// tarvel-calc --project FILE.tarvel: every load combination of a project, as CSV, and its
// report when asked for.
int runProject(Options options);

} // namespace tarvel::cli
