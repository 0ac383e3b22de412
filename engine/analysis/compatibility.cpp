#include "analysis/compatibility.h"

#include "core/number.h"

#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace tarvel {

namespace {

using std::numbers::pi;

// Elastic modulus of concrete by grade, GB 50010-2010, N/mm².
struct ConcreteModulus {
    const char* grade;
    double modulus;
};
constexpr ConcreteModulus concreteModuli[] = {{"C20", 2.55e4}, {"C25", 2.80e4}, {"C30", 3.00e4},
                                              {"C35", 3.15e4}, {"C40", 3.25e4}, {"C45", 3.35e4},
                                              {"C50", 3.45e4}, {"C55", 3.55e4}, {"C60", 3.60e4}};

// The bolt layout is symmetric about the plate centre up to the rounding of its angles
// (a few 1e-8 of D); a bolt-group centroid within this share of D counts as the centre.
constexpr double centredShare = 1e-6;
// A state is accepted only when it balances P and M to this share of the larger force or
// moment involved; anything else is no equilibrium, never a wrong answer.
constexpr double balanceShare = 1e-7;
// Steps of the bracketing solver: it halves its bracket at least every few steps, so this
// is far more than the 64 halvings a double can take.
constexpr std::uintmax_t maxSolverSteps = 400;

const char* const noEquilibriumPrefix = "应变协调法无平衡解：";
const char* const noPlaneState = "找不到满足平截面假定的受力状态";

// The functions of y_n that the two equations are k times:
//   P = k·gP(y_n),  M = k·gM(y_n),
// from the bearing on the part of the circle beyond y_n and the bolts short of it.
struct Section {
    double R = 0;    // mm
    double area = 0; // mm², c = n_E·A_e, the steel of one bolt as concrete
    const BoltLayout& layout;
    double r = 0; // mm, the radius of the plate's central hole (0: none)

    struct Parts {
        double gP = 0, gM = 0;               // the whole section
        double concreteP = 0, concreteM = 0; // the bearing alone
    };

    // The bearing beyond y ≥ yn, A, ∫y dA, ∫y² dA: the disc's segment less the hole's.
    void segment(double yn, double& A, double& S, double& I) const {
        discSegment(R, yn, A, S, I);
        if (r > 0) {
            double a, s, i;
            discSegment(r, yn, a, s, i);
            A -= a;
            S -= s;
            I -= i;
        }
    }

    // Circular segment y ≥ yn of a disc of radius R: A, ∫y dA, ∫y² dA.
    static void discSegment(double R, double yn, double& A, double& S, double& I) {
        if (yn <= -R) {
            A = pi * R * R;
            S = 0;
            I = pi * R * R * R * R / 4;
            return;
        }
        if (yn >= R) {
            A = S = I = 0;
            return;
        }
        const double phi = std::acos(yn / R);
        const double s = std::sin(phi), c = yn / R;
        const double R2 = R * R;
        A = R2 * (phi - s * c);
        S = 2.0 / 3.0 * R2 * R * s * s * s;
        I = R2 * R2 / 4 * (phi - s * c + 2 * s * s * s * c);
    }

