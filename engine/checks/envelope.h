#pragma once

// The cases of the methods beside the elastic one: the compatibility method alone, and the
// envelope of both methods, where each check takes the larger demand.

#include "checks/design.h"

#include <string>
#include <vector>

namespace tarvel {

// computeCase for the compatibility and the envelope methods.
CaseOutcome computeMethodCase(const InputTexts& inputs, const DesignInput& design, int threads,
                              bool withChecks);

// The compatibility method's case alone.
CaseOutcome computeCompatibilityCase(const InputTexts& inputs, const DesignInput& design,
                                     bool withChecks);

// The envelope of an elastic case already computed (with checks) and the compatibility
// method's case of the same inputs: the window has the search's result and does not search
// again.
CaseOutcome envelopeOfElastic(const CaseOutcome& elastic, const DesignInput& design,
                              bool withChecks);

// The force of every bolt (kN, bolt 1 first) for the elastic texts of a finished case: the
// bolt forces of its T. Empty when they cannot be made.
std::vector<double> elasticBoltForces(const CaseOutcome& elastic);

// Whether the envelope keeps an elastic case: computed, and balanced within the equilibrium
// tolerance. When not, `why` says so for the user.
bool elasticKept(const CaseOutcome& elastic, std::string& why);

// Check by check, the one with the larger ratio (the larger demand; for shear the smaller
// capacity), with a remark naming the method that governs. Ties go to the elastic method.
DesignChecks envelopeChecks(const DesignChecks& elastic, const DesignChecks& compatibility);

} // namespace tarvel
