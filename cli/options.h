#pragma once

#include "checks/design.h"
#include "core/error.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel::cli {

// What the command line asks for.
struct Options {
    bool help = false;
    bool version = false;
    std::optional<std::string> csv;     // --csv FILE|-
    std::optional<std::string> project; // --project FILE.tarvel
    std::optional<std::string> report;  // --report FILE.pdf|FILE.html
    bool json = false;
    bool tensionPositive = false; // --tension-positive: the table's axial force, tension positive
    bool checks = false;          // a design option (or --check) was given
    bool designGiven = false;     // a design option with a value was given
    bool shearGiven = false;      // --shear was given
    bool designBesidesShear = false; // a design option other than --shear
    bool tubeGiven = false;          // --tube: the steel parts are checked
    bool betaLGiven = false;         // --beta-l
    bool seismicGiven = false;       // --seismic
    std::string femOption;           // --fem-depth or --fem-mesh, when one was given
    bool methodGiven = false;        // --method was given
    // With the options applied. The plain twelve texts are the elastic method's; the checks
    // take the envelope unless a method is chosen (parseOptions).
    DesignInput design = [] {
        DesignInput plain;
        plain.method = AnalysisMethod::Elastic;
        return plain;
    }();
    std::string shearText = "0";                        // --shear as typed, for the V column
    std::string projectName, member, designer, checker; // the report's header
    std::vector<std::string> arguments;                 // the five texts
    // --optimize FILE.tarvel: the sizing, its --top and its ranges as typed, in order.
    std::optional<std::string> optimize;
    int top = 10;
    bool topGiven = false;
    struct SizingText {
        InputField field;
        std::string option; // --bolts
        std::string text;
    };
    std::vector<SizingText> sizing;
};

// The option of a sizing range: --bolts for InputField::sizingBolts.
const char* sizingOptionName(InputField field);

// The option of a design input the engine names in its message (--pedestal), or "".
const char* designOptionName(InputField field);

// A command line that cannot be understood (exit 2).
struct UsageError {
    std::string message;
};

// Parses the arguments after the program's name. Throws UsageError for an unknown option or
// a missing value, and TarvelError for a design value that is no number (exit 1).
Options parseOptions(const std::vector<std::string_view>& args);

} // namespace tarvel::cli
