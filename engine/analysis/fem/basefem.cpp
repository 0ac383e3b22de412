#include "analysis/fem/basefem.h"

#include "analysis/fem/platemodel.h"
#include "analysis/fem/platesystem.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <set>

namespace tarvel::fem {

namespace {

constexpr double pi = std::numbers::pi;
// The active-set iteration stops with a refusal after this many solves.
constexpr int maxIterations = 60;
// The state must balance P and M to this share of the largest force or moment involved.
constexpr double balanceShare = 1e-6;
// Within this many elements of the tube wall or a stiffener the largest stress is said to be
// there.
constexpr double nearElements = 2;
constexpr double kN = 1000;

const char* const refusalPrefix = "板有限元法无平衡解：";

TarvelError bad(InputField field, const std::string& message) {
    return TarvelError(ErrorKind::OutOfRange, field, message);
}

struct Geometry {
    double R = 0, rt = 0, rOut = 0, rHole = 0;
    std::vector<double> boltAngles, stiffenerAngles; // over the whole circle
    MeshSpec spec;
};

Geometry geometryOf(const BaseFemInput& in) {
    Geometry g;
    g.R = in.d / 2;
    g.rt = (in.Dt - in.tw) / 2;
    g.rOut = std::max(in.d, in.D + 3 * in.boltDiameter) / 2;
    g.rHole = in.hole / 2;
    const int n = in.layout.count;
    for (int i = 1; i <= n; ++i) {
        const double theta = ((i - 1) * (360.0 / n) + 180) * piBolts / 180;
        g.boltAngles.push_back(theta);
        g.stiffenerAngles.push_back(theta + pi / n);
    }
    MeshSpec& s = g.spec;
    s.rIn = g.rHole;
    s.rOut = g.rOut;
    s.h = meshOf(in);
    s.keyRadii = {g.rt, g.R, in.D / 2};
    // The contact pressure peaks at the bearing edge: grade there too, so its element average
    // converges to the edge value.
    s.fineRadii = {g.rt, g.R};
    // The free edge of a hole carries the ring's largest hoop moment.
    if (g.rHole > 0) s.fineRadii.push_back(g.rHole);
    s.rLines = g.rt;
    // Bolt and stiffener lines over the half y ≥ 0: π − k·π/n; the stiffeners are the odd k.
    for (int k = 1; k < n; ++k) {
        const double a = pi - k * pi / n;
        s.keyAngles.push_back(a);
        if (k % 2 == 1) s.fineAngles.push_back(a);
    }
    if (n % 2 == 1) s.fineAngles.push_back(0); // an odd count puts a stiffener on +x
    return g;
}

} // namespace

double depthOf(const BaseFemInput& in) {
    return in.depth > 0 ? in.depth : in.d / 2;
}

double meshOf(const BaseFemInput& in) {
    return in.mesh > 0 ? in.mesh : std::min(defaultMaxMesh, in.tp);
}

void checkFemInput(const BaseFemInput& in) {
    if (in.depth != 0 && !(in.depth >= minDepth && in.depth <= maxDepth))
        throw bad(InputField::None, "「计算深度 h_e」（--fem-depth）应在 10～1e9 mm 之间");
    if (in.mesh != 0 && !(in.mesh >= minMesh && in.mesh <= maxMesh))
        throw bad(InputField::None, "「网格尺寸 h」（--fem-mesh）应在 2～100 mm 之间");
    if (!(in.d > 0)) throw bad(InputField::d, "「d(mm)」应大于 0");
    if (!(in.tp > 0)) throw bad(InputField::plate, "「底板厚度」应大于 0");
    if (!(in.Dt > 2 * in.tw && in.tw > 0) || !(in.Dt < in.d))
        throw bad(InputField::tube, "钢管（--tube）应在底板受压圆 d 以内，且外径大于两倍壁厚");
    // The hole's edge is a ring of the mesh inside the tube's mid-wall circle, which the
    // clamped ring must keep apart from it.
    if (!(in.hole >= 0 && in.hole < in.Dt - 2 * in.tw))
        throw bad(InputField::plateHole,
                  "底板中心孔（--plate-hole）应小于钢管内径 Dt − 2tw，板有限元法才能划分网格");
    if (!(in.Ec > 0) || !(in.ae > 0))
        throw bad(InputField::concrete, "混凝土或锚栓的模量、面积应大于 0");
    if (!std::isfinite(in.P) || !std::isfinite(in.M)) throw bad(InputField::P, "荷载超出范围");
    const Geometry g = geometryOf(in);
    const long long elements = 2 * countMesh(g.spec).triangles;
    if (elements > maxElements)
        throw bad(InputField::None, "网格尺寸 h（--fem-mesh）过小：单元数 " +
                                        std::to_string(elements) + " 超过 200000，请加大网格尺寸");
}

std::string stressPlace(const FemSolution& s, double x, double y) {
    const double r = std::hypot(x, y);
    const double near = nearElements * s.meshSize;
    bool byStiffener = false;
    for (double a : s.stiffenerAngles)
        byStiffener =
            byStiffener || std::fabs(std::remainder(std::atan2(y, x) - a, 2 * pi)) * r <= near;
    return std::fabs(r - s.tubeRadius) <= near ? "钢管壁处"
           : r < s.tubeRadius                  ? "管内底板"
           : byStiffener                       ? "加劲肋根部"
                                               : "区格内";
}

StressPeak peakStress(const FemSolution& s, StressRegion region) {
    StressPeak peak;
    for (std::size_t t = 0; t < s.mesh.triangles.size(); ++t) {
        double x = 0, y = 0;
        for (int v : s.mesh.triangles[t]) {
            x += s.mesh.nodes[static_cast<std::size_t>(v)].x / 3;
            y += s.mesh.nodes[static_cast<std::size_t>(v)].y / 3;
        }
        const bool inside = std::hypot(x, y) < s.tubeRadius;
        if ((region == StressRegion::InsideTube && !inside) ||
            (region == StressRegion::OutsideTube && inside))
            continue;
        if (s.vonMises[t] > peak.value) peak = {s.vonMises[t], x, y, {}};
    }
    peak.place = stressPlace(s, peak.x, peak.y);
    return peak;
}

namespace {

// The sets of the active-set iteration: the nodes in contact and the bolts that pull.
struct ActiveSets {
    std::vector<bool> contact, pulled;
};

// How an iteration ended.
enum class Stop { Converged, Singular, Cycles, TooMany };

// The loads and springs of one base on a model.
struct Loading {
    const BaseFemInput& in;
    double k = 0, kb = 0; // N/mm³, N/mm
    Eigen::VectorXd f;    // the half's loads on the body
};

// The rigid plate's sets on a model: the nodes beyond its neutral axis y_n pressed, the
// bolts short of it stretched; without a rigid state (none given), everything active.
ActiveSets rigidSets(const PlateModel& m, const BaseFemInput& in, const CompatibilityState* rigid) {
    ActiveSets s;
    s.contact.resize(m.mesh.nodes.size());
    for (std::size_t i = 0; i < m.mesh.nodes.size(); ++i)
        s.contact[i] = m.area[i] > 0 && (!rigid || m.mesh.nodes[i].x > rigid->yn);
    s.pulled.assign(static_cast<std::size_t>(in.layout.count), true);
    for (int b = 0; b < in.layout.count && rigid; ++b)
        s.pulled[static_cast<std::size_t>(b)] = in.layout.a[b + 1] < rigid->yn;
    return s;
}

// The active-set iteration on a model from `sets` until they repeat. Each solve counts in
// `solves` (refused beyond maxIterations) and goes to `progress` with `shown`, the solves of
// every model so far. On Converged, `sets`, `u` and `w` hold the state.
Stop iterate(PlateModel& m, const Loading& load, ActiveSets& sets, Eigen::VectorXd& u,
             std::vector<double>& w, int& solves, int& shown, const FemProgress& progress) {
    const std::size_t nodeCount = m.mesh.nodes.size();
    const int n = load.in.layout.count;
    std::set<std::vector<bool>> seen;
    w.assign(nodeCount, 0.0);
    for (;;) {
        if (++solves > maxIterations) return Stop::TooMany;
        if (progress) progress(++shown);
        std::vector<double> springs(nodeCount, 0.0);
        for (std::size_t i = 0; i < nodeCount; ++i)
            if (sets.contact[i]) springs[i] = load.k * m.area[i];
        Eigen::Matrix2d body = Eigen::Matrix2d::Zero();
        for (int b = 0; b < n; ++b) {
            if (!sets.pulled[static_cast<std::size_t>(b)]) continue;
            const double x = load.in.layout.a[b + 1];
            body(0, 0) += load.kb / 2;
            body(0, 1) += load.kb / 2 * x;
            body(1, 0) += load.kb / 2 * x;
            body(1, 1) += load.kb / 2 * x * x;
        }
        if (!m.system.solve(springs, body, load.f, u)) return Stop::Singular;
        for (std::size_t i = 0; i < nodeCount; ++i)
            w[i] = m.system.value(u, static_cast<int>(i), W);
        ActiveSets next{std::vector<bool>(nodeCount), std::vector<bool>(sets.pulled.size())};
        for (std::size_t i = 0; i < nodeCount; ++i)
            next.contact[i] = m.area[i] > 0 && w[i] > 0;
        for (int b = 0; b < n; ++b)
            next.pulled[static_cast<std::size_t>(b)] =
                u(m.dofs.body(0)) + u(m.dofs.body(1)) * load.in.layout.a[b + 1] < 0;
        if (next.contact == sets.contact && next.pulled == sets.pulled) return Stop::Converged;
        std::vector<bool> key = next.contact;
        key.insert(key.end(), next.pulled.begin(), next.pulled.end());
        // A set met before would repeat the same solves for ever.
        if (!seen.insert(key).second) return Stop::Cycles;
        sets = std::move(next);
    }
}

// Iterates from each start in turn while the first solve finds the system singular (a start
// may leave the flexible plate free to move).
Stop iterateFrom(PlateModel& m, const Loading& load, const std::vector<ActiveSets>& starts,
                 ActiveSets& sets, Eigen::VectorXd& u, std::vector<double>& w, int& solves,
                 int& shown, const FemProgress& progress) {
    Stop stop = Stop::Singular;
    for (const ActiveSets& start : starts) {
        sets = start;
        const int before = solves;
        stop = iterate(m, load, sets, u, w, solves, shown, progress);
        if (stop != Stop::Singular || solves - before > 1) return stop;
    }
    return stop;
}

Loading loadingOf(const PlateModel& m, const BaseFemInput& in, double he) {
    Loading load{in, in.Ec / he, steelModulus * in.ae / he, {}};
    // The half carries half of P, M and every bolt.
    load.f = Eigen::VectorXd::Zero(m.dofs.unknowns());
    load.f(m.dofs.body(0)) = in.P / 2;
    load.f(m.dofs.body(1)) = in.M / 2;
    return load;
}

} // namespace

FemSolution solveBaseFem(const BaseFemInput& in, const FemProgress& progress) {
    checkFemInput(in);
    const Geometry g = geometryOf(in);
    ModelSpec spec;
    spec.mesh = g.spec;
    spec.tubeRadius = g.rt;
    spec.bearingRadius = g.R;
    spec.stiffenerAngles = g.stiffenerAngles;
    spec.rigidity = flexuralRigidity(steelModulus, plateNu, in.tp);
    BaseModels& models = baseModels(spec);
    PlateModel& model = *models.fine;
    FemSolution out;
    out.mesh = model.mesh;
    const PlateMesh& mesh = out.mesh;
    const DofMap& dofs = model.dofs;
    PlateSystem& system = model.system;
    const int nodeCount = static_cast<int>(mesh.nodes.size());
    const double h = g.spec.h;
    const double he = depthOf(in);
    const double k = in.Ec / he;                 // N/mm³
    const double kb = steelModulus * in.ae / he; // N/mm
    const double D = spec.rigidity;

    out.depth = he;
    out.foundationModulus = k;
    out.meshSize = h;
    out.plateRadius = g.rOut;
    out.bearingRadius = g.R;
    out.tubeRadius = g.rt;
    out.holeRadius = g.rHole;
    out.stiffenerAngles = g.stiffenerAngles;
    for (int i = 1; i <= in.layout.count; ++i) {
        out.boltX.push_back(in.layout.a[i]);
        out.boltY.push_back(in.D / 2 * std::sin(g.boltAngles[static_cast<std::size_t>(i - 1)]));
    }
    out.nodes = 2 * static_cast<long long>(nodeCount) - model.axisNodes;
    out.elements = 2 * static_cast<long long>(mesh.triangles.size());
    out.bearing = model.bearing;
    const std::vector<double>& area = model.area;

    out.pressure.assign(mesh.triangles.size(), 0.0);
    out.vonMises.assign(mesh.triangles.size(), 0.0);
    if (in.P == 0 && in.M == 0) {
        // Unloaded: nothing presses and nothing pulls (no set would hold the body otherwise).
        out.state.regime = CompatibilityState::Regime::Unloaded;
        out.state.boltForces.assign(static_cast<std::size_t>(in.layout.count), 0.0);
        out.maxStressPlace = "区格内";
        return out;
    }

    const int n = in.layout.count;
    // The iteration starts from the rigid plate's state: the plate's own is usually a few
    // steps from it. Without one, from everything active.
    BaseInput rigidInput;
    rigidInput.P = in.P;
    rigidInput.M = in.M;
    rigidInput.d = in.d;
    rigidInput.D = in.D;
    rigidInput.n = static_cast<int16_t>(n);
    const CompatibilityState rigid =
        solveCompatibility(rigidInput, in.layout, in.ae, steelModulus / in.Ec, in.hole);
    const bool guess = rigid.regime != CompatibilityState::Regime::NoEquilibrium &&
                       rigid.regime != CompatibilityState::Regime::Unloaded;
    auto startsOn = [&](const PlateModel& m) {
        std::vector<ActiveSets> starts;
        if (guess) starts.push_back(rigidSets(m, in, &rigid));
        starts.push_back(rigidSets(m, in, nullptr));
        return starts;
    };
    int shown = 0;
    ActiveSets sets;
    Eigen::VectorXd u;
    std::vector<double> w;
    // On a large mesh the sets are first found on the coarse one, where a solve costs a
    // fraction, and carried over: the fine mesh then needs a step or two to settle its own.
    // The state is the fine mesh's whatever the start, so the figures do not depend on it.
    std::vector<ActiveSets> starts = startsOn(model);
    bool carriedStart = false;
    if (models.coarse && in.coarseStart) {
        PlateModel& coarse = *models.coarse;
        ActiveSets coarseSets;
        Eigen::VectorXd coarseU;
        std::vector<double> coarseW;
        int coarseSolves = 0;
        if (iterateFrom(coarse, loadingOf(coarse, in, he), startsOn(coarse), coarseSets, coarseU,
                        coarseW, coarseSolves, shown, progress) == Stop::Converged) {
            ActiveSets carried;
            carried.contact.resize(mesh.nodes.size());
            for (std::size_t i = 0; i < mesh.nodes.size(); ++i) {
                const NodeInTriangle& at = models.fromCoarse[i];
                const auto& tri = coarse.mesh.triangles[static_cast<std::size_t>(at.triangle)];
                double wi = 0;
                for (int c = 0; c < 3; ++c)
                    wi += at.weight[c] * coarseW[static_cast<std::size_t>(tri[c])];
                carried.contact[i] = area[i] > 0 && wi > 0;
            }
            carried.pulled = coarseSets.pulled;
            starts.insert(starts.begin(), std::move(carried));
            carriedStart = true;
        }
        out.coarseIterations = coarseSolves;
    }
    const Loading load = loadingOf(model, in, he);
    Stop stop = iterateFrom(model, load, starts, sets, u, w, out.iterations, shown, progress);
    // Should the carried sets lead the fine iteration astray, it starts again as it would
    // without them, with the whole count of steps.
    if (stop != Stop::Converged && carriedStart) {
        starts.erase(starts.begin());
        int again = 0;
        stop = iterateFrom(model, load, starts, sets, u, w, again, shown, progress);
        out.iterations += again;
    }
    auto refuse = [&](const std::string& why) {
        FemSolution r;
        r.refused = true;
        r.message = refusalPrefix + why;
        r.iterations = out.iterations;
        return r;
    };
    switch (stop) {
    case Stop::Converged:
        break;
    case Stop::TooMany:
        return refuse("接触与锚栓状态迭代不收敛");
    case Stop::Cycles:
        return refuse("接触与锚栓状态往复循环，迭代不收敛");
    case Stop::Singular:
        return refuse("底板既无混凝土承压也无足够的锚栓约束，无法平衡 P 与 M");
    }
    const std::vector<bool>& contact = sets.contact;
    const std::vector<bool>& pulled = sets.pulled;

    const double W0 = u(dofs.body(0)), alpha = u(dofs.body(1));
    out.settlement = W0;
    out.rotation = alpha;
    CompatibilityState& s = out.state;
    s.regime = CompatibilityState::Regime::Partial;
    // The bearing: the half's node forces, doubled.
    double minX = std::numeric_limits<double>::infinity();
    for (int i = 0; i < nodeCount; ++i) {
        if (!contact[static_cast<std::size_t>(i)]) continue;
        const double force = k * area[static_cast<std::size_t>(i)] * w[static_cast<std::size_t>(i)];
        const double x = mesh.nodes[static_cast<std::size_t>(i)].x;
        s.C += 2 * force;
        s.Mc += 2 * force * x;
        out.contactArea += 2 * area[static_cast<std::size_t>(i)];
        minX = std::min(minX, x);
    }
    s.boltForces.assign(static_cast<std::size_t>(n), 0.0);
    for (int b = 0; b < n; ++b) {
        const double x = in.layout.a[b + 1];
        const double t = pulled[static_cast<std::size_t>(b)] ? kb * -(W0 + alpha * x) : 0;
        s.F += t;
        s.Mb += t * -x;
        s.boltForces[static_cast<std::size_t>(b)] = t / kN;
        s.T = std::max(s.T, t / kN);
    }
    const double forceScale = std::max({std::fabs(in.P), s.C, s.F});
    const double momentScale =
        std::max({in.M, std::fabs(s.Mc), std::fabs(s.Mb), forceScale * in.d / 2});
    if (std::fabs(s.C - s.F - in.P) > balanceShare * forceScale ||
        std::fabs(s.Mc + s.Mb - in.M) > balanceShare * momentScale)
        return refuse("所得状态不满足 P、M 的平衡（力差 " + std::to_string(s.C - s.F - in.P) +
                      " N，弯矩差 " + std::to_string(s.Mc + s.Mb - in.M) + " N·mm）");
    s.c = s.C == 0 ? 0 : s.Mc / s.C;
    s.c2 = s.F == 0 ? 0 : s.Mb / s.F;

    // Per triangle: the mean contact pressure of its corners, and the surface stress. The
    // contact's edge inside a triangle, where w changes sign along a side, counts for x.
    for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
        const auto& tri = mesh.triangles[t];
        if (out.bearing[t]) {
            double sum = 0;
            for (int v : tri)
                if (contact[static_cast<std::size_t>(v)]) sum += k * w[static_cast<std::size_t>(v)];
            out.pressure[t] = sum / 3;
            s.sigmaMax = std::max(s.sigmaMax, out.pressure[t]);
            for (int a = 0; a < 3; ++a) {
                const int p = tri[a], q = tri[(a + 1) % 3];
                const double wp = w[static_cast<std::size_t>(p)],
                             wq = w[static_cast<std::size_t>(q)];
                if ((wp > 0) == (wq > 0)) continue;
                const double share = wp / (wp - wq);
                const auto &np = mesh.nodes[static_cast<std::size_t>(p)],
                           &nq = mesh.nodes[static_cast<std::size_t>(q)];
                minX = std::min(minX, np.x + share * (nq.x - np.x));
            }
        }
        const Eigen::Vector3d m = dktCentreMoments(system.corners(static_cast<int>(t)), D, plateNu,
                                                   system.elementDofs(u, static_cast<int>(t)));
        const double sigma = 6 / (in.tp * in.tp) *
                             std::sqrt(m(0) * m(0) - m(0) * m(1) + m(1) * m(1) + 3 * m(2) * m(2));
        out.vonMises[t] = sigma;
        if (sigma > out.maxStress) {
            const Corners c = system.corners(static_cast<int>(t));
            out.maxStress = sigma;
            out.maxStressX = (c.x[0] + c.x[1] + c.x[2]) / 3;
            out.maxStressY = (c.y[0] + c.y[1] + c.y[2]) / 3;
        }
    }
    s.x = s.C > 0 ? std::clamp(g.R - minX, 0.0, in.d) : 0;

    out.maxStressPlace = stressPlace(out, out.maxStressX, out.maxStressY);
    return out;
}

} // namespace tarvel::fem
