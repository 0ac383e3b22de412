#pragma once

#include "checks/design.h"
#include "loads/loadblock.h"
#include "loads/loadtablemodel.h"

#include <string>

// The load combinations with their results as CSV, in the columns `tarvel-calc --project`
// writes, so that a spreadsheet reads both alike: name, the five inputs, status (ok, refused,
// error; empty for a row not computed), the twelve result texts, the message, the V used
// and the ratio of each check made with the verdict, and for a method other than the elastic
// one the method of each row. UTF-8 with a byte-order mark, as the inputs' export.
std::string resultsCsv(const LoadTableModel& model, const Geometry& geometry,
                       const tarvel::DesignInput& design);
