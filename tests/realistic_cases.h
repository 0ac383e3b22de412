#pragma once

// Seeded column bases, as the texts a user types: plates of 300 to 2600 mm, 0 to 100 bolts,
// bolt circles outside and inside the plate, tension, compression and full compression.

#include "analysis/calculation.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace tarvel {

namespace cases {

inline std::string text(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

struct Draw {
    std::mt19937_64& rng;
    double uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng); }
    int pick(int n) { return static_cast<int>(rng() % n); }
    double plate() {
        return pick(2) ? std::round(uniform(300, 2600)) : std::round(uniform(300, 2600) * 10) / 10;
    }
    double boltCircle(double d) {
        return pick(5) ? d + std::round(uniform(40, 400)) : d - std::round(uniform(0, 200));
    }
    int bolts() { return pick(8) == 0 ? pick(4) : 4 + pick(97); }
};

} // namespace cases

// A base as engineers design them: the bearing stresses from P and M stay within what
// concrete takes (axial -4 to 25 N/mm², bending up to 40 N/mm²).
inline InputTexts realisticBase(std::mt19937_64& rng) {
    cases::Draw draw{rng};
    const double d = draw.plate(), D = draw.boltCircle(d);
    const int n = draw.bolts();
    const double area = 3.14159 * d * d / 4, modulus = 3.14159 * d * d * d / 32;
    double axial, bending;
    switch (draw.pick(4)) {
    case 0:
        axial = draw.uniform(-4, 0);
        bending = draw.uniform(4, 30);
        break; // tension
    case 1:
        axial = draw.uniform(0.5, 25);
        bending = 0;
        break; // axial only
    case 2:
        axial = draw.uniform(2, 25);
        bending = draw.uniform(0, axial);
        break; // full compression
    default:
        axial = draw.uniform(-2, 20);
        bending = draw.uniform(0, 40);
    }
    const double P =
        draw.pick(2) ? std::round(axial * area / 1000) : std::round(axial * area / 10) / 100;
    const double M = std::round(bending * modulus / 1e5) / 10;
    return {cases::text(P), cases::text(M), cases::text(d), cases::text(D), std::to_string(n)};
}

// Loads well beyond design, up to 20000 kN on a 300 mm plate, for the corners of the method.
inline InputTexts broadBase(std::mt19937_64& rng) {
    cases::Draw draw{rng};
    const double d = draw.plate(), D = draw.boltCircle(d);
    const int n = draw.bolts();
    double P, M;
    switch (draw.pick(5)) {
    case 0:
        P = std::round(draw.uniform(-3000, 0));
        M = std::round(draw.uniform(200, 3000));
        break;
    case 1:
        P = std::round(draw.uniform(500, 20000));
        M = 0;
        break;
    case 2:
        P = std::round(draw.uniform(1000, 20000));
        M = std::round(draw.uniform(0, 300));
        break;
    default:
        P = std::round(draw.uniform(-500, 10000) * 100) / 100;
        M = std::round(draw.uniform(0, 4000) * 10) / 10;
    }
    return {cases::text(P), cases::text(M), cases::text(d), cases::text(D), std::to_string(n)};
}

} // namespace tarvel
