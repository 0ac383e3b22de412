#include "sizingmethod.h"

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

} // namespace tarvel
