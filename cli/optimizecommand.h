#pragma once

#include "options.h"

namespace tarvel::cli {

// tarvel-calc --optimize FILE.tarvel: the lightest bases of a project's ranges.
int runOptimize(const Options& options);

} // namespace tarvel::cli
