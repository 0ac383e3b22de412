#pragma once

#include "options.h"
#include "project/project.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvel::cli {

// Writes the report of one case, or of a project's load cases, to options.report. Starts a
// Qt application of its own (offscreen unless a platform is set), so that the command works
// without a display. False with the Chinese message in `error` when nothing was written.
bool writeCaseReport(const Options& options, const InputTexts& inputs, std::string& error);
bool writeProjectReport(const Options& options, const Project& project,
                        const ComputedCases& outcomes, std::string& error);

} // namespace tarvel::cli
