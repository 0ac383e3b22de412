#pragma once

// What the commands of tarvel-calc share: the exit statuses, the usage and the refusal of a
// command line, and reading a file named on it.

#include "core/error.h"

#include <cstddef>
#include <string>

namespace tarvel::cli {

enum ExitStatus { success = 0, failure = 1, wrongUsage = 2, fullTension = 3, checkFails = 4 };

// The usage: every option, the methods of the table, the output and the exit statuses.
const std::string& usage();

// Writes `what` and the usage to stderr; returns wrongUsage.
int usageError(const std::string& what);

// Reads a whole file, or standard input for "-"; false with a message on stderr. At most
// `limit` + 1 bytes are read, so that an oversized file is known as such without reading it.
bool readInput(const std::string& path, std::string& text,
               std::size_t limit = std::string::npos - 1);

// An engine message about a design input that has an option of its own, named by it.
std::string optionMessage(const TarvelError& e);

} // namespace tarvel::cli
