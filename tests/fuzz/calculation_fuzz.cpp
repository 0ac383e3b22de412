// A whole calculation from any five texts: the fast search, with and without skipping
// trials, and the reference loops agree in every bit, every progress report and every
// failure; every trial lies in the bounds the fast search proves for it (trial_bounds.h);
// calculate() writes exactly the texts the reference gives, in order, or fails where it
// fails; and the kept state is one the method can keep. Input: the five texts P, M, d, D,
// n, one a line (missing ones are empty). Inputs whose sweep is beyond fuzz::workBudget
// are rejected before either search runs.

#include "analysis/calculation.h"
#include "analysis/search_fast.h"
#include "best_fit_diff.h"
#include "core/number.h"
#include "fuzz_common.h"
#include "sweep_work.h"
#include "trial_bounds.h"

#include <optional>
#include <string>
#include <vector>

using namespace tarvel;

namespace {

InputTexts fiveTexts(const uint8_t* data, std::size_t size) {
    InputTexts texts;
    std::size_t field = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char ch = static_cast<char>(data[i]);
        if (ch == '\n' && field < 4)
            ++field;
        else
            texts[field] += ch;
    }
    return texts;
}

struct Failure {
    ErrorKind kind;
    InputField field;
    std::string message;
    bool operator==(const Failure&) const = default;
};

Failure failure(const TarvelError& e) {
    return {e.kind(), e.field(), e.what()};
}

std::string describe(const std::optional<Failure>& f) {
    return f ? std::string(errorKindName(f->kind)) + ": " + f->message : "none";
}

struct Run {
    BestFit fit;
    std::vector<float> trials;
    float first = 0, last = 0;
    std::optional<Failure> failed;
};

template <typename Search> Run search(const Analysis& a, Search run) {
    Run r;
    const SearchProgress progress{[&](float lo, float hi) { r.first = lo, r.last = hi; },
                                  [&](float s) { r.trials.push_back(s); }};
    try {
        r.fit = run(a.input, a.layout, a.check, progress);
    } catch (const TarvelError& e) {
        r.failed = failure(e);
    }
    return r;
}

// Empty when the two runs agree in every bit.
std::string differences(const Run& a, const Run& b) {
    std::string out = bestFitDifferences(a.fit, b.fit);
    if (a.trials != b.trials || a.first != b.first || a.last != b.last) out += "progress ";
    if (a.failed != b.failed)
        out += "failure(" + describe(a.failed) + "|" + describe(b.failed) + ")";
    return out;
}

// What calculate() wrote, in order, and how it ended.
struct Written {
    std::vector<std::pair<ResultBox, std::string>> texts;
    std::optional<Outcome> outcome;
    std::optional<Failure> failed;
    bool operator==(const Written&) const = default;
};

class RecordingSink : public TextSink {
  public:
    void write(ResultBox box, const std::string& text) override {
        TextSink::write(box, text);
        written.texts.emplace_back(box, text);
    }
    Written written;
};

std::string show(const Written& w) {
    std::string out;
    for (const auto& [box, text] : w.texts)
        out += std::string(boxName(box)) + "=" + text + " ";
    return out + "/ " + describe(w.failed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const InputTexts texts = fiveTexts(data, size);
    std::optional<Analysis> a;
    std::optional<Failure> analysisFailed;
    try {
        a = analyze(texts);
    } catch (const TarvelError& e) {
        analysisFailed = failure(e);
    }
    if (a && sweepWork(*a) > fuzz::workBudget) return -1;

    RecordingSink got;
    try {
        got.written.outcome = calculate(texts, got);
    } catch (const TarvelError& e) {
        got.written.failed = failure(e);
    }
    if (analysisFailed) {
        FUZZ_CHECK((got.written == Written{{}, {}, analysisFailed}), show(got.written));
        return 0;
    }
    if (a->check.refused) {
        FUZZ_CHECK((got.written == Written{{}, Outcome::Refused, {}}), show(got.written));
        return 0;
    }

    const Run fast = search(*a, [](auto&... args) { return searchEquilibrium(args..., 1); });
    const Run everyTrial = search(*a, [](auto&... args) {
        return detail::fastSearch(args..., {1, false});
    });
    const Run reference =
        search(*a, [](auto&... args) { return searchEquilibriumReference(args...); });
    FUZZ_CHECK(differences(fast, reference).empty(), differences(fast, reference));
    FUZZ_CHECK(differences(everyTrial, reference).empty(), differences(everyTrial, reference));
    BoundsTally tally;
    const std::string outside = checkTrialBounds(*a, tally);
    FUZZ_CHECK(outside.empty(), outside);

    // calculate(): xt, then the texts of the reference's kept state, or the failure.
    RecordingSink expected;
    expected.written.outcome = Outcome::Done;
    expected.write(ResultBox::xt, makeFirstResult(a->check));
    try {
        if (reference.failed)
            throw TarvelError(reference.failed->kind, reference.failed->field,
                              reference.failed->message);
        makeResults(reference.fit, expected);
    } catch (const TarvelError& e) {
        expected.written.outcome.reset();
        expected.written.failed = failure(e);
    }
    FUZZ_CHECK(got.written == expected.written, show(got.written) + " | " + show(expected.written));
    if (reference.failed) return 0;

    // The kept state is one the method can keep.
    const BestFit& fit = reference.fit;
    FUZZ_CHECK(fit.T >= 0 && fit.T <= 1002);
    FUZZ_CHECK(fit.kept == (fit.residual < 1000000));
    FUZZ_CHECK(fit.kept || (fit.qmax == a->check.sigmaMax && fit.mms == 0));
    FUZZ_CHECK(a->check.x0 != a->input.d || fit.T == 0);
    FUZZ_CHECK(!reference.trials.empty() && reference.trials.front() == sweepStart &&
               reference.first == sweepStart && reference.last == sweepEnd(a->check));
    return 0;
}
