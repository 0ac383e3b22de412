#include "checks/envelope.h"

#include "analysis/compatibility.h"
#include "checks/designbase.h"
#include "checks/methods.h"
#include "core/number.h"

#include <algorithm>
#include <cmath>

namespace tarvel {

namespace {

DesignInput withMethod(DesignInput design, AnalysisMethod method) {
    design.method = method;
    return design;
}

// The remark of a check that one method governs.
void nameGoverning(Check& check, AnalysisMethod method) {
    std::string remark = checkDefinition(check.id).dependsOnMethod
                             ? std::string("由") + methodTitle(method) + "控制"
                             : std::string("与分析方法无关");
    if (!check.remark.empty()) remark += "；" + check.remark;
    check.remark = remark;
}

} // namespace

ComputedCase computeCompatibilityCase(const InputTexts& inputs, const DesignInput& design,
                                      bool withChecks, CheckTexts texts) {
    ComputedCase out;
    out.inputs = inputs;
    out.shownMethod = AnalysisMethod::Compatibility;
    TextSink sink;
    try {
        const DesignData data = resolveDesign(design);
        // A base that cannot exist or a bad detailing fails before the calculation, as with
        // the elastic method.
        if (withChecks) {
            requireRealBase(inputs);
            checkDetailingFits(data, inputs);
        }
        const CompatibilityState s =
            calculateCompatibility(inputs, data.ae, data.nE, sink, '.', design.plateHole);
        if (s.regime == CompatibilityState::Regime::NoEquilibrium) {
            out.status = CaseStatus::Refused;
            out.message = s.message;
        } else {
            out.status = CaseStatus::Ok;
            out.boltForces = s.boltForces;
            if (withChecks) {
                out.checks = checkDesign(analyze(inputs), inputs, sink.result(),
                                         withMethod(design, AnalysisMethod::Compatibility), texts);
                out.hasChecks = true;
            }
        }
    } catch (const TarvelError& e) {
        out.status = CaseStatus::Error;
        out.message = e.what();
    }
    out.result = sink.result();
    out.written = sink.order();
    return out;
}

ComputedCase envelopeOfElastic(const ComputedCase& elastic, const DesignInput& design,
                               bool withChecks, CheckTexts texts) {
    const InputTexts& inputs = elastic.inputs;
    ComputedCase compatibility = computeCompatibilityCase(inputs, design, true, texts);
    // Without a state of its own the envelope has nothing to stand on.
    if (compatibility.status != CaseStatus::Ok) return compatibility;

    std::string why;
    ComputedCase out;
    if (design.plateHole > 0) {
        why = std::string(methodTitle(AnalysisMethod::Elastic)) + "按实心圆板计算，底板开中心孔时" +
              "不适用，由" + methodTitle(AnalysisMethod::Compatibility) + "决定（环形承压面）";
    }
    if (why.empty() && elasticKept(elastic, why)) {
        out = elastic;
        out.shownMethod = AnalysisMethod::Elastic;
        out.checks = envelopeChecks(elastic.checks, compatibility.checks);
        out.otherResult = compatibility.result;
    } else {
        out = std::move(compatibility);
        if (elastic.status == CaseStatus::Ok) out.otherResult = elastic.result;
        out.methodRemark = why;
        for (Check& c : out.checks.checks)
            if (c.checked) nameGoverning(c, AnalysisMethod::Compatibility);
    }
    out.hasChecks = withChecks;
    if (!withChecks) out.checks = DesignChecks{};
    return out;
}

bool elasticKept(const ComputedCase& elastic, std::string& why) {
    const std::string title = methodTitle(AnalysisMethod::Elastic);
    switch (elastic.status) {
    case CaseStatus::Refused:
        why = title + "判定" + elastic.message + "，未采用，由" +
              methodTitle(AnalysisMethod::Compatibility) + "决定";
        return false;
    case CaseStatus::Error:
        why = title + "计算失败（" + elastic.message + "），未采用，由" +
              methodTitle(AnalysisMethod::Compatibility) + "决定";
        return false;
    case CaseStatus::Ok:
        break;
    }
    const double miss = std::max(elastic.checks.forceMiss, elastic.checks.momentMiss);
    if (miss > equilibriumTolerance) {
        why = title + "的平衡误差 " + twoDecimals(miss) + "% 超过 " +
              twoDecimals(equilibriumTolerance) + "%，未采用，由" +
              methodTitle(AnalysisMethod::Compatibility) + "决定";
        return false;
    }
    return true;
}

DesignChecks envelopeChecks(const DesignChecks& elastic, const DesignChecks& compatibility) {
    DesignChecks out = elastic;
    out.ok = true;
    for (std::size_t i = 0; i < out.checks.size(); ++i) {
        if (!elastic.checks[i].checked) continue; // not part of this design
        const bool byCompatibility = compatibility.checks[i].ratio > elastic.checks[i].ratio;
        out.checks[i] = byCompatibility ? compatibility.checks[i] : elastic.checks[i];
        nameGoverning(out.checks[i],
                      byCompatibility ? AnalysisMethod::Compatibility : AnalysisMethod::Elastic);
        out.ok = out.ok && out.checks[i].ok;
    }
    out.forceMiss = std::max(elastic.forceMiss, compatibility.forceMiss);
    out.momentMiss = std::max(elastic.momentMiss, compatibility.momentMiss);
    return out;
}

} // namespace tarvel
