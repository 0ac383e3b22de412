#include "analysis/fem/dkt.h"

#include <Eigen/Dense>

namespace tarvel::fem {

namespace {

using Map12x9 = Eigen::Matrix<double, 12, 9>;
using Strain3x9 = Eigen::Matrix<double, 3, 9>;

struct Geometry {
    double area = 0;
    double dLdx[3], dLdy[3]; // gradients of the area coordinates
};

Geometry geometryOf(const Corners& c) {
    Geometry g;
    const double twice =
        (c.x[1] - c.x[0]) * (c.y[2] - c.y[0]) - (c.x[2] - c.x[0]) * (c.y[1] - c.y[0]);
    g.area = twice / 2;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3, k = (i + 2) % 3;
        g.dLdx[i] = (c.y[j] - c.y[k]) / twice;
        g.dLdy[i] = (c.x[k] - c.x[j]) / twice;
    }
    return g;
}

// The rotations β = (βx, βy) at the six nodes of the quadratic field (corners, then the
// midpoints of sides 2-3, 3-1, 1-2) from the nine corner DOFs: at a corner β is the slope;
// at a midpoint its tangential part is the slope of the cubic w along the side and its normal
// part the mean of the corners'.
Map12x9 rotationMap(const Corners& c) {
    Map12x9 T = Map12x9::Zero();
    for (int i = 0; i < 3; ++i) {
        T(2 * i, 3 * i + 1) = 1;
        T(2 * i + 1, 3 * i + 2) = 1;
    }
    const int sides[3][2] = {{1, 2}, {2, 0}, {0, 1}};
    for (int k = 0; k < 3; ++k) {
        const int i = sides[k][0], j = sides[k][1];
        const double dx = c.x[j] - c.x[i], dy = c.y[j] - c.y[i];
        const double l = std::hypot(dx, dy);
        const Eigen::Vector2d s(dx / l, dy / l);
        // β = s·(3/(2l))(w_j − w_i) + (I/2 − (3/4)·s·sᵀ)(g_i + g_j)
        const Eigen::Matrix2d A = 0.5 * Eigen::Matrix2d::Identity() - 0.75 * s * s.transpose();
        const int row = 2 * (3 + k);
        for (int r = 0; r < 2; ++r) {
            T(row + r, 3 * j) += s(r) * 1.5 / l;
            T(row + r, 3 * i) -= s(r) * 1.5 / l;
            for (int q = 0; q < 2; ++q) {
                T(row + r, 3 * i + 1 + q) += A(r, q);
                T(row + r, 3 * j + 1 + q) += A(r, q);
            }
        }
    }
    return T;
}

// The curvatures (∂βx/∂x, ∂βy/∂y, ∂βx/∂y + ∂βy/∂x) at area coordinates L from the DOFs.
Strain3x9 curvatureAt(const Geometry& g, const Map12x9& T, const double L[3]) {
    double dNx[6], dNy[6];
    for (int i = 0; i < 3; ++i) {
        dNx[i] = (4 * L[i] - 1) * g.dLdx[i];
        dNy[i] = (4 * L[i] - 1) * g.dLdy[i];
    }
    const int sides[3][2] = {{1, 2}, {2, 0}, {0, 1}};
    for (int k = 0; k < 3; ++k) {
        const int i = sides[k][0], j = sides[k][1];
        dNx[3 + k] = 4 * (L[j] * g.dLdx[i] + L[i] * g.dLdx[j]);
        dNy[3 + k] = 4 * (L[j] * g.dLdy[i] + L[i] * g.dLdy[j]);
    }
    Eigen::Matrix<double, 3, 12> B = Eigen::Matrix<double, 3, 12>::Zero();
    for (int a = 0; a < 6; ++a) {
        B(0, 2 * a) = dNx[a];
        B(1, 2 * a + 1) = dNy[a];
        B(2, 2 * a) = dNy[a];
        B(2, 2 * a + 1) = dNx[a];
    }
    return B * T;
}

Eigen::Matrix3d bendingMatrix(double D, double nu) {
    Eigen::Matrix3d Db;
    Db << 1, nu, 0, nu, 1, 0, 0, 0, (1 - nu) / 2;
    return D * Db;
}

} // namespace

double flexuralRigidity(double E, double nu, double t) {
    return E * t * t * t / (12 * (1 - nu * nu));
}

ElementMatrix dktStiffness(const Corners& c, double D, double nu) {
    const Geometry g = geometryOf(c);
    const Map12x9 T = rotationMap(c);
    const Eigen::Matrix3d Db = bendingMatrix(D, nu);
    // The curvature is linear, so the three side midpoints integrate its square exactly.
    const double points[3][3] = {{0.5, 0.5, 0}, {0, 0.5, 0.5}, {0.5, 0, 0.5}};
    ElementMatrix K = ElementMatrix::Zero();
    for (const auto& L : points) {
        const Strain3x9 B = curvatureAt(g, T, L);
        K += (g.area / 3) * B.transpose() * Db * B;
    }
    return K;
}

Eigen::Vector3d dktCentreMoments(const Corners& c, double D, double nu, const ElementVector& u) {
    const Geometry g = geometryOf(c);
    const double L[3] = {1.0 / 3, 1.0 / 3, 1.0 / 3};
    return -bendingMatrix(D, nu) * (curvatureAt(g, rotationMap(c), L) * u);
}

} // namespace tarvel::fem