    Parts at(double yn) const {
        Parts p;
        double A, S, I;
        segment(yn, A, S, I);
        p.concreteP = S - yn * A;
        p.concreteM = I - yn * S;
        double boltP = 0, boltM = 0;
        for (int i = 1; i <= layout.count; ++i) {
            const double a = layout.a[i];
            // Only a bolt short of the neutral axis is stretched; the rest carry nothing.
            if (a < yn) {
                boltP += area * (yn - a);
                boltM += area * (yn - a) * -a;
            }
        }
        p.gP = checked(p.concreteP - boltP);
        p.gM = checked(p.concreteM + boltM);
        return p;
    }
};

// The root of f on [lo, hi]; not a number when f keeps its sign there (a layout so
// degenerate that the bracket's reasoning fails), which the caller refuses.
template <class F> double findRoot(F f, double lo, double hi, double fLo, double fHi) {
    if (fLo == 0) return lo;
    if (fHi == 0) return hi;
    if ((fLo > 0) == (fHi > 0)) return std::numeric_limits<double>::quiet_NaN();
    std::uintmax_t steps = maxSolverSteps;
    try {
        const auto bracket = boost::math::tools::toms748_solve(
            f, lo, hi, fLo, fHi, boost::math::tools::eps_tolerance<double>(), steps);
        return bracket.first + (bracket.second - bracket.first) / 2;
    } catch (const std::exception&) {
        throw TarvelError(ErrorKind::Overflow, InputField::None, "计算溢出：数值超出范围");
    }
}

CompatibilityState refusal(const std::string& why) {
    CompatibilityState s;
    s.regime = CompatibilityState::Regime::NoEquilibrium;
    s.message = noEquilibriumPrefix + why;
    return s;
}

// The state of a finite neutral axis: k from both equations (least squares, so that
// neither is favoured), then the forces.
CompatibilityState stateAt(const Section& sec, const BaseInput& in, double yn) {
    if (!std::isfinite(yn)) return refusal(noPlaneState);
    const Section::Parts p = sec.at(yn);
    const double R = sec.R;
    const double k =
        (in.P * p.gP + (in.M / R) * (p.gM / R)) / (p.gP * p.gP + (p.gM / R) * (p.gM / R));
    CompatibilityState s;
    if (!(k > 0) || !std::isfinite(k)) return refusal(noPlaneState);
    s.regime = yn <= -R  ? CompatibilityState::Regime::FullCompression
               : yn >= R ? CompatibilityState::Regime::BoltsOnly
                         : CompatibilityState::Regime::Partial;
    s.yn = yn;
    s.k = k;
    s.x = std::clamp(R - yn, 0.0, in.d);
    s.sigmaMax = yn < R ? checked(k * (R - yn)) : 0;
    s.C = checked(k * p.concreteP);
    s.Mc = checked(k * p.concreteM);
    s.boltForces.assign(static_cast<std::size_t>(sec.layout.count), 0.0);
    for (int i = 1; i <= sec.layout.count; ++i) {
        const double a = sec.layout.a[i];
        if (a < yn) {
            const double t = checked(sec.area * k * (yn - a));
            s.F += t;
            s.Mb += t * -a;
            s.boltForces[i - 1] = t / 1000;
        }
    }
    return s;
}

// Fills the resultant positions and the largest bolt force, and refuses a state that does
// not balance the loads (which only a degenerate layout can produce).
CompatibilityState settle(CompatibilityState s, const BaseInput& in) {
    if (s.regime == CompatibilityState::Regime::NoEquilibrium) return s;
    s.c = s.C == 0 ? 0 : checked(s.Mc / s.C);
    s.c2 = s.F == 0 ? 0 : checked(s.Mb / s.F);
    for (double t : s.boltForces)
        s.T = std::max(s.T, t);
    const double forceScale = std::max({std::fabs(in.P), s.C, s.F});
    const double momentScale =
        std::max({in.M, std::fabs(s.Mc), std::fabs(s.Mb), forceScale * in.d / 2});
    if (std::fabs(s.C - s.F - in.P) > balanceShare * forceScale ||
        std::fabs(s.Mc + s.Mb - in.M) > balanceShare * momentScale)
        return refusal(noPlaneState);
    return s;
}

} // namespace

