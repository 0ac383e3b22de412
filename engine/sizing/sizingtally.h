#pragma once

// What a sizing tried and what rejected it: the one list behind the command's summary and the
// window's status line.

#include "sizing/sizing.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tarvel {

// The steel mass the sizing ranks designs by (basemass.cpp), as the user reads it.
extern const char* const massFormula;

struct Rejection {
    std::string key;   // the check's key, "refused" or "error"
    std::string title; // what the user reads
    std::size_t count; // candidates it rejected
};

// Every check that rejected candidates, in the order of the table of checks, then the refused
// and the failed candidates; none with a count of 0.
std::vector<Rejection> sizingRejections(const SizingResult& result);

} // namespace tarvel
