#pragma once

namespace tarvel {

// The analysis that gives the texts the checks read: the elastic compression length and its
// search, the rigid-plate strain compatibility, or the envelope of both. Their keys, titles
// and solvers are the table of checks/methods.cpp.
enum class AnalysisMethod { Elastic, Compatibility, Envelope };

} // namespace tarvel
