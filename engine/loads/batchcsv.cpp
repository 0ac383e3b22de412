#include "loads/batchcsv.h"

#include "checks/methods.h"
#include "loads/csv.h"

namespace tarvel {

const char* statusName(CaseStatus status) {
    switch (status) {
    case CaseStatus::Ok:
        return "ok";
    case CaseStatus::Refused:
        return "refused";
    case CaseStatus::Error:
        break;
    }
    return "error";
}

namespace {

bool shown(const ResultsCsvColumns& columns, const CheckDefinition& def) {
    return columns.applies[static_cast<std::size_t>(def.id)];
}

} // namespace

ResultsCsvColumns resultsCsvColumns(const DesignInput& design, bool named, bool withChecks) {
    ResultsCsvColumns columns{named, withChecks, {}, design.method != AnalysisMethod::Elastic};
    for (const CheckDefinition& def : checkDefinitions())
        columns.applies[static_cast<std::size_t>(def.id)] = checkApplies(def, design);
    return columns;
}

std::string resultsCsvHeader(const ResultsCsvColumns& columns) {
    std::string out;
    if (columns.name) out += "name,";
    out += "P,M,d,D,n,status";
    for (ResultBox box : allResultBoxes)
        out += std::string(",") + boxName(box);
    out += ",message";
    if (columns.checks) {
        out += ",V";
        for (const CheckDefinition& def : checkDefinitions())
            if (shown(columns, def)) out += std::string(",") + def.key + "_ratio";
        out += ",verdict";
    }
    if (columns.method) out += ",method";
    return out + '\n';
}

std::string resultsCsvRow(const ResultsCsvColumns& columns, const std::string& name,
                          const InputTexts& inputs, const std::string& V,
                          const ComputedCase* outcome, const std::string& status) {
    std::string out;
    if (columns.name) out += csvField(name) + ',';
    for (const std::string& input : inputs)
        out += csvField(input) + ',';
    out += outcome ? statusName(outcome->status) : status;
    for (ResultBox box : allResultBoxes) {
        out += ',';
        if (outcome)
            for (ResultBox made : outcome->written)
                if (made == box) out += csvField(outcome->result[box]);
    }
    out += ',' + (outcome ? csvField(outcome->message) : std::string());
    const bool checked = outcome && outcome->hasChecks;
    if (columns.checks) {
        out += ',' + csvField(V);
        for (const CheckDefinition& def : checkDefinitions())
            if (shown(columns, def))
                out += ',' + (checked ? outcome->checks[def.id].ratioText : std::string());
        out += ',' + std::string(checked ? (outcome->checks.ok ? "ok" : "fail") : "");
    }
    if (columns.method)
        out += ',' + std::string(outcome && outcome->status == CaseStatus::Ok
                                     ? methodName(outcome->shownMethod)
                                     : "");
    return out + '\n';
}

} // namespace tarvel
