#pragma once

// The rigid-plate (strain-compatibility) analysis of the base: plane sections, concrete in
// compression only, bolts in tension only, in the plane and with the bolt layout of the
// elastic method. It is always in equilibrium when a state exists; the equations are derived
// in docs/compatibility.md.

#include "analysis/calculation.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// Modulus of the anchor-bolt steel, N/mm².
constexpr double steelModulus = 2.06e5;
// The range a typed modular ratio E_s/E_c must lie in.
constexpr double minModularRatio = 1;
constexpr double maxModularRatio = 50;

// E_s/E_c for a concrete grade ("C30"); throws TarvelError (UnknownChoice, concrete) for a
// grade without a modulus.
double modularRatioOfGrade(std::string_view grade);

struct CompatibilityState {
    enum class Regime {
        Unloaded,           // P = 0 and M = 0
        UniformCompression, // M = 0, P > 0: σ = P/A everywhere, no bolt force
        FullCompression,    // the whole circle compressed (y_n ≤ −R); outer bolts may pull
        Partial,            // the neutral axis crosses the circle
        BoltsOnly,          // y_n ≥ R: no concrete compressed, the bolts carry the uplift
        UniformTension,     // M = 0, P < 0: every bolt carries −P/n
        NoEquilibrium,      // no plane state balances P and M: the case is refused
    };
    Regime regime = Regime::Unloaded;
    std::string message; // why there is no equilibrium (NoEquilibrium only), in Chinese

    double yn = 0;       // mm, neutral axis (±infinity in the uniform regimes)
    double k = 0;        // N/mm³, stress per mm beyond the neutral axis (0 when uniform)
    double x = 0;        // mm, compressed length R − y_n, within [0, d]
    double sigmaMax = 0; // N/mm², at the compressed edge
    double C = 0;        // N, bearing resultant
    double Mc = 0;       // N·mm, its moment about the plate centre
    double F = 0;        // N, sum of the bolt forces
    double Mb = 0;       // N·mm, their moment about the centre, Σ T_i·(−a_i)
    double c = 0;        // mm, position of the bearing resultant Mc/C (0 without bearing)
    double c2 = 0;       // mm, position of the bolt resultant Mb/F (0 without bolt force)
    double T = 0;        // kN, largest bolt force
    std::vector<double> boltForces; // kN, bolt 1 first
};

// The state for the given loads, bolt layout, effective bolt area A_e (mm²) and modular
// ratio n_E. Throws TarvelError for a plate diameter that is not positive or a value out of
// the range of a double.
// `hole` is the diameter of the plate's central hole (0: none): the bearing is then the annulus.
CompatibilityState solveCompatibility(const BaseInput& input, const BoltLayout& layout, double ae,
                                      double modularRatio, double hole = 0);

// The twelve texts of a state, in the boxes and patterns of the elastic method, to the sink
// in order. The two sums and the shear capacity are made from the texts the user reads.
void makeCompatibilityResults(const CompatibilityState& state, ResultSink& sink,
                              char decimalSeparator = '.');

// A whole calculation by this method from the five texts: the state, and its texts to the
// sink unless it is refused (NoEquilibrium). Input errors throw TarvelError as `analyze` does.
CompatibilityState calculateCompatibility(const InputTexts& texts, double ae, double modularRatio,
                                          ResultSink& sink, char decimalSeparator = '.',
                                          double hole = 0);

} // namespace tarvel
