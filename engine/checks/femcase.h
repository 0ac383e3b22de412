#pragma once

// A case by the plate finite-element method: the model solved, its twelve texts in the
// patterns of the other methods, and the checks, where the base-plate check takes the
// model's largest surface stress.

#include "analysis/fem/basefem.h"
#include "checks/design.h"

#include <memory>

namespace tarvel::fem {

// The model's input from the five texts and the design (its tube, plate, bolt and concrete).
// Throws TarvelError naming the input; `design.detailing` must be given.
BaseFemInput femInput(const InputTexts& inputs, const DesignData& data, const Detailing& detailing);

// computeCase for the plate finite-element method. A state that cycles or has no equilibrium
// is Refused, with the model's message.
ComputedCase computeFemCase(const InputTexts& inputs, const DesignInput& design, bool withChecks,
                            const FemProgress& progress = {});

} // namespace tarvel::fem
