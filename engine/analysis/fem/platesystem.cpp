#include "analysis/fem/platesystem.h"

#include <cmath>

namespace tarvel::fem {

namespace {

// A pivot of the factorisation this far below the largest marks a singular system: a plate
// or body that nothing holds in some direction.
constexpr double singularPivotShare = 1e-13;
constexpr int refinementSteps = 2;

} // namespace

DofMap::DofMap(int nodeCount, int bodyCount)
    : fixed_(static_cast<std::size_t>(nodeCount) * dofsPerNode, false), follows_(fixed_.size()),
      own_(fixed_.size(), -1), terms_(fixed_.size()), bodyCount_(bodyCount) {}

void DofMap::fix(int node, Component c) {
    fixed_[index(node, c)] = true;
}

void DofMap::follow(int node, Component c, const std::vector<double>& coefficients) {
    follows_[index(node, c)] = coefficients;
}

void DofMap::finish() {
    int next = 0;
    for (std::size_t i = 0; i < fixed_.size(); ++i)
        own_[i] = fixed_[i] ? -1 : next++;
    unknowns_ = next + bodyCount_;
    for (std::size_t i = 0; i < fixed_.size(); ++i) {
        terms_[i].clear();
        if (own_[i] >= 0) terms_[i].push_back({own_[i], 1.0});
        for (int b = 0; b < bodyCount_ && b < static_cast<int>(follows_[i].size()); ++b)
            if (follows_[i][b] != 0) terms_[i].push_back({body(b), follows_[i][b]});
    }
}

PlateSystem::PlateSystem(const PlateMesh& mesh, const DofMap& dofs, double D, double nu)
    : mesh_(mesh), dofs_(dofs) {
    const int n = dofs.unknowns();
    std::vector<Eigen::Triplet<double>> triplets;
    triplets.reserve(mesh.triangles.size() * 45 + mesh.nodes.size() * 6 +
                     static_cast<std::size_t>(n) + 16);
    // The lower triangle only: the factorisation and the refinement read no more.
    for (int i = 0; i < n; ++i)
        triplets.emplace_back(i, i, 0.0);
    for (int a = 0; a < dofs.bodyCount(); ++a)
        for (int b = 0; b <= a; ++b)
            triplets.emplace_back(dofs.body(a), dofs.body(b), 0.0);
    for (std::size_t i = 0; i < mesh.nodes.size(); ++i)
        for (const DofMap::Term& p : dofs.terms(static_cast<int>(i), W))
            for (const DofMap::Term& q : dofs.terms(static_cast<int>(i), W))
                if (p.unknown >= q.unknown) triplets.emplace_back(p.unknown, q.unknown, 0.0);
    for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
        const ElementMatrix k = dktStiffness(corners(static_cast<int>(t)), D, nu);
        const auto& tri = mesh.triangles[t];
        // The body's part of the DOFs is a rigid motion, which the element does not strain.
        for (int a = 0; a < 9; ++a) {
            const int p = dofs.own(tri[a / 3], static_cast<Component>(a % 3));
            if (p < 0) continue;
            for (int b = 0; b < 9; ++b) {
                const int q = dofs.own(tri[b / 3], static_cast<Component>(b % 3));
                if (q >= 0 && p >= q) triplets.emplace_back(p, q, k(a, b));
            }
        }
    }
    K0_.resize(n, n);
    K0_.setFromTriplets(triplets.begin(), triplets.end());
    K0_.makeCompressed();
    K_ = K0_;
    auto index = [&](int r, int c) { return static_cast<int>(&K_.coeffRef(r, c) - K_.valuePtr()); };
    wEntries_.resize(mesh.nodes.size());
    for (std::size_t i = 0; i < mesh.nodes.size(); ++i)
        for (const DofMap::Term& p : dofs.terms(static_cast<int>(i), W))
            for (const DofMap::Term& q : dofs.terms(static_cast<int>(i), W))
                if (p.unknown >= q.unknown) wEntries_[i].push_back(index(p.unknown, q.unknown));
    for (int a = 0; a < dofs.bodyCount(); ++a)
        for (int b = 0; b <= a; ++b)
            bodyEntries_.push_back(index(dofs.body(a), dofs.body(b)));
}

bool PlateSystem::solve(const std::vector<double>& nodeSprings, const Eigen::MatrixXd& bodySprings,
                        const Eigen::VectorXd& f, Eigen::VectorXd& u) {
    std::copy(K0_.valuePtr(), K0_.valuePtr() + K0_.nonZeros(), K_.valuePtr());
    const int nb = dofs_.bodyCount();
    Eigen::MatrixXd body = Eigen::MatrixXd::Zero(nb, nb);
    if (bodySprings.size() > 0) body = bodySprings;
    for (std::size_t i = 0; i < nodeSprings.size(); ++i) {
        const double k = nodeSprings[i];
        if (k == 0) continue;
        // The spring acts on the node's whole deflection: its own part and the body's.
        const auto& t = dofs_.terms(static_cast<int>(i), W);
        std::size_t e = 0;
        for (const DofMap::Term& p : t)
            for (const DofMap::Term& q : t)
                if (p.unknown >= q.unknown)
                    K_.valuePtr()[wEntries_[i][e++]] += k * p.coefficient * q.coefficient;
    }
    std::size_t e = 0;
    for (int a = 0; a < nb; ++a)
        for (int b = 0; b <= a; ++b)
            K_.valuePtr()[bodyEntries_[e++]] += body(a, b);
    if (!analysed_) {
        ldlt_.analyzePattern(K_);
        analysed_ = true;
    }
    ldlt_.factorize(K_);
    if (ldlt_.info() != Eigen::Success) return false;
    const Eigen::VectorXd pivots = ldlt_.vectorD();
    const double largest = pivots.cwiseAbs().maxCoeff();
    if (!(pivots.minCoeff() > singularPivotShare * largest)) return false;
    u = ldlt_.solve(f);
    // The soft foundation of a deep h_e beside a stiff plate makes the system ill-conditioned:
    // a few steps of refinement on the residual bring the balance back to rounding.
    for (int step = 0; step < refinementSteps && u.allFinite(); ++step) {
        const Eigen::VectorXd r = f - K_.selfadjointView<Eigen::Lower>() * u;
        u += ldlt_.solve(r);
    }
    return ldlt_.info() == Eigen::Success && u.allFinite();
}

double PlateSystem::value(const Eigen::VectorXd& u, int node, Component c) const {
    double v = 0;
    for (const DofMap::Term& t : dofs_.terms(node, c))
        v += t.coefficient * u(t.unknown);
    return v;
}

Eigen::Matrix<double, 9, 1> PlateSystem::elementDofs(const Eigen::VectorXd& u, int triangle) const {
    Eigen::Matrix<double, 9, 1> e;
    const auto& tri = mesh_.triangles[static_cast<std::size_t>(triangle)];
    for (int a = 0; a < 9; ++a)
        e(a) = value(u, tri[a / 3], static_cast<Component>(a % 3));
    return e;
}

Corners PlateSystem::corners(int triangle) const {
    Corners c{};
    const auto& tri = mesh_.triangles[static_cast<std::size_t>(triangle)];
    for (int i = 0; i < 3; ++i) {
        c.x[i] = mesh_.nodes[static_cast<std::size_t>(tri[i])].x;
        c.y[i] = mesh_.nodes[static_cast<std::size_t>(tri[i])].y;
    }
    return c;
}

} // namespace tarvel::fem
