#pragma once

#include "analysis/results.h"

#include <array>
#include <string>

namespace tarvel {

// What a refused calculation says: the whole base plate is in tension (a refusal, not an
// error; the command exits with 3).
inline constexpr const char* fullTensionMessage = "底板全截面受拉";

enum class Outcome { Done, Refused };

// How one load case ended, whatever computed it: its texts made (Ok), refused as the method
// refuses it (the whole plate in tension, or no state in equilibrium), or failed (Error).
enum class CaseStatus { Ok, Refused, Error };

// One whole calculation from the five texts: the texts go to the sink as they are made
// (xt first, then the search, then the rest). A failure throws TarvelError; what the sink
// received before it stays. `threads` goes to searchEquilibrium (1: no helper thread).
Outcome calculate(const InputTexts& texts, ResultSink& sink, const SearchProgress& progress = {},
                  char decimalSeparator = '.', int threads = 0);

} // namespace tarvel
