#pragma once

#include "analysis/calculation.h"
#include "analysis/equilibrium.h"
#include "checks/detailing.h"

#include <array>
#include <string>
#include <vector>

namespace tarvel {

// Every design check, in the order they are shown. The first four need only the design
// input; the steel parts need the detailing.
enum class CheckId {
    Bolt,
    Bearing,
    Shear,
    Equilibrium,
    Plate,
    PlateInside,
    Cap,
    CapWeld,
    Stiffener,
    StiffenerWeld,
    StiffenerPlateWeld,
    ColumnWeld,
    Tube,
    Anchorage,
    Detailing,
    // Made only when asked for: the seismic capacity, and a shear key's three.
    Seismic,
    ShearKeyBearing,
    ShearKey,
    ShearKeyWeld,
};
constexpr int checkCount = 19;

// The outcome of one check.
struct Check {
    CheckId id{};
    const char* name = "";  // its key: bolt, bearing, …
    const char* title = ""; // 锚栓抗拉, …
    bool checked = false;   // false: not part of this design (no detailing given)
    double demand = 0;
    double capacity = 0;
    double ratio = 0; // demand ÷ capacity; infinite when a demand meets no capacity
    std::string demandText, capacityText, ratioText;
    bool ok = true; // ratio ≤ 1
    std::string remark;
    // The formula with its numbers. Symbols are written {base|sub|sup}, e.g. {N|t|a}:
    // formulaPlain and the report turn them into text or markup.
    std::string formula;

    // The relation a formula writes between demand and capacity: it follows the verdict.
    std::string relation() const { return ok ? " ≤ " : " > "; }
};

struct DesignData;

// What a check reads: the numbers of the texts the user sees, the loads, the materials.
struct CheckContext {
    const DesignData& data;
    const Detailing* detailing; // null without detailing
    const BaseResult& result;
    const RefinedEquilibrium& refined;
    double T, sigma, C, F, h1, h2; // the texts tt, qmaxt, fqt, fmst, h1t, h2t as numbers
    double P, M, V;                // kN, kN·m (|M|), kN (|V|)
    double d, D;                   // mm
    int n;
    double forceMiss, momentMiss; // %, of the equilibrium check
    bool boltsBeyondAxis;         // a bolt lies beyond the neutral axis
    double x0;                    // mm, elastic compression length
    bool searched;                // the texts are the search's (the elastic method's)
    double x;                     // mm, the compression length of the texts (xt)
    bool texts = true;            // false: numbers only (CheckTexts::NumbersOnly)
};

// One check, defined once: the command, the batch, the window, the load table and the
// report all read this table. To add a check: a CheckId before `checkCount`, an entry in
// checkDefinitions() and its function.
struct CheckDefinition {
    CheckId id;
    const char* key;        // bolt: JSON, CLI lines, CSV column `bolt_ratio`
    const char* title;      // 锚栓抗拉
    const char* shortTitle; // 锚栓: column headers of the tables
    const char* unit;       // of demand and capacity
    bool needsDetailing;    // a steel part: checked only when a tube is given (checkApplies)
    // false: the same in every load combination (the anchorage, the detailing rules), so it
    // cannot tell which combination governs.
    bool dependsOnLoad;
    // false: read from P, M, V and the parts alone, the same whatever the analysis method.
    bool dependsOnMethod;
    Check (*evaluate)(const CheckContext&);
};
const std::array<CheckDefinition, checkCount>& checkDefinitions();
const CheckDefinition& checkDefinition(CheckId id);

struct DesignInput;
// Whether a design makes the check: the steel parts need the detailing, the seismic check
// design.seismic and the shear key's checks a key.
bool checkApplies(const CheckDefinition& def, const DesignInput& design);

// demand ÷ capacity as every check takes it: 0 without demand, infinite without capacity.
double checkRatio(double demand, double capacity);

// A check from its numbers: the ratio, its text and the verdict.
Check makeCheck(CheckId id, double demand, std::string demandText, double capacity);
// The same without texts, for checks asked for their numbers only.
Check makeCheck(CheckId id, double demand, double capacity);

// A formula's symbols as plain text: {N|t|a} → N_t^a.
std::string formulaPlain(const std::string& formula);

} // namespace tarvel
