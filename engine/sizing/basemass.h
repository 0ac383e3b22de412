#pragma once

namespace tarvel {

// Density of steel, kg/mm³.
constexpr double steelDensity = 7.85e-6;

// The steel of a base, kg. The plate reaches 1.5 bolt diameters beyond the bolt circle:
// D_out = max(d, D + 3·d_b).
//   plate       ρ·π/4·D_out²·t_p
//   stiffeners  n·ρ·t_s·h_s·(D_out − D_t)/2
//   cap plates  n·ρ·t_c·b_c·(π·D/n − t_s)
//   bolts       n·ρ·π/4·d_b²·(l_a + h_s + t_c + 2·d_b)
struct BaseMass {
    double outerDiameter = 0; // D_out, mm
    double plate = 0, stiffeners = 0, caps = 0, bolts = 0;
    double total = 0;
};
struct MassInput {
    double d = 0, D = 0;
    int n = 0;
    double boltDiameter = 0, tubeDiameter = 0;
    double tp = 0, ts = 0, hs = 0, tc = 0, bc = 0, la = 0;
};
BaseMass baseMass(const MassInput& in);

} // namespace tarvel
