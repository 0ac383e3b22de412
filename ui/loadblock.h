#pragma once

#include "project.h"

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
    std::optional<Geometry> geometry; // when the block gave d, D and n
    QString error;                    // the block was refused: why, naming the row
};

// Reads the block as spreadsheets copy and save it (UTF-8 with or without a byte-order mark
// or GB18030; tab or comma; LF or CRLF). A first row naming at least P and M (name/名称, P,
// M, V, d, D, n, units in brackets allowed, other columns ignored) is a header. Without one,
// a row is by its number of fields: P,M | P,M,V or name,P,M | name,P,M,V | P,M,d,D,n |
// P,M,d,D,n,V (the two forms of tarvel-calc --csv) | name,P,M,d,D,n,V.
// Rows that give d, D, n must agree with `current` (the project's), or among themselves
// when `adopt` is set, since one project is one base.
LoadBlock parseLoadBlock(std::string_view bytes, const Geometry& current, bool adopt);

// The loads as CSV that tarvel-calc --csv reads: a byte-order mark (so that spreadsheets
// show the names right), the header name,P,M,d,D,n,V and a row per load.
std::string loadsCsv(const std::vector<tarvel::ProjectLoad>& loads, const Geometry& geometry);
