#include "checks/plasticbase.h"

#include "analysis/analysis.h"
#include "checks/bearingarea.h"
#include "checks/design.h"

#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace tarvel {

namespace {

constexpr double pi = 3.14159265358979323846;

struct Band {
    double maxThickness, fy;
};
struct YieldRow {
    const char* steel;
    std::vector<Band> bands;
};

// Bolts closer than this fraction of the base's size stand at one place: the layout's
// rounding leaves mirrored bolts a few thousandths of a millimetre apart.
constexpr double samePlace = 1e-6;

} // namespace

double tubeYieldStrength(std::string_view steel, double t) {
    // GB 50017-2017, table 4.4.1: f_y by thickness.
    static const YieldRow rows[] = {
        {"Q235", {{16, 235}, {40, 225}, {100, 215}}},
        {"Q355", {{16, 355}, {40, 345}, {63, 335}, {80, 325}, {100, 315}}},
        {"Q390", {{16, 390}, {40, 370}, {63, 350}, {100, 330}}},
        {"Q420", {{16, 420}, {40, 400}, {63, 380}, {100, 360}}}};
    for (const YieldRow& r : rows) {
        if (steel != r.steel) continue;
        for (const Band& b : r.bands)
            if (t <= b.maxThickness) return b.fy;
        return r.bands.back().fy;
    }
    return 0;
}

double concreteCharacteristicStrength(std::string_view grade) {
    // GB 50010-2010, table 4.1.3-1.
    static const std::pair<const char*, double> table[] = {
        {"C20", 13.4}, {"C25", 16.7}, {"C30", 20.1}, {"C35", 23.4}, {"C40", 26.8},
        {"C45", 29.6}, {"C50", 32.4}, {"C55", 35.5}, {"C60", 38.5}};
    for (const auto& [name, fck] : table)
        if (grade == name) return fck;
    return 0;
}

double boltUltimateStrength(std::string_view steel) {
    // GB 50017-2017, table 4.4.6: anchor bolts.
    static const std::pair<const char*, double> table[] = {
        {"Q235", 370}, {"Q355", 470}, {"Q390", 490}};
    for (const auto& [name, fu] : table)
        if (steel == name) return fu;
    return 0;
}

ColumnPlastic columnPlasticMoment(double Dt, double tw, double fy, double P) {
    const double inner = Dt - 2 * tw;
    ColumnPlastic c;
    c.W = (Dt * Dt * Dt - inner * inner * inner) / 6;
    c.A = pi / 4 * (Dt * Dt - inner * inner);
    const double axial = std::fabs(P) / c.A;
    c.Mpc = axial >= fy ? 0 : c.W * (fy - axial);
    return c;
}

namespace {

// Bolts closer than this stand at one place.
double placeTolerance(const PlasticBase& base) {
    double reach = base.d / 2;
    for (double b : base.boltX)
        reach = std::max(reach, std::fabs(b));
    return samePlace * reach;
}

} // namespace

PlasticBase plasticBaseOf(const DesignData& data, double d, double D, int n) {
    PlasticBase base;
    base.d = d;
    base.hole = data.input.plateHole;
    base.fck = concreteCharacteristicStrength(data.concrete.name);
    base.boltForce = boltUltimateStrength(data.steel.name) * data.ae;
    BaseInput geometry;
    geometry.d = d;
    geometry.D = D;
    geometry.n = static_cast<int16_t>(n);
    const BoltLayout layout = layOutBolts(geometry);
    for (int i = 1; i <= layout.count; ++i)
        base.boltX.push_back(layout.a[i]);
    return base;
}

std::vector<double> plasticBoltForces(const PlasticBase& base, const PlasticState& s) {
    std::vector<double> forces(base.boltX.size(), 0.0);
    if (!s.balanced) return forces;
    const double tolerance = placeTolerance(base);
    int full = 0, atAxis = 0;
    for (double b : base.boltX) {
        if (b < s.axis - tolerance)
            ++full;
        else if (b <= s.axis + tolerance)
            ++atAxis;
    }
    const double share = atAxis ? (s.T - full * base.boltForce) / atAxis : 0;
    for (std::size_t i = 0; i < forces.size(); ++i) {
        const double b = base.boltX[i];
        if (b < s.axis - tolerance)
            forces[i] = base.boltForce;
        else if (b <= s.axis + tolerance)
            forces[i] = share;
    }
    return forces;
}

PlasticState plasticCapacity(const PlasticBase& base, double P) {
    // The bolts by place, those at one place together.
    std::vector<double> x = base.boltX;
    std::sort(x.begin(), x.end());
    double reach = base.d / 2;
    for (double b : x)
        reach = std::max(reach, std::fabs(b));
    const double tolerance = placeTolerance(base);
    struct Group {
        double x;
        int count;
    };
    std::vector<Group> groups;
    for (double b : x) {
        if (!groups.empty() && b - groups.back().x <= tolerance)
            ++groups.back().count;
        else
            groups.push_back({b, 1});
    }
    auto C = [&](double axis) { return base.fck * bearingSegment(base.d, base.hole, axis).area; };

    // Moving the axis towards the compressed edge lowers C and adds bolts: C − ΣT − P falls
    // through every interval between bolts and steps down at each bolt. Its zero is inside an
    // interval, or at a bolt that carries what balances.
    PlasticState s;
    double tension = 0; // bolts left of the interval, at their ultimate force
    int inTension = 0;
    double tensionMoment = 0; // Σ T·x of those bolts
    double left = -reach - 1;
    const double end = reach + 1;
    for (std::size_t k = 0; k <= groups.size(); ++k) {
        const double right = k < groups.size() ? groups[k].x : end;
        const double gl = C(left) - tension - P;
        const double gr = C(right) - tension - P;
        double axis = 0, share = 0;
        int shareCount = 0;
        bool found = false;
        if (gl >= 0 && gr <= 0) {
            found = true;
            if (gl == 0) {
                axis = left;
            } else if (gr == 0) {
                axis = right;
            } else {
                std::uintmax_t iterations = 200;
                const auto [a, b] = boost::math::tools::toms748_solve(
                    [&](double v) { return C(v) - tension - P; }, left, right, gl, gr,
                    boost::math::tools::eps_tolerance<double>(50), iterations);
                axis = (a + b) / 2;
            }
        } else if (k < groups.size() && gr > 0 && gr <= groups[k].count * base.boltForce) {
            // The bolts at the axis carry what balances.
            found = true;
            axis = right;
            share = gr;
            shareCount = groups[k].count;
        }
        if (found) {
            s.balanced = true;
            s.axis = axis;
            s.depth = base.d / 2 - axis;
            s.C = C(axis);
            s.T = tension + share;
            s.boltsInTension = inTension + (share > 0 ? shareCount : 0);
            s.Mu = base.fck * bearingSegment(base.d, base.hole, axis).moment - tensionMoment -
                   share * axis;
            return s;
        }
        if (k == groups.size()) break;
        tension += groups[k].count * base.boltForce;
        tensionMoment += groups[k].count * base.boltForce * groups[k].x;
        inTension += groups[k].count;
        left = right;
    }
    return s;
}

} // namespace tarvel
