#pragma once

// The kept states of two searches compared bit for bit: the equivalence test and the
// calculation fuzz target hold the fast search to the reference with it.

#include "analysis/search.h"

#include <cstring>
#include <string>

namespace tarvel {

// The names of the fields that differ in any bit, each followed by a space; empty when the
// two agree.
inline std::string bestFitDifferences(const BestFit& a, const BestFit& b) {
    std::string out;
    auto field = [&](const char* name, auto x, auto y) {
        if (std::memcmp(&x, &y, sizeof x) != 0) out += std::string(name) + " ";
    };
    field("qmax", a.qmax, b.qmax);
    field("T", a.T, b.T);
    field("c", a.c, b.c);
    field("c2", a.c2, b.c2);
    field("fq", a.fq, b.fq);
    field("mq", a.mq, b.mq);
    field("fms", a.fms, b.fms);
    field("mms", a.mms, b.mms);
    field("residual", a.residual, b.residual);
    if (a.kept != b.kept) out += "kept ";
    return out;
}

} // namespace tarvel