double modularRatioOfGrade(std::string_view grade) {
    std::string upper;
    for (char ch : grade)
        upper += (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
    for (const ConcreteModulus& m : concreteModuli)
        if (upper == m.grade) return steelModulus / m.modulus;
    throw TarvelError(ErrorKind::UnknownChoice, InputField::concrete,
                      "「混凝土强度等级」没有“" + std::string(grade) + "”的弹性模量");
}

CompatibilityState solveCompatibility(const BaseInput& in, const BoltLayout& layout, double ae,
                                      double modularRatio, double hole) {
    using Regime = CompatibilityState::Regime;
    if (!(in.d > 0)) throw TarvelError(ErrorKind::OutOfRange, InputField::d, "「d(mm)」应大于 0");
    if (!(hole >= 0) || !(hole < in.d))
        throw TarvelError(ErrorKind::OutOfRange, InputField::plateHole,
                          "「底板中心孔直径 dh(mm)」应不小于 0 且小于 d");
    const Section sec{in.d / 2, checked(modularRatio * ae), layout, hole / 2};
    const double R = sec.R;
    // I/A of the whole bearing, R²/4 for a disc and (R² + r²)/4 for an annulus: the neutral
    // axis of a wholly compressed section is at −P·(I/A)/M.
    const double inertiaPerArea = (R * R + sec.r * sec.r) / 4;
    const double bearing = pi * (R * R - sec.r * sec.r);
    const double P = in.P, M = in.M;
    const int n = layout.count;

    double sumA = 0, sumA2 = 0, aMin = 0, aMax = 0;
    for (int i = 1; i <= n; ++i) {
        const double a = layout.a[i];
        sumA += a;
        sumA2 += a * a;
        aMin = i == 1 ? a : std::min(aMin, a);
        aMax = i == 1 ? a : std::max(aMax, a);
    }

    if (M == 0) {
        if (P == 0) {
            CompatibilityState s;
            s.regime = Regime::Unloaded;
            s.boltForces.assign(static_cast<std::size_t>(n), 0.0);
            return s;
        }
        if (P > 0) {
            // The neutral axis at −∞: the same stress over the whole circle.
            CompatibilityState s;
            s.regime = Regime::UniformCompression;
            s.yn = -std::numeric_limits<double>::infinity();
            s.x = in.d;
            s.sigmaMax = checked(P / bearing);
            s.C = P;
            s.boltForces.assign(static_cast<std::size_t>(n), 0.0);
            return settle(s, in);
        }
        if (n >= 1 && std::fabs(sumA) <= centredShare * n * std::fabs(in.D)) {
            // The neutral axis at +∞: every bolt stretched alike. The group is centred, so
            // its moment is 0 (what the rounded angles leave is below a display's reach).
            CompatibilityState s;
            s.regime = Regime::UniformTension;
            s.yn = std::numeric_limits<double>::infinity();
            s.boltForces.assign(static_cast<std::size_t>(n), -P / n / 1000);
            s.F = -P;
            return settle(s, in);
        }
    }

    if (n == 0) {
        // The concrete alone: compression with the load inside the circle.
        if (P <= 0) return refusal("没有锚栓，底板不能承受拉力或纯弯矩");
        if (M >= P * R) return refusal("没有锚栓，偏心距 M/P 不小于底板半径 d/2");
        const double full = -P * inertiaPerArea / M;
        if (full <= -R) return settle(stateAt(sec, in, full), in);
        const double e = M / P;
        // The position of the bearing resultant, M/P for the root; R in the limit y_n → R.
        auto f = [&](double yn) {
            const Section::Parts p = sec.at(yn);
            return (p.gP > 0 ? checked(p.gM / p.gP) : R) - e;
        };
        return settle(stateAt(sec, in, findRoot(f, -R, R, f(-R), R - e)), in);
    }

    // With bolts: below yA no bolt is stretched and the circle is whole; beyond yB every bolt
    // is stretched and no concrete is pressed. Between them lies y0, where gP = 0 and the
    // state changes from net compression to net tension.
    const double yA = std::min(-R, aMin);
    const double yB = std::max(R, aMax);
    auto gP = [&](double yn) { return sec.at(yn).gP; };
    const double gPB = gP(yB);
    const double y0 = gPB >= 0 ? yB : findRoot(gP, yA, yB, gP(yA), gPB);
    if (P == 0) return settle(stateAt(sec, in, y0), in);

    // The one equation: M·gP(y_n) − P·gM(y_n) = 0, with gP of the sign of P.
    auto phi = [&](double yn) {
        const Section::Parts p = sec.at(yn);
        return checked(M * p.gP - P * p.gM);
    };
    if (P > 0) {
        const double full = -P * inertiaPerArea / M;
        if (full <= yA) return settle(stateAt(sec, in, full), in);
        return settle(stateAt(sec, in, findRoot(phi, yA, y0, phi(yA), phi(y0))), in);
    }
    const double phiB = phi(yB);
    if (phiB <= 0 && y0 < yB)
        return settle(stateAt(sec, in, findRoot(phi, y0, yB, phi(y0), phiB)), in);
    // Beyond yB the equation is linear in y_n.
    const double denominator = P * sumA - M * n;
    const double beyond = (P * sumA2 - M * sumA) / denominator;
    if (denominator != 0 && std::isfinite(beyond) && beyond >= yB)
        return settle(stateAt(sec, in, beyond), in);
    return refusal("锚栓不能承担此拉力与弯矩（偏心超出锚栓群所能平衡的范围）");
}

void makeCompatibilityResults(const CompatibilityState& s, ResultSink& sink, char sep) {
    auto number = [&](ResultBox box) {
        return textToNumber(sink.read(box), InputField::None, sep);
    };
    sink.write(ResultBox::xt, formatWithPattern(s.x, ".", sep));
    sink.write(ResultBox::qmaxt, formatWithPattern(s.sigmaMax, ".00", sep));
    sink.write(ResultBox::tt, formatWithPattern(s.T, ".00", sep));
    sink.write(ResultBox::fmst, formatWithPattern(s.F / 1000, ".00", sep));
    sink.write(ResultBox::mmst, formatWithPattern(s.Mb / 1000000, ".00", sep));
    sink.write(ResultBox::fqt, formatWithPattern(s.C / 1000, ".00", sep));
    sink.write(ResultBox::mqt, formatWithPattern(s.Mc / 1000000, ".00", sep));
    sink.write(ResultBox::ct, formatWithPattern(s.c, ".", sep));
    sink.write(ResultBox::c2t, formatWithPattern(s.c2, ".", sep));
    const double fq = number(ResultBox::fqt);
    const double fms = number(ResultBox::fmst);
    sink.write(ResultBox::h1t, numberToText(checked(fq - fms), sep));
    const double mq = number(ResultBox::mqt);
    const double mms = number(ResultBox::mmst);
    sink.write(ResultBox::h2t, numberToText(checked(mq + mms), sep));
    sink.beforeShearCapacity();
    sink.write(ResultBox::vt, formatWithPattern(checked(0.4 * number(ResultBox::fqt)), ".", sep));
}

CompatibilityState calculateCompatibility(const InputTexts& texts, double ae, double modularRatio,
                                          ResultSink& sink, char sep, double hole) {
    const BaseInput in = makeBaseInput(texts[0], texts[1], texts[2], texts[3], texts[4], sep);
    const BoltLayout layout = layOutBolts(in);
    const CompatibilityState s = solveCompatibility(in, layout, ae, modularRatio, hole);
    if (s.regime != CompatibilityState::Regime::NoEquilibrium)
        makeCompatibilityResults(s, sink, sep);
    return s;
}

} // namespace tarvel
