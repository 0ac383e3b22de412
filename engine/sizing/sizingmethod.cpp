#include "sizing/sizingmethod.h"

#include "checks/methods.h"

namespace tarvel {

namespace {

CaseTexts elastic(const InputTexts& inputs, const BoltSize&) {
    CaseTexts out;
    TextSink sink;
    try {
        // One thread: the sizing already runs a geometry on every core.
        out.status = calculate(inputs, sink, {}, '.', 1) == Outcome::Refused ? CaseStatus::Refused
                                                                             : CaseStatus::Ok;
        if (out.status == CaseStatus::Refused) out.message = fullTensionMessage;
    } catch (const TarvelError& e) {
        out.status = CaseStatus::Error;
        out.message = e.what();
    }
    out.result = sink.result();
    return out;
}

} // namespace

SizingMethod elasticSizingMethod() {
    return {false, elastic};
}

SizingMethod sizingMethodFor(const DesignInput& design) {
    // The elastic method's own texts, without a case around them: its search is most of the
    // sizing's time.
    if (design.method == AnalysisMethod::Elastic) return elasticSizingMethod();
    return {methodDefinition(design.method).dependsOnBolt,
            [design](const InputTexts& inputs, const BoltSize& bolt) {
                DesignInput d = design;
                d.bolt = bolt.name;
                const ComputedCase o = computeCase(inputs, d, 1, false);
                CaseTexts out;
                out.status = o.status;
                out.result = o.result;
                out.message = o.message;
                return out;
            }};
}

} // namespace tarvel
