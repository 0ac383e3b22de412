#pragma once

// The part of a base's plate model that does not depend on its load: the mesh, the DOFs and
// their ties to the column body, the assembled plate with the symbolic analysis of its
// factorisation, and each node's share of the bearing area. A batch's combinations share
// their base, so each thread keeps its last model and builds one only for a new base. A
// model twice as coarse, with where each node of the fine mesh lies in it, lets the contact
// iteration find its sets cheaply before the fine mesh confirms them.

#include "analysis/fem/femmesh.h"
#include "analysis/fem/platesystem.h"

#include <memory>
#include <vector>

namespace tarvel::fem {

// Everything a model is built from.
struct ModelSpec {
    MeshSpec mesh;
    double tubeRadius = 0;               // mm, the clamped mid-wall circle
    double bearingRadius = 0;            // mm, d/2
    std::vector<double> stiffenerAngles; // rad, over the whole circle
    double rigidity = 0;                 // N·mm, the plate's D
    bool operator==(const ModelSpec&) const = default;
};

struct PlateModel {
    explicit PlateModel(const ModelSpec& spec);
    PlateModel(const PlateModel&) = delete;
    PlateModel& operator=(const PlateModel&) = delete;

    ModelSpec spec;
    PlateMesh mesh;
    DofMap dofs;
    std::vector<double> area;  // mm², each node's share of the bearing area
    std::vector<bool> bearing; // per triangle: over the bearing disc or annulus
    long long axisNodes = 0;   // nodes on the axis y = 0 (not mirrored)
    PlateSystem system;        // refers to mesh and dofs
};

// A node of one mesh inside a triangle of another: the triangle and its corners' linear
// weights (the nearest triangle, weights a little outside [0, 1], for a node just beyond the
// other mesh's polygonal edge).
struct NodeInTriangle {
    int triangle = 0;
    double weight[3] = {0, 0, 0};
};

struct BaseModels {
    std::unique_ptr<PlateModel> fine;
    std::unique_ptr<PlateModel> coarse;     // none when the fine mesh is small
    std::vector<NodeInTriangle> fromCoarse; // each fine node in the coarse mesh
};

// This thread's models for the given mesh, plate and foundation: kept from the last call
// when they are the same, else built anew. The reference holds until the thread's next call.
BaseModels& baseModels(const ModelSpec& spec);

} // namespace tarvel::fem
