#pragma once

// The results of load cases as CSV: the one writer of `tarvel-calc --csv` and `--project`
// and of the load table's export, so that a spreadsheet reads both alike.

#include "checks/design.h"

#include <array>
#include <string>

namespace tarvel {

// ok, refused or error: the status column of the CSV and the status of the JSON.
const char* statusName(CaseStatus status);

// Which columns a results table has: [name,]P,M,d,D,n,status,xt,...,vt,message, then with
// checks V, the ratio of each check made and the verdict, then for a method other than the
// elastic one the method whose texts the row holds (the envelope's vary row by row).
struct ResultsCsvColumns {
    bool name = false;
    bool checks = false;
    // The checks made in this design (the steel parts, the shear key, the seismic check): each
    // is made in every row or in none.
    std::array<bool, checkCount> applies{};
    bool method = false;
};
// The columns for a design.
ResultsCsvColumns resultsCsvColumns(const DesignInput& design, bool named, bool withChecks);

// The header line, with its newline.
std::string resultsCsvHeader(const ResultsCsvColumns& columns);

// One row with its newline: the name (when the columns have one), the five inputs as read,
// the V the checks used, and the case; without a case the row holds only `status` (empty, or
// why it was not computed) and the V.
std::string resultsCsvRow(const ResultsCsvColumns& columns, const std::string& name,
                          const InputTexts& inputs, const std::string& V,
                          const ComputedCase* outcome, const std::string& status = {});

} // namespace tarvel
