// The plate finite-element method against closed forms and the rigid-plate method: the
// element's patch test, circular plates, a plate on a Winkler foundation, the rigid-plate
// limit, mesh convergence, and the contact iteration on a plate that lifts off.
// docs/verification.md gives the figures.

#include "analysis/compatibility.h"
#include "analysis/fem/basefem.h"
#include "analysis/fem/dkt.h"
#include "analysis/fem/platesystem.h"
#include "checks/design.h"
#include "checks/methods.h"

#include <Eigen/LU>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {

using namespace tarvel;
using namespace tarvel::fem;

constexpr double E = 2.06e5;
constexpr double nu = 0.3;

// A quadratic deflection w = a·x² + b·x·y + c·y² (constant curvature): imposed with its
// slopes on the patch's boundary nodes, the inner nodes must take it exactly and every
// element must give the same moments.
TEST(Dkt, PassesThePatchTest) {
    PlateMesh m;
    m.nodes = {{0, 0}, {240, 0}, {240, 120}, {0, 120}, {40, 20}, {180, 30}, {160, 90}, {80, 70}};
    m.triangles = {{0, 1, 5}, {0, 5, 4}, {1, 2, 5}, {5, 2, 6}, {2, 3, 6},
                   {6, 3, 7}, {3, 0, 7}, {7, 0, 4}, {4, 5, 7}, {5, 6, 7}};
    const double a = 1e-4, b = -3e-5, c = 2e-4;
    auto wAt = [&](double x, double y) { return a * x * x + b * x * y + c * y * y; };
    DofMap dofs(8, 0);
    for (int i = 0; i < 4; ++i)
        for (Component comp : {W, Wx, Wy})
            dofs.fix(i, comp);
    dofs.finish();
    // The boundary values enter as loads: f = −K_free,fixed·u_fixed, built from an
    // unconstrained assembly.
    DofMap all(8, 0);
    all.finish();
    const double D = flexuralRigidity(E, nu, 10);
    PlateSystem whole(m, all, D, nu);
    Eigen::VectorXd exact(24);
    for (int i = 0; i < 8; ++i) {
        const double x = m.nodes[i].x, y = m.nodes[i].y;
        exact.segment<3>(3 * i) << wAt(x, y), 2 * a * x + b * y, b * x + 2 * c * y;
    }
    Eigen::MatrixXd K = Eigen::MatrixXd::Zero(24, 24);
    for (std::size_t t = 0; t < m.triangles.size(); ++t) {
        const ElementMatrix k = dktStiffness(whole.corners(static_cast<int>(t)), D, nu);
        for (int p = 0; p < 9; ++p)
            for (int q = 0; q < 9; ++q)
                K(3 * m.triangles[t][p / 3] + p % 3, 3 * m.triangles[t][q / 3] + q % 3) += k(p, q);
    }
    const Eigen::VectorXd residual = K * exact;
    // Inner nodes carry no load: the exact field is in equilibrium there.
    EXPECT_LT(residual.segment(12, 12).cwiseAbs().maxCoeff(), 1e-9 * K.cwiseAbs().maxCoeff());
    const Eigen::Vector3d expected(-D * (2 * a + nu * 2 * c), -D * (2 * c + nu * 2 * a),
                                   -D * (1 - nu) * b);
    for (std::size_t t = 0; t < m.triangles.size(); ++t) {
        ElementVector u;
        for (int p = 0; p < 9; ++p)
            u(p) = exact(3 * m.triangles[t][p / 3] + p % 3);
        const Eigen::Vector3d mom = dktCentreMoments(whole.corners(static_cast<int>(t)), D, nu, u);
        EXPECT_LT((mom - expected).norm(), 1e-9 * expected.norm()) << "element " << t;
    }
}

