#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel::cli {

// Splits CSV text into rows of fields (RFC 4180: quoted fields may hold commas, quotes
// doubled, and line breaks; rows end with LF or CRLF). Blank lines give no row.
std::vector<std::vector<std::string>> parseCsv(std::string_view text);

// A field quoted when it needs to be.
std::string csvField(std::string_view field);

// Computes every load case of `text` on all cores and writes the result table, in input
// order, to `out`. `showProgress` writes a progress line to stderr when the batch is slow.
void runBatch(std::string_view text, std::string& out, bool showProgress);

} // namespace tarvel::cli
