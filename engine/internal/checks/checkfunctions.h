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

// Numbers as the formulas print them.
std::string two(double value);     // 0.76, 147.01
std::string plain(double value);   // 180, 14.3: a table's value as it stands
std::string coefficient(double v); // 1.0, 0.4: at least one decimal
std::string fixed(double value, int decimals);

} // namespace tarvel::checks
