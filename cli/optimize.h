#pragma once

#include "options.h"
#include "project/project.h"
#include "sizing/sizing.h"

#include <string>

namespace tarvel::cli {

// The ranges of a sizing: the project's own, then the options on top. Throws TarvelError
// for a malformed range, its message naming the option.
SizingRanges sizingRanges(const Project& project, const Options& options);

// The designs as tab-separated rows under their header.
std::string sizingTable(const SizingResult& result);
// The designs, the ranges and the rejections as one JSON object.
std::string sizingJson(const SizingResult& result, const SizingRanges& ranges, double tubeDiameter);
// What was tried and what rejected it, and the mass formula, for stderr.
std::string sizingSummary(const SizingResult& result);
// The check that rejected most candidates, as a sentence.
std::string mostRejected(const SizingResult& result);

} // namespace tarvel::cli
