#include "loads/resultscsv.h"

#include "core/number.h"
#include "loads/batchcsv.h"

std::string resultsCsv(const LoadTableModel& model, const Geometry& g,
                       const tarvel::DesignInput& design) {
    const tarvel::ResultsCsvColumns columns = tarvel::resultsCsvColumns(design, true, true);
    std::string out = "\xEF\xBB\xBF" + tarvel::resultsCsvHeader(columns);
    for (int k = 0; k < model.rowCount(); ++k) {
        const LoadTableModel::Row& row = model.row(k);
        const tarvel::ProjectLoad& l = row.load;
        const bool ownV = l.V.find_first_not_of(" \t") != std::string::npos;
        out += tarvel::resultsCsvRow(columns, l.name, {l.P, l.M, g[0], g[1], g[2]},
                                     ownV ? l.V : tarvel::numberToText(design.V),
                                     row.outcome ? &*row.outcome : nullptr,
                                     row.cancelled ? "cancelled" : "");
    }
    return out;
}
