#pragma once

// Seeded column bases of the kind engineers check, as the texts a user types: plates of
// 300 to 2600 mm, 0 to 100 bolts, bolt circles outside and inside the plate, tension,
// compression and full compression.

#include "calculation.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace tarvel {

inline InputTexts realisticBase(std::mt19937_64& rng) {
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng); };
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    const double d = pick(2) ? std::round(uniform(300, 2600)) : std::round(uniform(300, 2600) * 10) / 10;
    const double D = pick(5) ? d + std::round(uniform(40, 400)) : d - std::round(uniform(0, 200));
    const int n = pick(8) == 0 ? pick(4) : 4 + pick(97);
    double P, M;
    switch (pick(5)) {
    case 0: P = std::round(uniform(-3000, 0)); M = std::round(uniform(200, 3000)); break; // tension
    case 1: P = std::round(uniform(500, 20000)); M = 0; break;                           // axial only
    case 2: P = std::round(uniform(1000, 20000)); M = std::round(uniform(0, 300)); break; // full compression
    default: P = std::round(uniform(-500, 10000) * 100) / 100; M = std::round(uniform(0, 4000) * 10) / 10;
    }
    auto text = [](double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.10g", v);
        return std::string(buf);
    };
    return {text(P), text(M), text(d), text(D), std::to_string(n)};
}

} // namespace tarvel
