#pragma once

#include "analysis/calculation.h"
#include "analysis/equilibrium.h"
#include "analysis/method.h"
#include "checks/checks.h"
#include "checks/detailing.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

namespace fem {
struct FemSolution;
}

// What the engineer chooses for the design checks, on top of the five inputs.
struct DesignInput {
    std::string bolt = "M36";     // anchor-bolt size
    std::string steel = "Q355";   // anchor-bolt steel
    std::string concrete = "C30"; // concrete grade
    double betaL = 1.0;           // local-bearing enhancement √(Ab/Al), 1.0 to 3.0
    double V = 0;                 // kN, design shear at the base (its magnitude is used)
    double friction = 0.4;        // μ between plate and grout, 0 < μ ≤ 1
    // The steel parts; without it they are not checked.
    std::optional<DetailingInput> detailing;
    // Whose texts the checks read. The envelope by default: neither method bounds the other,
    // and the elastic one alone can understate the bearing stress severalfold.
    AnalysisMethod method = AnalysisMethod::Envelope;
    std::optional<double> modularRatio; // E_s/E_c of the compatibility method; none: by grade
    // mm, the side B of a square pedestal concentric with the plate: β_l is computed from it.
    std::optional<double> pedestal;
    // mm, the diameter of the plate's central hole (0: none; saved with the detailing, which it
    // needs): the bearing is then an annulus, which the elastic method does not take.
    double plateHole = 0;
    // The seismic capacity of the connection, checked with its connection factor η_j.
    struct Seismic {
        double etaJ = 1.1;
        bool operator==(const Seismic&) const = default;
    };
    std::optional<Seismic> seismic;
    // The plate finite-element method's depth h_e and mesh size h, mm; 0: their defaults.
    double femDepth = 0;
    double femMesh = 0;
    bool operator==(const DesignInput&) const = default;
};

constexpr double minBetaL = 1.0;
constexpr double maxBetaL = 3.0;
constexpr double maxFriction = 1.0;
// kN, either sign: the design window offers no more, so a project keeps no more.
constexpr double maxShear = 1e6;
// mm: a pedestal larger than this is no pedestal a base stands on.
constexpr double maxPedestal = 1e5;

struct BoltSize {
    const char* name; // "M36"
    double diameter;  // mm, nominal
    double pitch;     // mm, coarse thread
};
struct SteelGrade {
    const char* name;     // "Q355"
    double tensileDesign; // f_t^a, N/mm²
};
struct ConcreteGrade {
    const char* name;         // "C30"
    double compressiveDesign; // f_c, N/mm²
};

const std::vector<BoltSize>& boltSizes();
const std::vector<SteelGrade>& steelGrades();
const std::vector<ConcreteGrade>& concreteGrades();

// Effective (stress) area of a bolt: π/4 · (d − 0.9382·p)², mm².
double effectiveArea(const BoltSize& size);

// The design input checked and its materials looked up. Throws TarvelError naming the
// input (InputField::bolt and after) for an unknown size or grade or a value out of range.
struct DesignData {
    DesignInput input;
    BoltSize bolt;
    SteelGrade steel;
    ConcreteGrade concrete;
    double ae = 0; // mm²
    double nE = 0; // modular ratio E_s/E_c: as typed, or by the concrete grade
};
DesignData resolveDesign(const DesignInput& input);

// Reads a design number typed as text (β_l, V, μ): a type mismatch or overflow names `field`.
double designNumber(std::string_view text, InputField field);

// The equilibrium check accepts a miss of at most this much, in percent.
constexpr double equilibriumTolerance = 5.0;

// The two misses of the equilibrium check, in percent, from the numbers of the texts: the
// loads P (kN) and |M| (kN·m), d (mm), C, F, h1, h2.
struct EquilibriumMisses {
    double force = 0, moment = 0;
    double forceReference = 0, momentReference = 0; // what each is taken against, kN and kN·m
};
EquilibriumMisses equilibriumMisses(double P, double M, double d, double C, double F, double h1,
                                    double h2);
// The same from the texts of one method's result: each method's misses over its own state
// (the envelope's check keeps the larger of the two methods'). Throws TarvelError for a text
// that is no number.
EquilibriumMisses equilibriumMisses(const InputTexts& inputs, const BaseResult& result);

