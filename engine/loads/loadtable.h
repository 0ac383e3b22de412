#pragma once

// Load tables as spreadsheets and analysis programs write them.

#include "loads/loadcases.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The columns a table may have; P, M, d, D and n are required.
enum class LoadColumn { name, P, M, d, D, n, V };

struct LoadTable {
    std::vector<LoadCase> cases;
    bool hasHeader = false;
    bool hasName = false; // a name column was given
    bool hasV = false;    // a V column was given
    std::string error;    // the header cannot be read: no case was read
    // What was made of the columns (units converted, resultants, the sign of P), one line each;
    // empty when every value was taken as typed.
    std::vector<std::string> readAs;
};

// How a table is read.
struct ReadOptions {
    bool tensionPositive = false;  // the table's axial force is positive in tension
    bool geometryOptional = false; // rows may leave d, D and n out (a project has its own)
    std::optional<std::array<std::string, 3>> base; // d, D, n of rows that give none
};

// Reads load cases from a table as `tarvel-calc --csv`, spreadsheets and analysis programs
// write it: bytes in UTF-8 (with or without a byte-order mark) or GB18030, comma- or
// tab-separated, LF or CRLF, blank lines skipped.
//
// A header is a row naming an axial force and a moment, after at most a few title rows.
// Names match without regard to case (but d, D, n and N keep theirs), a unit may follow in
// brackets or after a space:
//   name: name 名称 组合 荷载组合 combo combination case lc     P: P N 轴力
//   M: M 弯矩, or Mx and My giving √(Mx² + My²)                V: V 剪力, or Vx and Vy
//   d, D, n; other columns are ignored.
// Forces convert from N, kN, MN to kN; moments from N·m, N·mm, kN·m, kN·mm, MN·m to kN·m
// (·, -, * or nothing between), exactly, by moving the decimal point. An unknown unit, a column
// named twice, or Mx without My is `error`, naming the column.
//
// Without a header a row is by its number of fields: P,M | P,M,V or name,P,M | name,P,M,V |
// P,M,d,D,n | P,M,d,D,n,V | name,P,M,d,D,n,V (a name is no number). A row that cannot be
// a load case keeps its place with `error` set.
LoadTable readLoadCases(std::string_view bytes, const ReadOptions& options = {});

} // namespace tarvel
