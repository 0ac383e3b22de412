#pragma once

// The plate's mesh: a polar mesh of triangles over the half disc y ≥ 0 (the base is symmetric
// about its bending axis, the x axis), in rings at chosen radii and along chosen radial lines.

#include <array>
#include <vector>

namespace tarvel::fem {

struct MeshSpec {
    double rIn = 0;  // mm, the hole's radius; 0: a solid disc with a node at the centre
    double rOut = 0; // mm, the plate's radius
    double h = 25;   // mm, the largest element size
    std::vector<double> keyRadii;  // rings the mesh must have (tube, bearing edge, bolt circle)
    std::vector<double> fineRadii; // the mesh is graded finer towards these rings
    std::vector<double> keyAngles; // radial lines in (0, π) the mesh must have (bolts, stiffeners)
    std::vector<double> fineAngles; // graded finer towards these lines
    // Rings at or beyond this radius carry every radial line; inside it (the plate within the
    // tube) lines are dropped where the rings get short, so elements keep their shape.
    double rLines = 0;
    double fineShare = 0.25; // the size at a fine ring or line, as a share of h
    double growth = 0.35;    // how fast the size grows away from it, mm per mm
    bool operator==(const MeshSpec&) const = default;
};

struct PlateMesh {
    struct Node {
        double x = 0, y = 0;
    };
    std::vector<Node> nodes;
    std::vector<std::array<int, 3>> triangles; // counter-clockwise
    std::vector<double> ringRadii;             // mm, inside out
    std::vector<int> ringFirst; // the first node of each ring, and one past the last ring's
};

// The node and element counts of the mesh these settings give (half disc), without building it.
struct MeshCounts {
    long long nodes = 0, triangles = 0;
};
MeshCounts countMesh(const MeshSpec& spec);

PlateMesh buildMesh(const MeshSpec& spec);

} // namespace tarvel::fem
