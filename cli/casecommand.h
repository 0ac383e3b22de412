#pragma once

#include "options.h"

namespace tarvel::cli {

// tarvel-calc [options] P M d D n: one case as lines of text or as JSON, with its checks and
// report when asked for.
int runCase(Options options);

} // namespace tarvel::cli
