#pragma once

#include "analysis/results.h"

#include <array>
#include <string>

namespace tarvel {

// The texts of the five input boxes: P (kN), M (kN·m), d (mm), D (mm), n.
using InputTexts = std::array<std::string, 5>;

// The texts a new window holds.
inline const InputTexts defaultInputs{"1000", "1000", "1520", "1620", "18"};

// What a refused calculation says: the whole base plate is in tension (a refusal, not an
// error; the command exits with 3).
inline constexpr const char* fullTensionMessage = "底板全截面受拉";

enum class Outcome { Done, Refused };

// The first stage of a calculation: the inputs converted, the bolts laid out, the elastic
// check made (in that order, so the first failure is the one the user sees).
struct Analysis {
    BaseInput input;
    BoltLayout layout;
    ElasticCheck check;
};
Analysis analyze(const InputTexts& texts, char decimalSeparator = '.');

// One whole calculation from the five texts: the texts go to the sink as they are made
// (xt first, then the search, then the rest). A failure throws TarvelError; what the sink
// received before it stays. `threads` goes to searchEquilibrium (1: no helper thread).
Outcome calculate(const InputTexts& texts, ResultSink& sink, const SearchProgress& progress = {},
                  char decimalSeparator = '.', int threads = 0);

} // namespace tarvel
