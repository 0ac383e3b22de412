#pragma once

// The functions of the checks, one each, for the table of checkDefinitions(). Engine only.

#include "checks/checks.h"
#include "checks/detailing.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvel::checks {

Check bolt(const CheckContext& c);
Check bearing(const CheckContext& c);
Check shear(const CheckContext& c);
Check equilibrium(const CheckContext& c);

Check plate(const CheckContext& c);
Check plateInside(const CheckContext& c);
Check cap(const CheckContext& c);
Check capWeld(const CheckContext& c);
Check stiffener(const CheckContext& c);
Check stiffenerWeld(const CheckContext& c);
Check stiffenerPlateWeld(const CheckContext& c);
Check columnWeld(const CheckContext& c);
Check tube(const CheckContext& c);
Check anchorage(const CheckContext& c);
Check detailing(const CheckContext& c);

Check seismic(const CheckContext& c);
Check shearKeyBearing(const CheckContext& c);
Check shearKey(const CheckContext& c);
Check shearKeyWeld(const CheckContext& c);

// The moment factor β of a plate on three sides with a free edge, M = β·σ·a1², by b1/a1;
// below cantileverRatio the panel works as a cantilever from the tube.
double plateMomentFactor(double ratio);
constexpr double cantileverRatio = 0.3;

// The numbers of the checks, one function each, called by the check functions above and by
// the sizing's pruning, so that a rule is written once. N and mm unless said; T in kN, P in
// kN, M in kN·m, V in kN as the checks read them.

// The thinnest base plate the detailing rules accept, mm.
constexpr double minBasePlate = 20;

double boltTensionCapacity(double ae, double tensileDesign);    // kN: A_e·f_t^a
double bearingCapacity(double betaL, double compressiveDesign); // N/mm²: β_l·f_c
double frictionCapacity(double friction, double C);             // kN: μ·C

// The plate panel between two stiffeners: b1 from the tube, a1 between stiffeners, and the
// bending moment under the edge stress σ, N·mm/mm.
struct PlateBending {
    double b1 = 0, a1 = 0;
    bool cantilever = false; // n < 3 or b1/a1 below cantileverRatio
    double beta = 0;         // the three-side factor when not a cantilever
    double M = 0;
};
PlateBending plateBending(double d, int n, double Dt, double ts, double sigma);
// The bending stress 6M/t² of a plate strip of unit width.
double plateStress(double M, double t);

// The cap plate: its span l = D·sin(π/n) − t_s between stiffeners, the moment T·l/4 (N·mm),
// the bolt hole d_0 = d_b + clearance, and the bending stress 6M/((b_c − d_0)·t_c²).
double capSpan(double D, int n, double ts);
double capMoment(double T, double l);
double boltHole(double boltDiameter);
double capStress(double M, double bc, double d0, double tc);

// A side of the stiffener: the shear and moment at the tube face, N and N·mm.
struct StiffenerSide {
    const char* name;
    double V, M;
};
std::array<StiffenerSide, 2> stiffenerSides(double d, double D, int n, double Dt, double T,
                                            double sigma);
// The stresses of one side of a t_s × h_s stiffener, and the three terms the check holds
// each against its capacity (σ ≤ f, τ ≤ f_v, √(σ² + 3τ²) ≤ 1.1f).
struct StiffenerStress {
    double sigma, tau, reduced;
};
StiffenerStress stiffenerStress(const StiffenerSide& side, double ts, double hs);
std::array<std::pair<double, double>, 3> stiffenerTerms(const StiffenerStress& s,
                                                        const PlateSteel::Band& band);

// The fillet demand √((σ_f/β_f)² + τ_f²).
double filletDemand(double sigmaF, double tauF);

// The two fillets of a stiffener on one side: l_w = h_s − 2h_fs and their stresses.
struct StiffenerWeldStress {
    double lw, tauF, sigmaF, demand;
};
StiffenerWeldStress stiffenerWeldStress(const StiffenerSide& side, double hfs, double hs);

// The ring fillet of the tube: its throat area and modulus, and its stresses; τ_f = 2|V|/A_w,
// a thin ring's peak shear.
struct ColumnWeldStress {
    double Aw, Ww, sigmaF, tauF, demand;
};
ColumnWeldStress columnWeldStress(double hf, double Dt, double P, double M, double V);

// The tube's section and its stress |P|/A + M/W.
struct TubeStress {
    double A, W, stress;
};
TubeStress tubeStress(double Dt, double tw, double P, double M);
// A thin ring's peak shear 2|V|/A, N/mm², for V in kN and the tube's area A in mm².
double tubePeakShear(double V, double A);

// The anchorage the bolt needs, mm: k·d_b.
double requiredAnchorage(double factor, double boltDiameter);
// The smallest fillet legs the detailing rules ask of the tube weld and the stiffener weld.
double minimumColumnWeld(double tp, double tw);
double minimumStiffenerWeld(double ts, double tw);

// The bearing pressure under the plate at the tube wall, N/mm²: σmax scaled to where the
// compression length x, from the compressed edge of the plate of diameter d, reaches the
// wall of the tube D_t; σmax when the whole plate bears.
double tubeWallPressure(double sigma, double x, double d, double Dt);
// The compression length of a method's texts, mm: 0 for "." (a plate lifted onto its bolts).
double compressionLength(const BaseResult& result);
// The moment of the plate inside the tube (N·mm/mm) under q: a disc simply supported on the
// wall of inner radius r_i, or with a central hole of diameter d_h a ring cantilevered from it.
double insidePlateMoment(double q, double ri, double hole);

// The thinnest tube wall for D_t (mm) of a steel of yield strength f_y: D_t/t_w ≤ 100·ε_k²,
// ε_k² = 235/f_y (GB 50017-2017, table 3.5.1).
double minimumTubeWall(double Dt, double fy);
// The shortest fillet of leg h (mm): max(8h, 40).
double minimumFilletLength(double h);
// The largest fillet leg on a part of thickness t (mm): 1.2t (GB 50017-2017, clause 11.3.5).
double maximumFilletLeg(double t);
// The welds' lengths, mm: each stiffener's fillets to the tube (h_s − 2h_fs) and to the plate
// ((D_out − D_t)/2 − 2h_fs), and each end of a cap plate to its stiffener (b_c − 2h_fs).
double stiffenerWeldLength(const Detailing& t);
double stiffenerPlateWeldLength(const Detailing& t, double outerDiameter);
double capWeldLength(const Detailing& t);
// The force on each end's fillets of a cap plate, N: half the bolt's T (kN).
double capWeldForce(double T);
// The shear stress of two fillets of leg h carrying V along l_w: V/(1.4·h·l_w), N/mm².
double twoFilletShear(double V, double h, double lw);

// The detailing rules of a base, each `required ≤ provided` (mm): the plate, the fillet legs
// and lengths, the tube's slenderness, room for the nuts, and the pedestal's edge when there
// is one. The detailing check shows the governing one; the sizing demands them all.
struct DetailingRule {
    const char* what;
    double required, provided;
};
std::vector<DetailingRule> detailingRules(const Detailing& t, double d, double D, int n,
                                          double boltDiameter, std::optional<double> pedestal);

// Numbers as the formulas print them.
std::string two(double value);     // 0.76, 147.01
std::string plain(double value);   // 180, 14.3: a table's value as it stands
std::string coefficient(double v); // 1.0, 0.4: at least one decimal
std::string fixed(double value, int decimals);

} // namespace tarvel::checks
