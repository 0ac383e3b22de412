#include "loads/resultscsv.h"

#include "core/number.h"
#include "loads/csv.h"

#include <vector>

namespace {

const char* statusName(tarvel::CaseOutcome::Status status) {
    switch (status) {
    case tarvel::CaseOutcome::Status::Ok:
        return "ok";
    case tarvel::CaseOutcome::Status::Refused:
        return "refused";
    case tarvel::CaseOutcome::Status::Error:
        break;
    }
    return "error";
}

} // namespace

std::string resultsCsv(const LoadTableModel& model, const Geometry& g,
                       const tarvel::DesignInput& design) {
    using tarvel::csvField;
    // A check is made in every row or in none, as the design says.
    std::vector<tarvel::CheckId> shown;
    for (const tarvel::CheckDefinition& def : tarvel::checkDefinitions())
        if (tarvel::checkApplies(def, design)) shown.push_back(def.id);
    std::string out = "\xEF\xBB\xBF"
                      "name,P,M,d,D,n,status";
    for (tarvel::ResultBox box : tarvel::allResultBoxes)
        out += std::string(",") + tarvel::boxName(box);
    out += ",message,V";
    for (tarvel::CheckId id : shown)
        out += std::string(",") + tarvel::checkDefinition(id).key + "_ratio";
    out += ",verdict\n";
    for (int k = 0; k < model.rowCount(); ++k) {
        const LoadTableModel::Row& row = model.row(k);
        const tarvel::ProjectLoad& l = row.load;
        for (const std::string* f : {&l.name, &l.P, &l.M, &g[0], &g[1], &g[2]})
            out += csvField(*f) + ",";
        const bool ownV = l.V.find_first_not_of(" \t") != std::string::npos;
        const std::string V = ownV ? l.V : tarvel::numberToText(design.V);
        if (!row.outcome) {
            out += std::string(row.cancelled ? "cancelled" : "") +
                   std::string(tarvel::resultBoxCount + 1, ',') + "," + csvField(V) +
                   std::string(shown.size() + 1, ',') + "\n";
            continue;
        }
        const tarvel::CaseOutcome& o = *row.outcome;
        out += statusName(o.status);
        for (tarvel::ResultBox box : tarvel::allResultBoxes) {
            out += ',';
            for (tarvel::ResultBox made : o.written)
                if (made == box) out += csvField(o.result[box]);
        }
        out += ',' + csvField(o.message) + ',' + csvField(V);
        for (tarvel::CheckId id : shown)
            out += ',' + (o.hasChecks ? o.checks[id].ratioText : std::string());
        out += ',' + std::string(o.hasChecks ? (o.checks.ok ? "ok" : "fail") : "");
        out += '\n';
    }
    return out;
}
