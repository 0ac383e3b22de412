#pragma once

#include "analysis/calculation.h"

#include <string>
#include <vector>

namespace tarvel {

// The calculation runs on any numbers the form takes, but a design verdict needs a base that
// can exist: a whole, positive number of bolts and positive diameters. Throws TarvelError
// (ErrorKind::OutOfRange) naming the first input that is not, with a Chinese message; a text
// that is no number is the calculation's own error.
void requireRealBase(const InputTexts& inputs);

// Remarks on inputs the calculation takes but the user may not have meant: a negative M,
// whose magnitude is used.
std::vector<std::string> inputRemarks(const InputTexts& inputs);

} // namespace tarvel
