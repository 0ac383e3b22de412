#include "loads/loadcases.h"

#include "checks/methods.h"
#include "core/workers.h"

#include <algorithm>
#include <thread>

namespace tarvel {

namespace {

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

DesignInput caseDesign(const LoadCase& c, const DesignInput& design) {
    DesignInput d = design;
    if (!trimmed(c.V).empty()) d.V = designNumber(c.V, InputField::V);
    return d;
}

namespace {

ComputedCase computeLoadCase(const LoadCase& c, const DesignInput& design, bool withChecks) {
    if (!c.error.empty()) {
        ComputedCase out;
        out.status = CaseStatus::Error;
        out.message = c.error;
        return out;
    }
    if (!withChecks) return computeCase(c.inputs, design, 1, false);
    try {
        return computeCase(c.inputs, caseDesign(c, design), 1, true);
    } catch (const TarvelError& e) {
        ComputedCase out;
        out.inputs = c.inputs;
        out.status = CaseStatus::Error;
        out.message = e.what();
        return out;
    }
}

// Makes a record where it is converted to one: optional::emplace builds the record straight
// in the table, with no move of its kilobytes.
template <class Make> struct InPlace {
    Make make;
    operator ComputedCase() const { return make(); }
};
template <class Make> InPlace(Make) -> InPlace<Make>;

} // namespace

ComputedCases runBatch(const std::vector<LoadCase>& cases, const DesignInput& design,
                       const BatchOptions& options) {
    ComputedCases results(cases.size());
    std::atomic<std::size_t> next{0}, done{0};
    auto cancelled = [&] { return options.cancel && options.cancel->load(); };
    auto worker = [&] {
        for (std::size_t k; !cancelled() && (k = next++) < cases.size();) {
            results[k].emplace(
                InPlace{[&] { return computeLoadCase(cases[k], design, options.withChecks); }});
            const std::size_t finished = ++done;
            if (options.progress) options.progress(finished, cases.size());
        }
    };
    const unsigned cores =
        options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    detail::runOnCores(cores, cases.size(), worker);
    return results;
}

std::array<int, checkCount> governingCases(std::size_t count, const CaseAt& at) {
    std::array<int, checkCount> governing;
    std::array<double, checkCount> largest{};
    governing.fill(-1);
    for (std::size_t k = 0; k < count; ++k) {
        const ComputedCase* c = at(k);
        if (!c || !c->hasChecks) continue;
        for (int i = 0; i < checkCount; ++i) {
            if (!c->checks.checks[i].checked) continue;
            const double ratio = c->checks.checks[i].ratio;
            if (governing[i] < 0 || ratio > largest[i]) {
                governing[i] = static_cast<int>(k);
                largest[i] = ratio;
            }
        }
    }
    return governing;
}

std::array<int, checkCount> governingCases(const ComputedCases& out) {
    return governingCases(out.size(),
                          [&out](std::size_t k) { return out[k] ? &*out[k] : nullptr; });
}

} // namespace tarvel
