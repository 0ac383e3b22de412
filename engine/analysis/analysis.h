#pragma once

#include "core/error.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel {

// The five inputs in engine units.
struct BaseInput {
    double P = 0;  // axial force, N, compression positive
    double M = 0;  // bending moment, N·mm, never negative
    double d = 0;  // diameter of the bearing circle, mm
    double D = 0;  // diameter of the bolt circle, mm
    int16_t n = 0; // number of anchor bolts
};

// The bolt table has room for bolts 1 to 100; slot 0 is never used.
constexpr int maxBolts = 100;

// Bolt x-coordinates in the plane of bending, mm, positive towards the compressed edge.
// Bolt 1 is the outermost bolt in tension, at -D/2.
struct BoltLayout {
    std::array<double, maxBolts + 1> a{};
    int count = 0; // bolts written: max(n, 0)
};

struct ElasticCheck {
    double sigmaMax = 0;  // N/mm², at the compressed edge
    double sigmaMin = 0;  // N/mm², at the opposite edge; negative is tension
    bool refused = false; // the whole section is in tension
    double x0 = 0;        // first compression length, mm (only when not refused)
};

// The two approximations of pi the method has always used.
constexpr double piBolts = 3.1415926;
constexpr double piSection = 3.1416;

// The texts of P (kN), M (kN·m), d (mm), D (mm) and n, converted in that order.
BaseInput makeBaseInput(std::string_view p, std::string_view m, std::string_view d,
                        std::string_view bigD, std::string_view n, char decimalSeparator = '.');

BoltLayout layOutBolts(const BaseInput& input);

ElasticCheck checkElastic(const BaseInput& input);

// The texts of the five input boxes: P (kN), M (kN·m), d (mm), D (mm), n.
using InputTexts = std::array<std::string, 5>;

// The texts a new window holds.
inline const InputTexts defaultInputs{"1000", "1000", "1520", "1620", "18"};

// The first stage of a calculation: the inputs converted, the bolts laid out, the elastic
// check made (in that order, so the first failure is the one the user sees).
struct Analysis {
    BaseInput input;
    BoltLayout layout;
    ElasticCheck check;
};
Analysis analyze(const InputTexts& texts, char decimalSeparator = '.');

} // namespace tarvel
