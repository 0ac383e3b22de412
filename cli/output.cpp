#include "output.h"

#include "analysis/fem/basefem.h"
#include "checks/bearingarea.h"
#include "checks/methods.h"
#include "core/number.h"
#include "loads/batchcsv.h"
#include "project/detailingjson.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace tarvel::cli {

using json = nlohmann::ordered_json;

std::string checkLines(const DesignChecks& checks, AnalysisMethod method) {
    std::string out = std::string("method\t") + methodName(method) + '\n';
    for (const Check* check : checks.made()) {
        const Check& c = *check;
        out += std::string(c.name) + '\t' + c.demandText + '\t' + c.capacityText + '\t' +
               c.ratioText + '\t' + (c.ok ? "ok" : "fail") + '\n';
    }
    out += std::string("verdict\t") + (checks.ok ? "ok" : "fail") + '\n';
    return out;
}

namespace {

// JSON has no infinity: a ratio without a capacity is null.
json number(double value) {
    return std::isfinite(value) ? json(value) : json(nullptr);
}

const char* refinedStatusName(RefinedEquilibrium::Status s) {
    switch (s) {
    case RefinedEquilibrium::Status::Solved:
        return "solved";
    case RefinedEquilibrium::Status::NoEquilibrium:
        return "no-equilibrium";
    case RefinedEquilibrium::Status::ForceOnly:
        return "force-only";
    case RefinedEquilibrium::Status::Singular:
        break;
    }
    return "singular";
}

// The plate finite-element model: its size, the iterations, the contact, every bolt, the
// body's settlement and rotation, and the largest plate stress with where it lies.
json femJson(const fem::FemSolution& s) {
    return {{"nodes", s.nodes},
            {"elements", s.elements},
            {"iterations", s.iterations},
            {"coarse_iterations", s.coarseIterations},
            {"depth", number(s.depth)},
            {"mesh", number(s.meshSize)},
            {"contact_area", number(s.contactArea)},
            {"bolt_forces", s.state.boltForces},
            {"settlement", number(s.settlement)},
            {"rotation", number(s.rotation)},
            {"max_plate_stress",
             {{"value", number(s.maxStress)},
              {"x", number(s.maxStressX)},
              {"y", number(s.maxStressY)},
              {"place", s.maxStressPlace}}}};
}

} // namespace

std::string caseJson(const ComputedCase& outcome, const Options& options) {
    static const char* const inputNames[] = {"P", "M", "d", "D", "n"};
    json j;
    json inputs = json::object();
    for (int i = 0; i < 5; ++i)
        inputs[inputNames[i]] = outcome.inputs[i];
    j["input"] = inputs;
    j["status"] = statusName(outcome.status);
    // The method of the checks, and whose twelve texts are shown (the envelope's vary).
    j["method"] = methodName(options.design.method);
    j["results_method"] = methodName(outcome.shownMethod);
    if (!outcome.message.empty()) j["message"] = outcome.message;
    json results = json::object();
    for (ResultBox box : outcome.written)
        results[boxName(box)] = outcome.result[box];
    j["results"] = results;
    if (outcome.status == CaseStatus::Ok) j["bolt_forces"] = outcome.boltForces;
    if (!outcome.methodRemark.empty()) j["method_remark"] = outcome.methodRemark;
    if (outcome.fem) j["fem"] = femJson(*outcome.fem);
    const DesignInput& d = options.design;
    j["design"] = {{"bolt", d.bolt},
                   {"steel", d.steel},
                   {"concrete", d.concrete},
                   {"betaL", d.betaL},
                   {"V", d.V},
                   {"friction", d.friction},
                   {"method", methodName(d.method)}};
    j["design"]["modularRatio"] = d.modularRatio ? json(*d.modularRatio) : json(nullptr);
    if (d.pedestal) j["design"]["pedestal"] = *d.pedestal;
    if (d.seismic) j["design"]["seismic"] = {{"etaJ", d.seismic->etaJ}};
    if (outcome.hasChecks) {
        const DesignChecks& c = outcome.checks;
        j["design"]["bolt"] = c.data.bolt.name;
        j["design"]["steel"] = c.data.steel.name;
        j["design"]["concrete"] = c.data.concrete.name;
        j["design"]["Ae"] = c.data.ae;
        j["design"]["fta"] = c.data.steel.tensileDesign;
        j["design"]["fc"] = c.data.concrete.compressiveDesign;
        j["design"]["modularRatio"] = c.data.nE;
        if (c.detailing) {
            j["design"]["detailing"] = detailingJson(c.detailing->input);
        }
        // With a pedestal, β_l is the one computed for this base.
        if (c.data.input.pedestal)
            j["design"]["betaL"] = effectiveBetaL(c.data.input, textToNumber(outcome.inputs[2]));
        json checks = json::array();
        for (const Check* made : c.made()) {
            const Check& k = *made;
            checks.push_back({{"name", k.name},
                              {"title", k.title},
                              {"demand", number(k.demand)},
                              {"capacity", number(k.capacity)},
                              {"ratio", number(k.ratio)},
                              {"demandText", k.demandText},
                              {"capacityText", k.capacityText},
                              {"ratioText", k.ratioText},
                              {"ok", k.ok},
                              {"remark", k.remark},
                              {"formula", formulaPlain(k.formula)}});
        }
        j["checks"] = checks;
        j["verdict"] = c.ok ? "ok" : "fail";
        const RefinedEquilibrium& r = c.refined;
        if (outcome.shownMethod == AnalysisMethod::Elastic)
            j["refined"] = {{"status", refinedStatusName(r.status)},
                            {"qmax", number(r.qmax)},
                            {"T", number(r.T)},
                            {"C", number(r.C)},
                            {"Mc", number(r.Mc)},
                            {"F", number(r.F)},
                            {"Mb", number(r.Mb)},
                            {"forceSum", number(r.forceSum)},
                            {"momentSum", number(r.momentSum)}};
        j["geometryRemarks"] = c.geometryRemarks;
    }
    // Arguments need not be UTF-8: invalid bytes become U+FFFD rather than an exception.
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace tarvel::cli