// ---------------------------------------------------------------------------------------
// Half a plate (symmetric about x) under uniform pressure q, its outer ring simply supported
// or clamped: the system and its solution.
struct UniformlyLoaded {
    UniformlyLoaded(const PlateMesh& m, double D, double q, bool clamped)
        : dofs(supported(m, clamped)), system(m, dofs, D, nu) {
        Eigen::VectorXd f = Eigen::VectorXd::Zero(dofs.unknowns());
        for (std::size_t e = 0; e < m.triangles.size(); ++e) {
            const Corners c = system.corners(static_cast<int>(e));
            const double area =
                ((c.x[1] - c.x[0]) * (c.y[2] - c.y[0]) - (c.x[2] - c.x[0]) * (c.y[1] - c.y[0])) / 2;
            for (int v : m.triangles[e])
                for (const DofMap::Term& term : dofs.terms(v, W))
                    f(term.unknown) += q * area / 3;
        }
        solved = system.solve(std::vector<double>(m.nodes.size(), 0.0), Eigen::MatrixXd(), f, u);
    }
    static DofMap supported(const PlateMesh& m, bool clamped) {
        const int nodes = static_cast<int>(m.nodes.size());
        DofMap dofs(nodes, 0);
        for (int i = 0; i < nodes; ++i) {
            if (m.nodes[i].y == 0) dofs.fix(i, Wy);
            if (i >= m.ringFirst[m.ringFirst.size() - 2]) {
                dofs.fix(i, W);
                if (clamped) {
                    dofs.fix(i, Wx);
                    dofs.fix(i, Wy);
                }
            }
        }
        dofs.finish();
        return dofs;
    }
    DofMap dofs;
    PlateSystem system;
    Eigen::VectorXd u;
    bool solved = false;
};

// A solid circular plate under uniform pressure q.

struct PlateCase {
    const char* name;
    bool clamped;
    double deflectionFactor; // w0 = factor·q·a⁴/D
    double momentFactor;     // M0 = factor·q·a²
};

class CircularPlate : public testing::TestWithParam<PlateCase> {};

TEST_P(CircularPlate, CentreDeflectionAndMomentWithinOnePercent) {
    const double a = 500, t = 10, q = 0.1, h = 12.5;
    MeshSpec spec;
    spec.rOut = a;
    spec.h = h;
    spec.rLines = a;
    const PlateMesh m = buildMesh(spec);
    const double D = flexuralRigidity(E, nu, t);
    UniformlyLoaded plate(m, D, q, GetParam().clamped);
    ASSERT_TRUE(plate.solved);
    const PlateSystem& system = plate.system;
    const Eigen::VectorXd& u = plate.u;
    const double w0 = system.value(u, 0, W);
    double moment = 0;
    int around = 0;
    for (std::size_t e = 0; e < m.triangles.size(); ++e) {
        const auto& tri = m.triangles[e];
        if (std::find(tri.begin(), tri.end(), 0) == tri.end()) continue;
        const Eigen::Vector3d mom = dktCentreMoments(system.corners(static_cast<int>(e)), D, nu,
                                                     system.elementDofs(u, static_cast<int>(e)));
        moment += (mom(0) + mom(1)) / 2; // at the centre Mr = Mθ
        ++around;
    }
    moment /= around;
    const double wExact = GetParam().deflectionFactor * q * std::pow(a, 4) / D;
    const double mExact = GetParam().momentFactor * q * a * a;
    EXPECT_NEAR(w0 / wExact, 1, 0.01) << w0 << " against " << wExact;
    EXPECT_NEAR(moment / mExact, 1, 0.01) << moment << " against " << mExact;
}

// Timoshenko & Woinowsky-Krieger, Theory of Plates and Shells, §15 and §16.
INSTANTIATE_TEST_SUITE_P(
    Table, CircularPlate,
    testing::Values(PlateCase{"SimplySupported", false, (5 + nu) / (64 * (1 + nu)), (3 + nu) / 16},
                    PlateCase{"Clamped", true, 1.0 / 64, (1 + nu) / 16}),
    [](const testing::TestParamInfo<PlateCase>& info) { return std::string(info.param.name); });

// An annular plate under uniform pressure q, its inner edge free: the axisymmetric solution
// of D·∇⁴w = q, w = q·r⁴/(64D) + A + B·r² + C·ln r + E·r²·ln r, with the four edge conditions.
struct AnnularSolution {
    double D, q, c[4];
    double w(double r) const {
        return q * std::pow(r, 4) / (64 * D) + c[0] + c[1] * r * r + c[2] * std::log(r) +
               c[3] * r * r * std::log(r);
    }
    // The slope and curvature, and the radial and hoop moments.
    double slope(double r) const {
        return q * std::pow(r, 3) / (16 * D) + 2 * c[1] * r + c[2] / r +
               c[3] * (2 * r * std::log(r) + r);
    }
    double curvature(double r) const {
        return 3 * q * r * r / (16 * D) + 2 * c[1] - c[2] / (r * r) + c[3] * (2 * std::log(r) + 3);
    }
    double Mr(double r) const { return -D * (curvature(r) + nu * slope(r) / r); }
    double Mt(double r) const { return -D * (slope(r) / r + nu * curvature(r)); }
};

