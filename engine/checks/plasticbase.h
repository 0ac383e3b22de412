#pragma once

#include <string_view>
#include <vector>

namespace tarvel {

// The seismic capacity of the connection: the base must be stronger than the column it
// holds, M_u,base ≥ η_j·M_pc. N, mm and N·mm throughout.

constexpr double defaultEtaJ = 1.1; // an exposed base
constexpr double minEtaJ = 1.0;
constexpr double maxEtaJ = 1.5;

// The yield strength f_y of a tube steel at a wall thickness.
double tubeYieldStrength(std::string_view steel, double thickness);
// The characteristic compressive strength f_ck of a concrete grade.
double concreteCharacteristicStrength(std::string_view grade);
// The ultimate tensile strength f_u^a of an anchor-bolt steel.
double boltUltimateStrength(std::string_view steel);

// The tube's plastic moment reduced by its axial force, W_pc·(f_y − |P|/A), and 0 when |P|/A
// reaches f_y.
struct ColumnPlastic {
    double W = 0, A = 0; // mm³, mm²
    double Mpc = 0;      // N·mm
};
ColumnPlastic columnPlasticMoment(double Dt, double tw, double fy, double P);

// A base in its rigid-plastic state: f_ck uniform over the compressed segment of the bearing
// area, every bolt on the tension side of the neutral axis at its ultimate force.
struct PlasticBase {
    double d = 0, hole = 0;    // bearing diameter and the plate's hole (0: none)
    std::vector<double> boltX; // bolt positions from the centre, positive to the compressed edge
    double fck = 0;
    double boltForce = 0; // f_u^a·A_e, N
};
struct PlasticState {
    bool balanced = false; // a state balances P
    double axis = 0;       // the neutral axis, x from the centre
    double depth = 0;      // d/2 − axis: the compressed depth from the edge
    double C = 0, T = 0;   // the concrete's and the bolts' resultants, N
    int boltsInTension = 0;
    double Mu = 0; // N·mm, the moment of C and the T's about the centre
};
// P in N, compression positive. Without a balancing state (P above f_ck·A, or a tension above
// n·f_u^a·A_e), balanced is false and Mu 0.
PlasticState plasticCapacity(const PlasticBase& base, double P);

// The force of every bolt in the state, N, in the order of base.boltX.
std::vector<double> plasticBoltForces(const PlasticBase& base, const PlasticState& state);

struct DesignData;
// The base of a design in its plastic state: the bolts where the analysis places them, f_ck
// of its concrete and f_u^a·A_e of its bolts.
PlasticBase plasticBaseOf(const DesignData& data, double d, double D, int n);

} // namespace tarvel
