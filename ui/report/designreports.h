#pragma once

#include "report/reportactions.h"

#include "project/project.h"

#include <functional>
#include <optional>

class LoadTableModel;

// What the design window reports: the last calculation in full, or the project — the
// governing case in full and every case in a table.
namespace designreports {

// `design` gives the design inputs the calculation is checked with; it may throw TarvelError.
ReportActions::Source caseReport(const std::optional<tarvel::InputTexts>& inputs,
                                 const std::function<tarvel::DesignInput()>& design);
ReportActions::Source projectReport(const tarvel::Project& project, const LoadTableModel& model);

} // namespace designreports
