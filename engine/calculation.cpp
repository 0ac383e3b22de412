#include "calculation.h"

namespace tarvel {

Outcome calculate(const InputTexts& texts, ResultSink& sink, const SearchProgress& progress,
                  char decimalSeparator, int threads) {
    const BaseInput input =
        makeBaseInput(texts[0], texts[1], texts[2], texts[3], texts[4], decimalSeparator);
    const BoltLayout layout = layOutBolts(input);
    const ElasticCheck check = checkElastic(input);
    if (check.refused) return Outcome::Refused;
    sink.write(ResultBox::xt, makeFirstResult(check, decimalSeparator));
    const BestFit fit = searchEquilibrium(input, layout, check, progress, threads);
    makeResults(fit, sink, decimalSeparator);
    return Outcome::Done;
}

} // namespace tarvel
