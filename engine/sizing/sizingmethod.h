#pragma once

#include "analysis/calculation.h"
#include "checks/design.h"

#include <array>
#include <functional>
#include <string>

namespace tarvel {

// What the sizing asks of an analysis method: the demands its base checks would judge for one
// geometry, one load combination and one bolt size, as `computeCase` of that method gives
// them (for the envelope, the larger demand of the two methods, check by check). A method
// whose results depend on the bolt (through its effective area A_e) says so, and is then asked
// once per bolt size; one that does not is asked once per geometry and load, and its demands
// serve every bolt size.
// A method's bearing at the edge and its compression length, for the plate inside the tube.
struct EdgeBearing {
    double sigma = 0, x = 0; // N/mm², mm
};

struct CaseDemands {
    CaseStatus status = CaseStatus::Error;
    double T = 0;             // kN, the bolt check's demand
    double sigma = 0;         // N/mm², the bearing check's demand
    double shearCapacity = 0; // kN, μ·C of the shear check
    double miss = 0;          // %, the equilibrium check's demand
    // Each method's edge stress and compression length (the envelope has two).
    std::array<EdgeBearing, 2> edges{};
    std::string message; // the refusal or the failure, in Chinese
};

struct SizingMethod {
    bool dependsOnBolt = false;
    std::function<CaseDemands(const InputTexts& inputs, const BoltSize& bolt)> compute;
};

// The elastic method: the search of the window, on the caller's thread, its demands read
// from the texts as the checks read them.
SizingMethod elasticSizingMethod(const DesignInput& design);

// The method of a design (design.method): the elastic one above, or another through
// computeCase with each bolt size, its demands depending on the bolt.
SizingMethod sizingMethodFor(const DesignInput& design);

} // namespace tarvel
