#pragma once

// The functions of the checks, one each, for the table of checkDefinitions(). Engine only.

#include "checks/checks.h"
#include "checks/detailing.h"

#include <array>
#include <string>
#include <utility>

namespace tarvel::checks {

Check bolt(const CheckContext& c);
Check bearing(const CheckContext& c);
Check shear(const CheckContext& c);
Check equilibrium(const CheckContext& c);

Check plate(const CheckContext& c);
Check cap(const CheckContext& c);
Check stiffener(const CheckContext& c);
Check stiffenerWeld(const CheckContext& c);
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

// The ring fillet of the tube: its throat area and modulus, and its stresses.
struct ColumnWeldStress {
    double Aw, Ww, sigmaF, tauF, demand;
};
ColumnWeldStress columnWeldStress(double hf, double Dt, double P, double M, double V);

// The tube's section and its stress |P|/A + M/W.
struct TubeStress {
    double A, W, stress;
};
TubeStress tubeStress(double Dt, double tw, double P, double M);

// The anchorage the bolt needs, mm: k·d_b.
double requiredAnchorage(double factor, double boltDiameter);
// The smallest fillet legs the detailing rules ask of the tube weld and the stiffener weld.
double minimumColumnWeld(double tp, double tw);
double minimumStiffenerWeld(double ts, double tw);

// Numbers as the formulas print them.
std::string two(double value);     // 0.76, 147.01
std::string plain(double value);   // 180, 14.3: a table's value as it stands
std::string coefficient(double v); // 1.0, 0.4: at least one decimal
std::string fixed(double value, int decimals);

} // namespace tarvel::checks