AnnularSolution annularPlate(double a, double b, double D, double q, bool clamped) {
    AnnularSolution s{D, q, {0, 0, 0, 0}};
    // Each condition is linear in the constants: its value at zero constants and its change
    // with each constant.
    auto row = [&](auto value, Eigen::Matrix4d& A, Eigen::Vector4d& rhs, int i) {
        const double base = value(s);
        for (int k = 0; k < 4; ++k) {
            AnnularSolution unit = s;
            unit.c[k] = 1;
            A(i, k) = value(unit) - base;
        }
        rhs(i) = -base;
    };
    Eigen::Matrix4d A;
    Eigen::Vector4d rhs;
    row([&](const AnnularSolution& x) { return x.Mr(b); }, A, rhs, 0);
    // No shear at the free edge: d/dr ∇²w = q·r/(2D) + 4E/r = 0.
    row([&](const AnnularSolution& x) { return x.q * b / (2 * x.D) + 4 * x.c[3] / b; }, A, rhs, 1);
    row([&](const AnnularSolution& x) { return x.w(a); }, A, rhs, 2);
    if (clamped)
        row([&](const AnnularSolution& x) { return x.slope(a); }, A, rhs, 3);
    else
        row([&](const AnnularSolution& x) { return x.Mr(a); }, A, rhs, 3);
    const Eigen::Vector4d c = A.partialPivLu().solve(rhs);
    for (int k = 0; k < 4; ++k)
        s.c[k] = c(k);
    return s;
}

class AnnularPlateBending : public testing::TestWithParam<PlateCase> {};

// The largest deflection (at the free edge) within 1 % of the closed form, and the largest
// moment (simply supported: the hoop moment at the free edge; clamped: the radial moment at
// the clamped edge) within 1 % of the closed form at the same element centres.
TEST_P(AnnularPlateBending, EdgeDeflectionAndMomentWithinOnePercent) {
    const double a = 500, b = 250, t = 10, q = 0.1, h = 12.5;
    const bool clamped = GetParam().clamped;
    MeshSpec spec;
    spec.rIn = b;
    spec.rOut = a;
    spec.h = h;
    spec.rLines = b;
    const PlateMesh m = buildMesh(spec);
    const int outerFirst = m.ringFirst[m.ringFirst.size() - 2];
    const double D = flexuralRigidity(E, nu, t);
    UniformlyLoaded plate(m, D, q, clamped);
    ASSERT_TRUE(plate.solved);
    const PlateSystem& system = plate.system;
    const Eigen::VectorXd& u = plate.u;
    const AnnularSolution exact = annularPlate(a, b, D, q, clamped);
    // The closed form itself against the published factors.
    EXPECT_NEAR(exact.w(b) * D / (q * std::pow(a, 4)), GetParam().deflectionFactor, 5e-5);
    EXPECT_NEAR((clamped ? exact.Mr(a) : exact.Mt(b)) / (q * a * a), GetParam().momentFactor, 5e-5);
    EXPECT_NEAR(system.value(u, 0, W) / exact.w(b), 1, 0.01)
        << system.value(u, 0, W) << " against " << exact.w(b);
    // The elements along the edge where the moment peaks: the FEM's centre moment in polar
    // components against the closed form at the centre's radius.
    double fem = 0, closed = 0;
    for (std::size_t e = 0; e < m.triangles.size(); ++e) {
        const auto& tri = m.triangles[e];
        const bool atEdge = std::any_of(tri.begin(), tri.end(), [&](int v) {
            return clamped ? v >= outerFirst : v < m.ringFirst[1];
        });
        if (!atEdge) continue;
        const Corners c = system.corners(static_cast<int>(e));
        const double cx = (c.x[0] + c.x[1] + c.x[2]) / 3, cy = (c.y[0] + c.y[1] + c.y[2]) / 3;
        const double r = std::hypot(cx, cy), cs = cx / r, sn = cy / r;
        const Eigen::Vector3d mom =
            dktCentreMoments(c, D, nu, system.elementDofs(u, static_cast<int>(e)));
        const double mr = mom(0) * cs * cs + mom(1) * sn * sn + 2 * mom(2) * sn * cs;
        const double mt = mom(0) * sn * sn + mom(1) * cs * cs - 2 * mom(2) * sn * cs;
        fem += clamped ? mr : mt;
        closed += clamped ? exact.Mr(r) : exact.Mt(r);
    }
    EXPECT_NEAR(fem / closed, 1, 0.01) << fem << " against " << closed;
}

