#pragma once

namespace tarvel::cli {

// Runs the command's report helper (the command with the report, which needs Qt) in place of
// this process, with the same arguments: its output and exit status are the command's. Returns
// only when the helper cannot be run, after saying why on stderr.
int runReportHelper(char** argv);

} // namespace tarvel::cli
