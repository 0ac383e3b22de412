#include "analysis/results.h"

#include "core/number.h"

#include <utility>

namespace tarvel {

const char* boxName(ResultBox box) {
    static const char* const names[resultBoxCount] = {"xt",  "qmaxt", "tt",  "fmst", "mmst", "fqt",
                                                      "mqt", "ct",    "c2t", "h1t",  "h2t",  "vt"};
    return names[static_cast<int>(box)];
}

const std::string& BaseResult::operator[](ResultBox box) const {
    const std::string* fields[resultBoxCount] = {&xt,  &qmaxt, &tt,  &fmst, &mmst, &fqt,
                                                 &mqt, &ct,    &c2t, &h1t,  &h2t,  &vt};
    return *fields[static_cast<int>(box)];
}

std::string& BaseResult::operator[](ResultBox box) {
    return const_cast<std::string&>(std::as_const(*this)[box]);
}

void TextSink::write(ResultBox box, const std::string& text) {
    result_[box] = text;
    order_.push_back(box);
}

std::string TextSink::read(ResultBox box) const {
    return result_[box];
}

std::string makeFirstResult(const ElasticCheck& check, char sep) {
    return formatWithPattern(check.x0, ".", sep);
}

void makeResults(const BestFit& fit, ResultSink& sink, char sep) {
    auto number = [&](ResultBox box) {
        return textToNumber(sink.read(box), InputField::None, sep);
    };

    sink.write(ResultBox::qmaxt, formatWithPattern(fit.qmax, ".00", sep));
    sink.write(ResultBox::tt, formatWithPattern(static_cast<double>(fit.T), ".00", sep));
    sink.write(ResultBox::fmst,
               formatWithPattern(toSingle(static_cast<double>(fit.fms) / 1000), ".00", sep));
    sink.write(ResultBox::mmst,
               formatWithPattern(static_cast<double>(fit.mms) / 1000000, ".00", sep));
    sink.write(ResultBox::fqt,
               formatWithPattern(toSingle(static_cast<double>(fit.fq) / 1000), ".00", sep));
    sink.write(ResultBox::mqt, formatWithPattern(fit.mq / 1000000, ".00", sep));
    sink.write(ResultBox::ct, formatWithPattern(fit.c, ".", sep));
    sink.write(ResultBox::c2t, formatWithPattern(fit.c2, ".", sep));

    // The sums are made from the texts the user reads, not from the unrounded values.
    const double fq = number(ResultBox::fqt);
    const double fms = number(ResultBox::fmst);
    sink.write(ResultBox::h1t, numberToText(checked(fq - fms), sep));
    const double mq = number(ResultBox::mqt);
    const double mms = number(ResultBox::mmst);
    sink.write(ResultBox::h2t, numberToText(checked(mq + mms), sep));

    sink.beforeShearCapacity();
    const float shear = toSingle(0.4 * number(ResultBox::fqt));
    sink.write(ResultBox::vt, formatWithPattern(shear, ".", sep));
}

} // namespace tarvel
