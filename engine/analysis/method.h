#pragma once

#include <string_view>

namespace tarvel {

// The analysis that gives the texts the checks read: the elastic compression length and its
// search, the rigid-plate strain compatibility, or the envelope of both.
enum class AnalysisMethod { Elastic, Compatibility, Envelope };

// "elastic", "compatibility", "envelope": the names of the command line and project files.
const char* methodName(AnalysisMethod method);
// 弹性受压区法, 应变协调法, 包络: the names the user reads.
const char* methodTitle(AnalysisMethod method);
// The method of a name; false for a name that is none.
bool methodFromName(std::string_view name, AnalysisMethod& method);

} // namespace tarvel
