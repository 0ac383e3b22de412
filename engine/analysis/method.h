#pragma once

namespace tarvel {

// The analysis that gives the texts the checks read: the elastic compression length and its
// search, the rigid-plate strain compatibility, the envelope of both, or the plate as an
// elastic plate (finite elements). Their keys, titles and solvers are the table of
// checks/methods.cpp.
enum class AnalysisMethod { Elastic, Compatibility, Envelope, Fem };

} // namespace tarvel
