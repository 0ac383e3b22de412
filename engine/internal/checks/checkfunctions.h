#pragma once

// The functions of the checks, one each, for the table of checkDefinitions(). Engine only.

#include "checks/checks.h"

#include <string>

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

// The moment factor β of a plate on three sides with a free edge, M = β·σ·a1², by b1/a1;
// below cantileverRatio the panel works as a cantilever from the tube.
double plateMomentFactor(double ratio);
constexpr double cantileverRatio = 0.3;

// The bearing pressure under the plate at the tube wall, N/mm²: σmax scaled to where the
// compression length x, from the compressed edge of the plate of diameter d, reaches the
// wall of the tube D_t; σmax when the whole plate bears.
double tubeWallPressure(double sigma, double x, double d, double Dt);
// The moment of the plate inside the tube (N·mm/mm) under q: a disc simply supported on the
// wall of inner radius r_i, or with a central hole of diameter d_h a ring cantilevered from it.
double insidePlateMoment(double q, double ri, double hole);

// The column weld's demand √((σ_f/β_f)² + τ_f²), N/mm², of a fillet h_f round the tube D_t
// under P (kN), M (kN·m) and V (kN): σ_f = |P|/A_w + M/W_w, τ_f = 2|V|/A_w.
double columnWeldStress(double P, double M, double V, double hf, double Dt);
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
// The shear stress of two fillets of leg h carrying V along l_w: V/(1.4·h·l_w), N/mm².
double twoFilletShear(double V, double h, double lw);

// Numbers as the formulas print them.
std::string two(double value);      // 0.76, 147.01
std::string plain(double value);    // 180, 14.3: a table's value as it stands
std::string coefficient(double v);  // 1.0, 0.4: at least one decimal
std::string fixed(double value, int decimals);

} // namespace tarvel::checks
