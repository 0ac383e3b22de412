#pragma once

#include "loads/loadtable.h"
#include "project/project.h"

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// d, D and n: the base all load combinations of a project share.
using Geometry = std::array<std::string, 3>;

// Load combinations read from a block of text: a paste from a spreadsheet or a CSV file.
struct LoadBlock {
    std::vector<tarvel::ProjectLoad> loads;
    std::vector<std::string> notes;   // per load: how P, M and V were made, when not as typed
    std::vector<std::string> readAs;  // what was made of the columns (units, resultants, sign)
    std::optional<Geometry> geometry; // when the block gave d, D and n
    QString error;                    // the block was refused: why, naming the row
};

// Reads the block with the engine's load-table reader (tarvel::readLoadCases: headers of
// analysis programs' exports, units, Mx/My and Vx/Vy, or the shapes of a table without
// header). A row that is no load case refuses the whole block. Rows that give d, D, n must
// agree with `current` (the project's), or among themselves when `adopt` is set, since one
// project is one base. `tensionPositive`: the block's axial force is positive in tension.
LoadBlock parseLoadBlock(std::string_view bytes, const Geometry& current, bool adopt,
                         bool tensionPositive = false);

// The loads as CSV that tarvel-calc --csv reads: a byte-order mark (so that spreadsheets
// show the names right), the header name,P,M,d,D,n,V and a row per load.
std::string loadsCsv(const std::vector<tarvel::ProjectLoad>& loads, const Geometry& geometry);
