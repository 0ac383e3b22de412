#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// Text as spreadsheets save it, made UTF-8: a UTF-8 byte-order mark is skipped, and a file
// that is not valid UTF-8 is read as GB18030 (what Chinese spreadsheet programs write by
// default). Bytes that are neither come back as U+FFFD.
std::string decodeSpreadsheetText(std::string_view bytes);

// Whether the bytes are valid UTF-8.
bool isValidUtf8(std::string_view bytes);

// Splits CSV text into rows of fields (RFC 4180: quoted fields may hold the delimiter,
// quotes doubled, and line breaks; rows end with LF or CRLF). Blank lines give no row.
std::vector<std::vector<std::string>> parseCsv(std::string_view text, char delimiter = ',');

// The delimiter of a table pasted or saved by a spreadsheet: a tab when the first row that
// is not blank holds one outside quotes, otherwise a comma.
char guessDelimiter(std::string_view text);

// A field quoted when it needs to be.
std::string csvField(std::string_view field);

} // namespace tarvel
