#pragma once

// The table of analysis methods, as checks.h holds the table of checks: each method's key,
// title, how a case is computed by it, whether its texts depend on the bolt, and what the
// command's usage and the report say of it. The command, the project files, the window, the
// sizing and the report read the table.

#include "checks/design.h"

#include <span>
#include <string>
#include <string_view>

namespace tarvel {

struct MethodDefinition {
    AnalysisMethod method;
    const char* key;   // "elastic": --method, project files, the CSV and JSON method columns
    const char* title; // 弹性受压区法: what the user reads
    const char* usage; // what the command's usage says of it after its title; may be empty
    // Its texts depend on the bolt (through its effective area A_e): the sizing asks it once
    // per bolt size rather than once per geometry and load.
    bool dependsOnBolt;
    // The case by this method. `elastic`, when not null, is the elastic method's case of the
    // same inputs, computed with checks (the window has the search's result and does not
    // search again); a method that does not build on it ignores it.
    ComputedCase (*compute)(const InputTexts& inputs, const DesignInput& design,
                            const ComputedCase* elastic, int threads, bool withChecks);
    // The report's paragraph on the method ({shown}: the title of the method whose texts the
    // results are); null: the report says nothing of the method.
    const char* reportText;
    // The report states the rigid-plate equations the texts come from.
    bool reportsCompatibility;
    // The method whose demands the sizing's search reads for each geometry: the method itself,
    // or for one too slow to run on every geometry a faster one (the designs listed are still
    // confirmed through this method's own checks).
    AnalysisMethod sizingSearch;
};

// Every method, the default (the elastic one) first.
std::span<const MethodDefinition> methodDefinitions();
const MethodDefinition& methodDefinition(AnalysisMethod method);

// "elastic", "compatibility", "envelope", "fem": the names of the command line and project files.
const char* methodName(AnalysisMethod method);
// 弹性受压区法, 应变协调法, 包络, 板有限元法: the names the user reads.
const char* methodTitle(AnalysisMethod method);
// The method of a name; false for a name that is none.
bool methodFromName(std::string_view name, AnalysisMethod& method);
// The names as a sentence names them: "elastic、compatibility 或 envelope".
std::string methodNameList();

// The calculation of one case by `design.method`, with its checks: for the command, the batch,
// the report and the windows. Without `withChecks` no checks are made, and the design input
// is looked at only when the method needs its bolt and concrete.
ComputedCase computeCase(const InputTexts& inputs, const DesignInput& design, int threads = 0,
                         bool withChecks = true);
// The same from the elastic method's case of the same inputs, computed with checks: nothing
// is searched again.
ComputedCase computeCaseFrom(const ComputedCase& elastic, const DesignInput& design,
                             bool withChecks = true);

} // namespace tarvel
