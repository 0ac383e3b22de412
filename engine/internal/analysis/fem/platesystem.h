#pragma once

// The plate's linear system: DKT elements over a mesh, each node's three DOFs free, held at
// zero, or tied to the rigid column body; springs on the diagonal that change between solves
// (the contact and the bolts of the active-set iteration); one symbolic analysis and a sparse
// LDLᵀ factorisation per solve.

#include "analysis/fem/dkt.h"
#include "analysis/fem/femmesh.h"

#include <Eigen/Core>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <array>
#include <vector>

namespace tarvel::fem {

// The DOFs of a node: w (positive downward), ∂w/∂x, ∂w/∂y.
enum Component { W = 0, Wx = 1, Wy = 2 };
constexpr int dofsPerNode = 3;

// How each plate DOF is made of the unknowns: its own unknown (unless it is held at zero)
// plus, on a base, the part that follows the rigid column body. Writing the plate's DOFs
// relative to the body keeps the plate's stiffness off the body's unknowns: with a soft
// foundation (a deep h_e) the body is then not the small difference of large plate terms.
class DofMap {
  public:
    DofMap(int nodeCount, int bodyCount);
    // The DOF's own part is held at zero (a support, the symmetry, a tie to the body).
    void fix(int node, Component c);
    // The part of the DOF that follows the body: Σ coefficient·body[i].
    void follow(int node, Component c, const std::vector<double>& coefficients);
    // Numbers the unknowns: the own DOFs in node order, then the body's.
    void finish();

    struct Term {
        int unknown;
        double coefficient;
    };
    int unknowns() const { return unknowns_; }
    int body(int i) const { return unknowns_ - bodyCount_ + i; }
    int bodyCount() const { return bodyCount_; }
    // The own unknown of a DOF, −1 when it is held at zero.
    int own(int node, Component c) const { return own_[index(node, c)]; }
    // Every term of the DOF: its own unknown and the body's.
    const std::vector<Term>& terms(int node, Component c) const { return terms_[index(node, c)]; }

  private:
    static std::size_t index(int node, Component c) {
        return static_cast<std::size_t>(node) * dofsPerNode + c;
    }
    std::vector<bool> fixed_;
    std::vector<std::vector<double>> follows_;
    std::vector<int> own_;
    std::vector<std::vector<Term>> terms_;
    int bodyCount_ = 0, unknowns_ = 0;
};

class PlateSystem {
  public:
    PlateSystem(const PlateMesh& mesh, const DofMap& dofs, double D, double nu);

    // Solves (K + springs)·u = f. `nodeSprings` are N/mm on each node's w (zero: none);
    // `bodySprings` a symmetric block on the body's unknowns. False when the system is
    // singular (nothing holds the plate or the body).
    bool solve(const std::vector<double>& nodeSprings, const Eigen::MatrixXd& bodySprings,
               const Eigen::VectorXd& f, Eigen::VectorXd& u);

    // The value of one DOF of a node for the unknowns u.
    double value(const Eigen::VectorXd& u, int node, Component c) const;
    Eigen::Matrix<double, 9, 1> elementDofs(const Eigen::VectorXd& u, int triangle) const;
    Corners corners(int triangle) const;

    const DofMap& dofs() const { return dofs_; }

  private:
    const PlateMesh& mesh_;
    const DofMap& dofs_;
    Eigen::SparseMatrix<double> K0_, K_;
    // Per node, the value index of each pair of its w's terms in the lower triangle; and of
    // the body block's.
    std::vector<std::vector<int>> wEntries_;
    std::vector<int> bodyEntries_;
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> ldlt_;
    bool analysed_ = false;
};

} // namespace tarvel::fem
