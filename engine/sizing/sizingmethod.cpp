#include "sizing/sizingmethod.h"

namespace tarvel {

namespace {

CaseTexts elastic(const InputTexts& inputs, const BoltSize&) {
    CaseTexts out;
    TextSink sink;
    try {
        // One thread: the sizing already runs a geometry on every core.
        out.status = calculate(inputs, sink, {}, '.', 1) == Outcome::Refused
                         ? CaseTexts::Status::Refused
                         : CaseTexts::Status::Ok;
        if (out.status == CaseTexts::Status::Refused) out.message = fullTensionMessage;
    } catch (const TarvelError& e) {
        out.status = CaseTexts::Status::Error;
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
    if (design.method == AnalysisMethod::Elastic) return elasticSizingMethod();
    return {true, [design](const InputTexts& inputs, const BoltSize& bolt) {
                DesignInput d = design;
                d.bolt = bolt.name;
                const CaseOutcome o = computeCase(inputs, d, 1, false);
                CaseTexts out;
                out.status = o.status == CaseOutcome::Status::Ok        ? CaseTexts::Status::Ok
                             : o.status == CaseOutcome::Status::Refused ? CaseTexts::Status::Refused
                                                                        : CaseTexts::Status::Error;
                out.result = o.result;
                out.message = o.message;
                return out;
            }};
}

} // namespace tarvel
