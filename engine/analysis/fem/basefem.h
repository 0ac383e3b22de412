#pragma once

// The base as a plate: DKT plate-bending elements over the base plate, the tube and its
// stiffeners one rigid body (the tube's mid-wall circle clamped to it, the stiffener feet
// following its deflection), a compression-only Winkler foundation k = E_c/h_e over the
// bearing disc (the annulus of a plate with a central hole, whose edge is free), and tension-only
// bolt springs k_b = E_s·A_e/h_e between the ground and the body. The contact and the bolts are
// found by an active-set iteration. The model and every assumption are written down in
// docs/plate-fem.md.

#include "analysis/analysis.h"
#include "analysis/compatibility.h"
#include "analysis/fem/femmesh.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvel::fem {

// Poisson's ratio of the plate steel.
constexpr double plateNu = 0.3;
// The range of the depth h_e and of the mesh size, mm, and the largest mesh.
constexpr double minDepth = 10;
constexpr double maxDepth = 1e9;
constexpr double minMesh = 2;
constexpr double maxMesh = 100;
constexpr double defaultMaxMesh = 25;
constexpr long long maxElements = 200000;

struct BaseFemInput {
    double P = 0, M = 0;     // N (compression positive), N·mm (bolt 1 the most stretched)
    double d = 0, D = 0;     // mm, bearing and bolt-circle diameters
    BoltLayout layout;       // from layOutBolts
    double Dt = 0, tw = 0;   // mm, tube
    double tp = 0;           // mm, plate thickness
    double boltDiameter = 0; // mm: the plate's diameter is max(d, D + 3·d_b)
    double ae = 0;           // mm², a bolt's effective area
    double Ec = 0;           // N/mm², the concrete's modulus
    double depth = 0;        // mm, h_e; 0: d/2
    double mesh = 0;         // mm, h; 0: min(25, t_p)
    double hole = 0;         // mm, the plate's central hole; 0: none
    // On a large mesh, find the contact sets first on a mesh twice as coarse (the state is the
    // fine mesh's either way; off, the iteration starts from the rigid plate's sets).
    bool coarseStart = true;
};

// The depth and mesh size that apply (the defaults for 0).
double depthOf(const BaseFemInput& in);
double meshOf(const BaseFemInput& in);

// Refuses, before anything is computed, a depth or mesh out of range, a hole or tube that
// does not fit, and a mesh of more than maxElements elements: TarvelError naming the option.
void checkFemInput(const BaseFemInput& in);

struct FemSolution {
    bool refused = false;
    std::string message; // why there is no state (refused only), in Chinese

    PlateMesh mesh;               // the half plate y ≥ 0; the other half is its mirror
    std::vector<double> pressure; // N/mm², contact pressure per triangle (node average)
    std::vector<double> vonMises; // N/mm², surface stress per triangle from its centre moments
    std::vector<bool> bearing;    // per triangle: over the bearing disc or annulus
    long long nodes = 0, elements = 0; // of the whole plate
    int iterations = 0;                // solves on the mesh
    int coarseIterations = 0; // solves on the mesh twice as coarse that found its start (0: none)
    double depth = 0, meshSize = 0; // mm, the h_e and h used
    double foundationModulus = 0;   // N/mm³, k = E_c/h_e
    double contactArea = 0;         // mm²
    double settlement = 0;          // mm, the body's deflection at the centre (downward positive)
    double rotation = 0; // rad, the body's slope along the axis (towards the compressed edge)
    double maxStress = 0, maxStressX = 0, maxStressY = 0; // N/mm², mm (y ≥ 0; mirrored at −y)
    std::string maxStressPlace; // where, for the remark: 钢管壁处, 加劲肋根部, 区格内, 管内底板
    // The texts' numbers, in the compatibility method's fields (x, σmax, C, Mc, F, Mb, c, c2,
    // T and every bolt force, bolt 1 first).
    CompatibilityState state;
    // For drawing: the outline and the bolts.
    double plateRadius = 0, bearingRadius = 0, tubeRadius = 0, holeRadius = 0;
    std::vector<double> boltX, boltY;    // mm, bolt 1 first
    std::vector<double> stiffenerAngles; // rad, from the x axis
};

// Where a point of the plate lies, for the plate checks' remark: 钢管壁处 (within two elements
// of the tube's mid-wall circle), 管内底板, 加劲肋根部 (within two elements of a stiffener's
// foot) or 区格内.
std::string stressPlace(const FemSolution& s, double x, double y);

// The largest surface stress of a part of the plate and where it is (its element's centre;
// y ≥ 0, mirrored at −y).
enum class StressRegion { WholePlate, OutsideTube, InsideTube };
struct StressPeak {
    double value = 0, x = 0, y = 0; // N/mm², mm
    std::string place;
};
StressPeak peakStress(const FemSolution& s, StressRegion region);

// Called before each solve of the active-set iteration with its number (from 1), so that a
// window can show how far the model is.
using FemProgress = std::function<void(int iteration)>;

FemSolution solveBaseFem(const BaseFemInput& in, const FemProgress& progress = {});

} // namespace tarvel::fem
