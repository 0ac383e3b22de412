#include "analysis/calculation.h"

namespace tarvel {

Analysis analyze(const InputTexts& texts, char decimalSeparator) {
    Analysis a;
    a.input = makeBaseInput(texts[0], texts[1], texts[2], texts[3], texts[4], decimalSeparator);
    a.layout = layOutBolts(a.input);
    a.check = checkElastic(a.input);
    return a;
}

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