struct DesignChecks {
    DesignData data;
    std::optional<Detailing> detailing;   // when the steel parts are checked
    std::array<Check, checkCount> checks; // every check; those not made have checked false
    bool ok = true;                       // every check holds
    RefinedEquilibrium refined;           // for the elastic texts only (Singular for the others)
    std::vector<std::string> geometryRemarks;
    // The two misses of the equilibrium check, in percent, and what each is taken against:
    // max(|P|, C, F) in kN and max(M, (C + F)·d/2000) in kN·m, each at least 1.
    double forceMiss = 0, momentMiss = 0;
    double forceReference = 0, momentReference = 0;

    const Check& operator[](CheckId id) const { return checks[static_cast<int>(id)]; }
    // The checks made, in order.
    std::vector<const Check*> made() const;
};

// Whether checks write their texts (the numbers as shown, formulas, remarks) or give their
// numbers alone: the sizing reads demands and capacities only, hundreds of thousands of times.
enum class CheckTexts { Full, NumbersOnly };

// The checks of a finished calculation: a pure function of the input texts, the result
// texts the user reads and the design input. The analysis gives the refined equilibrium.
// `design.method` says whose texts `result` holds: for any but the elastic method's there is
// no search ceiling to remark on and no refined equilibrium.
DesignChecks checkDesign(const Analysis& analysis, const InputTexts& inputs,
                         const BaseResult& result, const DesignInput& design,
                         CheckTexts texts = CheckTexts::Full);
// The same with the exact equilibrium of this analysis already solved (it depends on the
// analysis alone), so that the checks of the same texts for other bolts or materials reuse
// it; the sizing, which reads demands only, passes an unsolved one.
DesignChecks checkDesign(const Analysis& analysis, const InputTexts& inputs,
                         const BaseResult& result, const DesignInput& design,
                         const RefinedEquilibrium& refined, CheckTexts texts = CheckTexts::Full);

// The detailing and the pedestal checked against the base of `inputs` before anything is
// computed: throws TarvelError naming the input when it cannot be built. Nothing happens
// without them, or when the geometry's texts are no numbers (the calculation reports those).
void checkDetailingFits(const DesignData& data, const InputTexts& inputs);
// A pedestal no smaller than the plate's bearing diameter: throws naming the pedestal.
void requirePedestalFits(double B, double d);
// A central hole inside the tube's inner diameter: throws naming the hole.
void requireHoleFits(double hole, const Detailing& t);
// The elastic method takes the plate as a full disc: with a central hole it is refused,
// naming the hole.
void requireSolidPlate(const DesignInput& design);

// A ratio to two decimals, or as many more as it takes to show that it exceeds 1.
std::string ratioText(double ratio);
// A number to two decimals with a leading zero ("0.76", "147.01").
std::string twoDecimals(double value);

// One load case computed: its texts, how it ended, and its design checks; everything a window,
// a command or a report needs for one load case.
struct ComputedCase {
    CaseStatus status = CaseStatus::Error;
    InputTexts inputs;
    BaseResult result;              // texts made before any failure
    std::vector<ResultBox> written; // which texts were made, in order
    std::string message;            // the refusal or the failure, in Chinese
    bool hasChecks = false;
    DesignChecks checks; // when status is Ok
    // Whose texts `result` holds (the envelope shows the elastic ones while they are kept),
    // and the force of every bolt by that method, kN, bolt 1 first (when status is Ok).
    AnalysisMethod shownMethod = AnalysisMethod::Elastic;
    std::vector<double> boltForces;
    std::string methodRemark; // why the envelope left the elastic result out
    // The envelope's other method (not `shownMethod`): its texts, when it finished, so that
    // both methods' results can be shown side by side.
    std::optional<BaseResult> otherResult;
    // The plate finite-element model's solution (that method only, when status is Ok): its
    // maps, mesh, iterations and largest plate stress.
    std::shared_ptr<const fem::FemSolution> fem;
};
// The case by the elastic method, whatever `design.method` says (methods.h computes a case by
// the design's method). Without `withChecks` no checks are made.
ComputedCase computeElasticCase(const InputTexts& inputs, const DesignInput& design,
                                int threads = 0, bool withChecks = true);

// The force of every bolt (kN, bolt 1 first) for the elastic texts of a finished case: the
// bolt forces of its T. Empty when they cannot be made.
std::vector<double> elasticBoltForces(const ComputedCase& elastic);

} // namespace tarvel
