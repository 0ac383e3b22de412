#include "sizing/sizingmethod.h"

#include "checks/checkfunctions.h"
#include "checks/methods.h"
#include "core/number.h"

#include <algorithm>
#include <cmath>

namespace tarvel {

namespace {

CaseDemands elastic(const InputTexts& inputs, double friction) {
    CaseDemands out;
    TextSink sink;
    try {
        // One thread: the sizing already runs a geometry on every core.
        if (calculate(inputs, sink, {}, '.', 1) == Outcome::Refused) {
            out.status = CaseStatus::Refused;
            out.message = fullTensionMessage;
            return out;
        }
        // The numbers of the texts, as checkDesign reads them.
        const BaseResult& r = sink.result();
        out.T = textToNumber(r.tt);
        out.sigma = textToNumber(r.qmaxt);
        out.edges[0] = {out.sigma, checks::compressionLength(r)};
        const double C = textToNumber(r.fqt);
        out.shearCapacity = checks::frictionCapacity(friction, C);
        const EquilibriumMisses miss = equilibriumMisses(
            textToNumber(inputs[0]), std::fabs(textToNumber(inputs[1])), textToNumber(inputs[2]), C,
            textToNumber(r.fmst), textToNumber(r.h1t), textToNumber(r.h2t));
        out.miss = std::max(miss.force, miss.moment);
        out.status = CaseStatus::Ok;
    } catch (const TarvelError& e) {
        out.status = CaseStatus::Error;
        out.message = e.what();
    }
    return out;
}

// The base checks of a case as the method's own computation judges them.
CaseDemands checked(const InputTexts& inputs, const DesignInput& design) {
    const ComputedCase o = computeCase(inputs, design, 1, true);
    CaseDemands out;
    out.message = o.message;
    if (o.status == CaseStatus::Refused) {
        out.status = CaseStatus::Refused;
        return out;
    }
    if (o.status != CaseStatus::Ok || !o.hasChecks) return out;
    const auto& c = o.checks.checks;
    out.T = c[static_cast<int>(CheckId::Bolt)].demand;
    out.sigma = c[static_cast<int>(CheckId::Bearing)].demand;
    out.shearCapacity = c[static_cast<int>(CheckId::Shear)].capacity;
    out.miss = c[static_cast<int>(CheckId::Equilibrium)].demand;
    auto edge = [](const BaseResult& r) -> EdgeBearing {
        try {
            return {textToNumber(r.qmaxt), checks::compressionLength(r)};
        } catch (const TarvelError&) {
            return {};
        }
    };
    out.edges[0] = edge(o.result);
    if (o.otherResult) out.edges[1] = edge(*o.otherResult);
    out.status = CaseStatus::Ok;
    return out;
}

} // namespace

SizingMethod elasticSizingMethod(const DesignInput& design) {
    const double friction = design.friction;
    return {false, [friction](const InputTexts& inputs, const BoltSize&) {
                return elastic(inputs, friction);
            }};
}

SizingMethod sizingMethodFor(const DesignInput& design) {
    const AnalysisMethod searched = methodDefinition(design.method).sizingSearch;
    if (searched == AnalysisMethod::Elastic) return elasticSizingMethod(design);
    // The sizing chooses the parts: the project's own are neither checked nor fitted here.
    DesignInput base = design;
    base.method = searched;
    base.detailing.reset();
    // Any shear above zero: the envelope then keeps the smaller friction capacity μ·C, which
    // the sizing holds against each combination's own V.
    base.V = 1;
    return {methodDefinition(searched).dependsOnBolt,
            [base](const InputTexts& inputs, const BoltSize& bolt) {
                DesignInput d = base;
                d.bolt = bolt.name;
                return checked(inputs, d);
            }};
}

} // namespace tarvel
