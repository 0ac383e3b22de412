#pragma once

#include "analysis/calculation.h"
#include "checks/design.h"

#include <functional>
#include <string>

namespace tarvel {

// What the sizing asks of an analysis method: the result texts the user would read for one
// geometry, one load combination and one bolt size. A method whose results depend on the
// bolt (through its effective area A_e) says so, and is then asked once per bolt size; one
// that does not is asked once per geometry and load, and its texts serve every bolt size.
struct CaseTexts {
    CaseStatus status = CaseStatus::Error;
    BaseResult result;
    std::string message; // the refusal or the failure, in Chinese
};

struct SizingMethod {
    bool dependsOnBolt = false;
    std::function<CaseTexts(const InputTexts& inputs, const BoltSize& bolt)> compute;
};

// The elastic method: the search of the window, on the caller's thread.
SizingMethod elasticSizingMethod();

// The method of a design (design.method): the elastic one above, or another through
// computeCase with each bolt size, its texts depending on the bolt.
SizingMethod sizingMethodFor(const DesignInput& design);

} // namespace tarvel
