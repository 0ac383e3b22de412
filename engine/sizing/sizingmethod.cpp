#include "sizing/sizingmethod.h"

#include "checks/checkfunctions.h"
#include "checks/designbase.h"
#include "checks/envelope.h"
#include "checks/methods.h"
#include "core/number.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

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

// The base checks of a computed case as the method's own computation judges them.
CaseDemands demandsOf(const ComputedCase& o) {
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

// The elastic half of an envelope case without its checks: the search and its texts, which
// do not depend on the bolt. Its exact equilibrium is left unsolved: it words the remarks of
// the bolt and equilibrium checks, never their demands, which are all the sizing reads.
struct ElasticHalf {
    InputTexts inputs;
    ComputedCase computed; // status, texts, message
    std::optional<Analysis> analysis;
};

ElasticHalf elasticHalf(const InputTexts& inputs) {
    ElasticHalf h;
    h.inputs = inputs;
    h.computed.inputs = inputs;
    TextSink sink;
    try {
        if (calculate(inputs, sink, {}, '.', 1) == Outcome::Refused) {
            h.computed.status = CaseStatus::Refused;
            h.computed.message = fullTensionMessage;
        } else {
            h.computed.status = CaseStatus::Ok;
            h.analysis = analyze(inputs);
        }
    } catch (const TarvelError& e) {
        h.computed.status = CaseStatus::Error;
        h.computed.message = e.what();
    }
    h.computed.result = sink.result();
    h.computed.written = sink.order();
    return h;
}

// The sizing asks for every bolt size the same geometries and loads in turn: the elastic
// halves of the current geometry are kept on each thread and shared by its bolt sizes.
const ElasticHalf& elasticHalfOf(const InputTexts& inputs) {
    // More halves than any project has combinations would only be a geometry left behind.
    constexpr std::size_t keptHalves = 4096;
    thread_local std::vector<ElasticHalf> kept;
    if (!kept.empty() &&
        (kept.front().inputs[2] != inputs[2] || kept.front().inputs[3] != inputs[3] ||
         kept.front().inputs[4] != inputs[4] || kept.size() >= keptHalves))
        kept.clear();
    for (const ElasticHalf& h : kept)
        if (h.inputs == inputs) return h;
    kept.push_back(elasticHalf(inputs));
    return kept.back();
}

// The envelope as computeCase gives it, its elastic half shared by the bolt sizes.
CaseDemands enveloped(const InputTexts& inputs, const DesignInput& design) {
    DesignInput elasticDesign = design;
    elasticDesign.method = AnalysisMethod::Elastic;
    ComputedCase elastic;
    elastic.inputs = inputs;
    try {
        // What computeElasticCase refuses before its calculation, in the same order.
        requireRealBase(inputs);
        checkDetailingFits(resolveDesign(elasticDesign), inputs);
        requireSolidPlate(elasticDesign);
        const ElasticHalf& half = elasticHalfOf(inputs);
        elastic = half.computed;
        if (elastic.status == CaseStatus::Ok) {
            elastic.checks = checkDesign(*half.analysis, inputs, elastic.result, elasticDesign,
                                         RefinedEquilibrium{}, CheckTexts::NumbersOnly);
            elastic.hasChecks = true;
        }
    } catch (const TarvelError& e) {
        elastic.status = CaseStatus::Error;
        elastic.message = e.what();
    }
    return demandsOf(envelopeOfElastic(elastic, design, true, CheckTexts::NumbersOnly));
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
                if (d.method == AnalysisMethod::Envelope) return enveloped(inputs, d);
                return demandsOf(computeCase(inputs, d, 1, true));
            }};
}

} // namespace tarvel
