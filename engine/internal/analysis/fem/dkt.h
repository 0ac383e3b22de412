#pragma once

// The discrete Kirchhoff triangle (DKT) of Batoz, Bathe and Ho (1980): a thin-plate bending
// triangle with three corner nodes, each with the deflection w and its two slopes ∂w/∂x and
// ∂w/∂y. The rotations are quadratic over the triangle and meet the Kirchhoff condition at
// the corners and, along each side, at its midpoint (w cubic along the side, the normal slope
// linear). It passes the constant-curvature patch test.

#include <Eigen/Core>

namespace tarvel::fem {

using ElementMatrix = Eigen::Matrix<double, 9, 9>;
using ElementVector = Eigen::Matrix<double, 9, 1>;

struct Corners {
    double x[3], y[3]; // mm, counter-clockwise
};

// The flexural rigidity D = E·t³/(12(1 − ν²)), N·mm.
double flexuralRigidity(double E, double nu, double t);

// The element stiffness for DOFs (w, ∂w/∂x, ∂w/∂y) of corners 1, 2, 3 in that order.
ElementMatrix dktStiffness(const Corners& c, double D, double nu);

// The moments (Mx, My, Mxy), N·mm/mm, at the element centre for the corner DOFs u, with
// M = −D·(κ + ν·κ') (sagging positive for w positive downward).
Eigen::Vector3d dktCentreMoments(const Corners& c, double D, double nu, const ElementVector& u);

} // namespace tarvel::fem
