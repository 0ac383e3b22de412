#pragma once

// The cases of the methods beside the elastic one: the compatibility method alone, and the
// envelope of both methods, where each check takes the larger demand.

#include "checks/design.h"

#include <string>
#include <vector>

namespace tarvel {

// The compatibility method's case alone.
ComputedCase computeCompatibilityCase(const InputTexts& inputs, const DesignInput& design,
                                      bool withChecks, CheckTexts texts = CheckTexts::Full);

// The envelope of an elastic case already computed (with checks) and the compatibility
// method's case of the same inputs: the window has the search's result and does not search
// again.
ComputedCase envelopeOfElastic(const ComputedCase& elastic, const DesignInput& design,
                               bool withChecks, CheckTexts texts = CheckTexts::Full);

// Whether the envelope keeps an elastic case: computed, and balanced within the equilibrium
// tolerance. When not, `why` says so for the user.
bool elasticKept(const ComputedCase& elastic, std::string& why);

// Check by check, the one with the larger ratio (the larger demand; for shear the smaller
// capacity), with a remark naming the method that governs. Ties go to the elastic method.
DesignChecks envelopeChecks(const DesignChecks& elastic, const DesignChecks& compatibility);

} // namespace tarvel
