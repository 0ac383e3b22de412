#pragma once

// The design inputs, one entry each: what the project file, the window's remembered settings,
// the command's options and its usage, and the report's input table need to know of an input.
// Each of them walks this list, so that an input added here is read, written, remembered,
// taken on the command line and reported.

#include "checks/design.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarvel {

// The ranges the design window offers where the engine sets none; its remembered settings are
// taken in them too.
constexpr double minTypedFriction = 0.01; // μ: the engine takes any above 0
constexpr double maxAnchorage = 10000;    // mm
constexpr double maxGrout = 1000;         // mm

// One input's value as its writers pass it: none (an optional input left unset), a number, a
// text or a flag.
using InputValue = std::variant<std::monostate, double, std::string, bool>;

enum class InputKind {
    choice,         // a name from a list: a bolt size, a grade, a method
    text,           // a text the checks read ("20x400")
    number,         // a number with a default
    optionalNumber, // a number, or none
    flag,           // on or off (a flag with `word`: the word in place of another input's value)
    part,           // the detailing or the seismic check: present or not
};

// The part of the design an input belongs to: the design itself, or one of the two parts that
// are present or not (their inputs are read, written and remembered only with them).
enum class InputPart { design, detailing, seismic };

// The group of the report's input table an input's row is in (none: it has no row).
enum class ReportGroup { none, load, material, detailing };

// How the report writes an input's value: as the number it is, as a coefficient with at least
// one decimal (1.0), or as a load is typed.
enum class ReportValue { plain, coefficient, load };

// Where the usage shows an input's lines: the design options, the analysis model's, the
// detailing's, the pedestal's; none for an input whose lines come from elsewhere (the methods
// from their table).
enum class UsageBlock { none, design, model, detailing, pedestal };

struct DesignInputEntry {
    // The key in the project file, in the object of its part ("design.", "design.detailing.",
    // "design.seismic."); a part's key names its object.
    const char* key = "";
    InputPart part = InputPart::design;
    InputKind kind = InputKind::number;
    // The input the engine's messages name (None: it has none of its own).
    InputField field = InputField::None;
    // The oldest project file version that holds it; a file is written in the newest version
    // of the inputs it writes.
    int version = 2;
    // The file writes it at its default too (the first release's keys, the detailing's base);
    // otherwise only when it differs from its default.
    bool always = false;
    // The file must have it (in its part's object, when the part is there).
    bool required = false;
    // Written only when the input of this key is (the shear key's grout and weld).
    const char* writtenWith = nullptr;
    // The design part's input kept in the detailing's object, which it needs (the plate's hole).
    bool needsDetailing = false;
    // A flag written as this word in place of the value of the input of the same key
    // (`"weld": "full"`, `--weld full`).
    const char* word = nullptr;

    // The command's option ("--bolt"), and its lines in the usage, as printed (a line shared
    // with the next entry's ends without a newline).
    const char* option = nullptr;
    const char* usage = "";
    UsageBlock usageBlock = UsageBlock::none;
    // The usage shows its lines right after this option's rather than in the list's order.
    const char* usageAfter = nullptr;
    bool asksChecks = false;     // the option alone asks for the design checks
    bool namedInMessage = false; // the command's messages about it name the option
    // Refused out of [low, high] before anything is computed: by the command (a usage error)
    // and by the project file.
    bool commandRange = false;
    bool fileRange = false;
    // The input of one analysis method only: the command refuses it with another.
    std::optional<AnalysisMethod> forMethod = std::nullopt;

    // The window's remembered setting ("design/bolt"); none: not remembered.
    const char* settingsKey = nullptr;
    // The range a number is taken in; a remembered one outside falls back to its default.
    double low = 0, high = 0;
    const char* unit = "";
    // choice: the names it takes, in order.
    std::vector<std::string> (*choices)() = nullptr;

    // The report's row of it among the inputs: its group, its name, its symbol as the checks'
    // formulas write them ({β|l}) and how its value is written. An input of a group without a
    // name has rows the report makes from what the checks derived from it (a grade's
    // strength, a tube's D_t×t_w), as has one that has a name and more rows below it.
    ReportGroup reportGroup = ReportGroup::none;
    const char* label = nullptr;
    const char* symbol = "";
    ReportValue reportValue = ReportValue::plain;

    // The value on a design whose part is present, and setting it there; set is false for a
    // value the input does not take (a name not in the list of a choice it checks).
    InputValue (*get)(const DesignInput&) = nullptr;
    bool (*set)(DesignInput&, const InputValue&) = nullptr;
};

// Every design input, in the order the project file has them.
std::span<const DesignInputEntry> designInputs();

// The entries of the command's option `option` ("--weld" has two: the leg and the word full).
std::vector<const DesignInputEntry*> designInputsOfOption(std::string_view option);

// The entry of the detailing or the seismic check itself (its object, its switch).
const DesignInputEntry& partEntry(InputPart part);

// Whether the part is present on `design` (the design part always is).
bool partPresent(const DesignInput& design, InputPart part);
// Makes the part present, with its defaults when it was not.
void makePartPresent(DesignInput& design, InputPart part);

// The value of an input on a design with every part present at its defaults.
InputValue defaultValue(const DesignInputEntry& entry);

// Whether a project file writes the input of `entry` for `design` (whose part is present).
bool writesInput(const DesignInputEntry& entry, const DesignInput& design);

// The names of a choice as a refusal lists them: "a、b 或 c".
std::string choiceList(const DesignInputEntry& entry);

// A number out of the entry's range, as a refusal says it: "10 至 1000000000 mm 之间" (or with
// `to` in place of "至"), or "±1000000 kN 以内" for a range symmetric about 0.
std::string rangeText(const DesignInputEntry& entry, const char* to = " 至 ");

} // namespace tarvel
