#pragma once

#include "reportactions.h"

class DesignWindow;

// What the design window reports: the last calculation in full, or, on the 荷载组合 tab
// with its results, the project — the governing case in full and every case in a table.
namespace designreports {

ReportActions::Source caseReport(const DesignWindow& window);
ReportActions::Source projectReport(const DesignWindow& window);
// The report of what the window shows now.
ReportActions::Source shownReport(const DesignWindow& window);

} // namespace designreports