// Roark's Formulas for Stress and Strain, table 11.2, cases 2a and 2e at b/a = 0.5: w_b =
// K_y·q·a⁴/D, M = K_M·q·a² (signs here w downward, a moment positive when it sags the plate).
INSTANTIATE_TEST_SUITE_P(Table, AnnularPlateBending,
                         testing::Values(PlateCase{"SimplySupported", false, 0.0624, 0.2404},
                                         PlateCase{"Clamped", true, 0.0053, -0.0800}),
                         [](const testing::TestParamInfo<PlateCase>& info) {
                             return std::string(info.param.name);
                         });

// An infinite plate on a Winkler foundation under a central point load (Hertz; Timoshenko
// §57): w0 = P/(8·√(k·D)), on a free disc eight characteristic lengths wide.
TEST(WinklerPlate, PointLoadDeflectionWithinTwoPercent) {
    const double t = 20, k = 0.05, P = 1e5;
    const double D = flexuralRigidity(E, nu, t);
    const double l = std::pow(D / k, 0.25);
    MeshSpec spec;
    spec.rOut = 8 * l;
    spec.h = l / 6;
    spec.fineRadii = {0};
    spec.rLines = spec.rOut;
    const PlateMesh m = buildMesh(spec);
    const int nodes = static_cast<int>(m.nodes.size());
    DofMap dofs(nodes, 0);
    for (int i = 0; i < nodes; ++i)
        if (m.nodes[i].y == 0) dofs.fix(i, Wy);
    dofs.finish();
    PlateSystem system(m, dofs, D, nu);
    std::vector<double> springs(m.nodes.size(), 0.0);
    for (std::size_t e = 0; e < m.triangles.size(); ++e) {
        const Corners c = system.corners(static_cast<int>(e));
        const double area =
            ((c.x[1] - c.x[0]) * (c.y[2] - c.y[0]) - (c.x[2] - c.x[0]) * (c.y[1] - c.y[0])) / 2;
        for (int v : m.triangles[e])
            springs[v] += k * area / 3;
    }
    Eigen::VectorXd f = Eigen::VectorXd::Zero(dofs.unknowns());
    f(dofs.terms(0, W)[0].unknown) = P / 2; // the half carries half the load
    Eigen::VectorXd u;
    ASSERT_TRUE(system.solve(springs, Eigen::MatrixXd(), f, u));
    const double exact = P / (8 * std::sqrt(k * D));
    EXPECT_NEAR(system.value(u, 0, W) / exact, 1, 0.02)
        << system.value(u, 0, W) << " against " << exact;
}

// ---------------------------------------------------------------------------------------
// The base.

const double m36 = effectiveArea(boltSizes()[6]);
const double c30 = 3.0e4;

BaseFemInput baseInput(const InputTexts& t, double Dt, double tw, double tp, double depth = 0,
                       double mesh = 0) {
    const BaseInput b = makeBaseInput(t[0], t[1], t[2], t[3], t[4]);
    BaseFemInput in;
    in.P = b.P;
    in.M = b.M;
    in.d = b.d;
    in.D = b.D;
    in.layout = layOutBolts(b);
    in.Dt = Dt;
    in.tw = tw;
    in.tp = tp;
    in.boltDiameter = 36;
    in.ae = m36;
    in.Ec = c30;
    in.depth = depth;
    in.mesh = mesh;
    return in;
}

struct LimitCase {
    const char* name;
    InputTexts inputs;
    double Dt, tw;
    double hole = 0; // mm, the plate's central hole
};

class RigidLimit : public testing::TestWithParam<LimitCase> {};

