#include "analysis/calculation.h"

namespace tarvel {

Outcome calculate(const InputTexts& texts, ResultSink& sink, const SearchProgress& progress,
                  char decimalSeparator, int threads) {
    const Analysis a = analyze(texts, decimalSeparator);
    if (a.check.refused) return Outcome::Refused;
    sink.write(ResultBox::xt, makeFirstResult(a.check, decimalSeparator));
    const BestFit fit = searchEquilibrium(a.input, a.layout, a.check, progress, threads);
    makeResults(fit, sink, decimalSeparator);
    return Outcome::Done;
}

} // namespace tarvel