// A 100 mm plate on a foundation and bolts 10⁸ mm deep is rigid against them: the model must
// give the rigid-plate method's state.
TEST_P(RigidLimit, WithinTwoPercentOfTheRigidPlateMethod) {
    const LimitCase& c = GetParam();
    BaseFemInput in = baseInput(c.inputs, c.Dt, c.tw, 100, 1e8);
    in.hole = c.hole;
    const FemSolution s = solveBaseFem(in);
    ASSERT_FALSE(s.refused) << s.message;
    const BaseInput b =
        makeBaseInput(c.inputs[0], c.inputs[1], c.inputs[2], c.inputs[3], c.inputs[4]);
    const CompatibilityState r =
        solveCompatibility(b, layOutBolts(b), m36, steelModulus / c30, c.hole);
    auto near = [](double fem, double rigid, double scale) {
        return std::fabs(fem - rigid) <= 0.02 * std::max(std::fabs(rigid), scale);
    };
    const double forceScale = std::max(std::fabs(b.P), r.C + r.F) / 1000; // kN
    EXPECT_PRED3(near, s.state.x, r.x, b.d / 100);
    EXPECT_PRED3(near, s.state.sigmaMax, r.sigmaMax, 0.0);
    EXPECT_PRED3(near, s.state.T, r.T, forceScale / 100);
    EXPECT_PRED3(near, s.state.C / 1000, r.C / 1000, forceScale / 100);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RigidLimit,
    testing::Values(
        LimitCase{"DefaultBase", {"1000", "1000", "1520", "1620", "18"}, 1020, 16},
        LimitCase{"TensionWithLargeMoment", {"-826", "7250", "2390", "2730", "10"}, 1620, 20},
        LimitCase{"UpliftOnTheBoltsAlone", {"-4000", "800", "1520", "1620", "18"}, 1020, 16},
        LimitCase{"SmallEccentricity", {"6000", "300", "1520", "1620", "18"}, 1020, 16},
        LimitCase{"DefaultBaseWithAHole", {"1000", "1000", "1520", "1620", "18"}, 1020, 16, 800},
        LimitCase{
            "SmallEccentricityWithAHole", {"6000", "300", "1520", "1620", "18"}, 1020, 16, 800}),
    [](const testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

// Halving the element size moves T, C and x by under 2 % and the plate stress by under 5 %.
TEST(MeshConvergence, HalvingTheElementSize) {
    const InputTexts t{"1000", "1000", "1520", "1620", "18"};
    const FemSolution coarse = solveBaseFem(baseInput(t, 1020, 16, 30, 0, 25));
    const FemSolution fine = solveBaseFem(baseInput(t, 1020, 16, 30, 0, 12.5));
    ASSERT_FALSE(coarse.refused || fine.refused);
    EXPECT_NEAR(coarse.state.T / fine.state.T, 1, 0.02);
    EXPECT_NEAR(coarse.state.C / fine.state.C, 1, 0.02);
    EXPECT_NEAR(coarse.state.x / fine.state.x, 1, 0.02);
    EXPECT_NEAR(coarse.maxStress / fine.maxStress, 1, 0.05);
}

// A thin plate under a large moment lifts off the concrete on the bolts' side: the iteration
// must end in a state that balances the loads, presses only where the plate bears down, and
// pulls only the bolts the body lifts.
TEST(ContactIteration, PlateThatLiftsOff) {
    const InputTexts t{"500", "1500", "1520", "1620", "18"};
    const BaseFemInput in = baseInput(t, 1020, 16, 20);
    const FemSolution s = solveBaseFem(in);
    ASSERT_FALSE(s.refused) << s.message;
    EXPECT_GT(s.iterations + s.coarseIterations, 2);
    EXPECT_NEAR(s.state.C - s.state.F, in.P, 1e-6 * s.state.C);
    EXPECT_NEAR(s.state.Mc + s.state.Mb, in.M, 1e-6 * in.M);
    const double bearingArea = std::numbers::pi * in.d * in.d / 4;
    EXPECT_GT(s.contactArea, 0.05 * bearingArea);
    EXPECT_LT(s.contactArea, 0.8 * bearingArea);
    for (double p : s.pressure)
        EXPECT_GE(p, 0);
    // Bolts on the compressed side carry nothing, bolt 1 the most.
    EXPECT_EQ(s.state.boltForces.front(), s.state.T);
    EXPECT_EQ(*std::min_element(s.state.boltForces.begin(), s.state.boltForces.end()), 0);
    EXPECT_GT(s.state.x, 0);
    EXPECT_LT(s.state.x, in.d);
}

// A plate with a central hole is meshed as an annulus: no element inside the hole, the
// foundation over the annulus only. A hole the mesh cannot keep inside the tube's clamped
// ring is refused naming its option.
TEST(PlateWithAHole, MeshedAndBearingAsAnAnnulus) {
    DesignInput design;
    design.method = AnalysisMethod::Fem;
    design.detailing = DetailingInput{};
    design.detailing->tube = "1020x16";
    design.plateHole = 800;
    const ComputedCase c = computeCase({"1000", "1000", "1520", "1620", "18"}, design);
    ASSERT_EQ(c.status, CaseStatus::Ok) << c.message;
    ASSERT_TRUE(c.fem);
    const FemSolution& s = *c.fem;
    EXPECT_EQ(s.holeRadius, 400);
    double bearing = 0;
    for (std::size_t t = 0; t < s.mesh.triangles.size(); ++t) {
        double x[3], y[3];
        for (int k = 0; k < 3; ++k) {
            const auto& n = s.mesh.nodes[static_cast<std::size_t>(s.mesh.triangles[t][k])];
            x[k] = n.x;
            y[k] = n.y;
            EXPECT_GE(std::hypot(n.x, n.y), 400 * (1 - 1e-9));
        }
        if (s.bearing[t])
            bearing += ((x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0])) / 2;
    }
    // The half mesh's polygons fall short of the circles by a little.
    const double annulus = std::numbers::pi / 4 * (1520.0 * 1520 - 800.0 * 800);
    EXPECT_NEAR(2 * bearing / annulus, 1, 2e-3);
    EXPECT_LE(s.contactArea, 2 * bearing);

    BaseFemInput in = baseInput({"1000", "1000", "1520", "1620", "18"}, 1020, 16, 30);
    in.hole = 988;
    try {
        solveBaseFem(in);
        ADD_FAILURE() << "a hole as wide as the tube's bore was meshed";
    } catch (const TarvelError& e) {
        EXPECT_NE(std::string(e.what()).find("--plate-hole"), std::string::npos) << e.what();
    }
}

// The contact sets found first on the coarse mesh, and the model kept from the last base,
// only speed the iteration up: the state must be the fine mesh's own, to the last bit, as
// found from the rigid plate's sets on a model built afresh.
class ContactStart : public testing::TestWithParam<LimitCase> {};

TEST_P(ContactStart, CoarseSetsAndAKeptModelLeaveTheStateAsItIs) {
    const LimitCase& c = GetParam();
    BaseFemInput in = baseInput(c.inputs, c.Dt, c.tw, 20);
    in.hole = c.hole;
    in.coarseStart = false;
    const FemSolution alone = solveBaseFem(in);
    in.coarseStart = true;
    // Another base's load on the same model first, so that this one finds the model used.
    BaseFemInput other = in;
    other.P = -in.P / 2;
    other.M = 2 * in.M;
    solveBaseFem(other);
    const FemSolution kept = solveBaseFem(in);
    ASSERT_FALSE(alone.refused || kept.refused) << alone.message << kept.message;
    EXPECT_GT(kept.coarseIterations, 0);
    EXPECT_LE(kept.iterations, alone.iterations);
    EXPECT_EQ(kept.state.x, alone.state.x);
    EXPECT_EQ(kept.state.sigmaMax, alone.state.sigmaMax);
    EXPECT_EQ(kept.state.boltForces, alone.state.boltForces);
    EXPECT_EQ(kept.state.C, alone.state.C);
    EXPECT_EQ(kept.state.Mc, alone.state.Mc);
    EXPECT_EQ(kept.contactArea, alone.contactArea);
    EXPECT_EQ(kept.vonMises, alone.vonMises);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ContactStart,
    testing::Values(LimitCase{"DefaultBase", {"1000", "1000", "1520", "1620", "18"}, 1020, 16},
                    LimitCase{"LiftsOff", {"500", "1500", "1520", "1620", "18"}, 1020, 16},
                    LimitCase{"Tension", {"-500", "800", "1520", "1620", "18"}, 1020, 16},
                    LimitCase{"WithAHole", {"1000", "1000", "1520", "1620", "18"}, 1020, 16, 800}),
    [](const testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

// The two plate checks take the model's stress: the panels the largest outside the tube, the
// plate inside it the largest within, where the rigid plate's disc formula is 3.6 times over.
TEST(PlateFemChecks, PlateInsideTakesTheModelsStressInsideTheTube) {
    DesignInput design;
    design.method = AnalysisMethod::Fem;
    design.detailing = DetailingInput{};
    design.detailing->tube = "1020x16";
    const ComputedCase c = computeCase({"1000", "1000", "1520", "1620", "18"}, design);
    ASSERT_EQ(c.status, CaseStatus::Ok) << c.message;
    ASSERT_TRUE(c.fem);
    const StressPeak inside = peakStress(*c.fem, StressRegion::InsideTube);
    const StressPeak outside = peakStress(*c.fem, StressRegion::OutsideTube);
    EXPECT_EQ(c.checks[CheckId::PlateInside].demand, inside.value);
    EXPECT_EQ(c.checks[CheckId::Plate].demand, outside.value);
    EXPECT_EQ(std::max(inside.value, outside.value), c.fem->maxStress);
    EXPECT_LT(c.checks[CheckId::PlateInside].ratio, 1);
}

} // namespace
