// The checks of the base's own steel: base plate, cap plates, stiffeners, their welds, the
// tube, the bolts' anchorage and the detailing rules. N and mm throughout.

#include "checks/bearingarea.h"
#include "checks/checkfunctions.h"
#include "checks/design.h"
#include "core/number.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace tarvel::checks {

namespace {

using std::numbers::pi;
constexpr double kN = 1000; // N
constexpr double kNm = 1e6; // N·mm
// A fillet's throat is 0.7 of its leg; two fillets of a stiffener: 2 × 0.7.
constexpr double throat = 0.7;
constexpr double twoThroats = 1.4;
// The reduced-stress check of a stiffener may exceed f by 10 %.
constexpr double reducedStressAllowance = 1.1;
// Poisson's ratio of steel, for the plate inside the tube.
constexpr double poisson = 0.3;

const Detailing& detailingOf(const CheckContext& c) {
    return *c.detailing;
}

double f(const PlateSteel& steel, double t) {
    return strengthAt(steel, t).f;
}

std::array<StiffenerSide, 2> sidesOf(const CheckContext& c) {
    return stiffenerSides(c.d, c.D, c.n, detailingOf(c).Dt, c.T, c.sigma);
}

} // namespace

double boltTensionCapacity(double ae, double tensileDesign) {
    return ae * tensileDesign / 1000;
}

double bearingCapacity(double betaL, double compressiveDesign) {
    return betaL * compressiveDesign;
}

double frictionCapacity(double friction, double C) {
    return friction * C;
}

PlateBending plateBending(double d, int n, double Dt, double ts, double sigma) {
    PlateBending p;
    p.b1 = d / 2 - Dt / 2;
    p.a1 = d * std::sin(pi / n) - ts;
    p.cantilever = n < 3 || p.b1 / p.a1 < cantileverRatio;
    if (p.cantilever) {
        p.M = sigma * p.b1 * p.b1 / 2;
    } else {
        p.beta = plateMomentFactor(p.b1 / p.a1);
        p.M = p.beta * sigma * p.a1 * p.a1;
    }
    return p;
}

double plateStress(double M, double t) {
    return 6 * M / (t * t);
}

double capSpan(double D, int n, double ts) {
    return D * std::sin(pi / n) - ts;
}

double capMoment(double T, double l) {
    return T * kN * l / 4;
}

double boltHole(double boltDiameter) {
    return boltDiameter + boltHoleClearance;
}

double capStress(double M, double bc, double d0, double tc) {
    return 6 * M / ((bc - d0) * tc * tc);
}

std::array<StiffenerSide, 2> stiffenerSides(double d, double D, int n, double Dt, double T,
                                            double sigma) {
    const double R = d / 2, rt = Dt / 2, rb = D / 2;
    const double tension = T * kN;
    const double Ac = pi / n * (R * R - rt * rt);
    const double ec = 2.0 / 3.0 * (R * R * R - rt * rt * rt) / (R * R - rt * rt) - rt;
    const double compression = sigma * Ac;
    return {{{"受拉侧", tension, tension * (rb - rt)}, {"受压侧", compression, compression * ec}}};
}

StiffenerStress stiffenerStress(const StiffenerSide& side, double ts, double hs) {
    const double sigma = 6 * side.M / (ts * hs * hs);
    const double tau = 1.5 * side.V / (ts * hs);
    return {sigma, tau, std::sqrt(sigma * sigma + 3 * tau * tau)};
}

std::array<std::pair<double, double>, 3> stiffenerTerms(const StiffenerStress& s,
                                                        const PlateSteel::Band& band) {
    return {{{s.sigma, band.f}, {s.tau, band.fv}, {s.reduced, reducedStressAllowance * band.f}}};
}

double filletDemand(double sigmaF, double tauF) {
    return std::hypot(sigmaF / filletBetaF, tauF);
}

StiffenerWeldStress stiffenerWeldStress(const StiffenerSide& side, double hfs, double hs) {
    StiffenerWeldStress w;
    w.lw = hs - 2 * hfs;
    w.tauF = side.V / (twoThroats * hfs * w.lw);
    w.sigmaF = 6 * side.M / (twoThroats * hfs * w.lw * w.lw);
    w.demand = filletDemand(w.sigmaF, w.tauF);
    return w;
}

ColumnWeldStress columnWeldStress(double hf, double Dt, double P, double M, double V) {
    ColumnWeldStress w;
    w.Aw = throat * hf * pi * Dt;
    w.Ww = throat * hf * pi * Dt * Dt / 4;
    w.sigmaF = std::fabs(P) * kN / w.Aw + M * kNm / w.Ww;
    // A thin ring's shear peaks at twice its average, at the neutral axis.
    w.tauF = 2 * std::fabs(V) * kN / w.Aw;
    w.demand = filletDemand(w.sigmaF, w.tauF);
    return w;
}

TubeStress tubeStress(double Dt, double tw, double P, double M) {
    const double inner = Dt - 2 * tw;
    TubeStress t;
    t.A = pi / 4 * (Dt * Dt - inner * inner);
    t.W = pi / 32 * (std::pow(Dt, 4) - std::pow(inner, 4)) / Dt;
    t.stress = std::fabs(P) * kN / t.A + M * kNm / t.W;
    return t;
}

double tubePeakShear(double V, double A) {
    return 2 * std::fabs(V) * kN / A;
}

double requiredAnchorage(double factor, double boltDiameter) {
    return factor * boltDiameter;
}

double minimumColumnWeld(double tp, double tw) {
    return minimumFilletLeg(std::max(tp, tw));
}

double minimumStiffenerWeld(double ts, double tw) {
    return minimumFilletLeg(std::max(ts, tw));
}

double plateMomentFactor(double ratio) {
    // Moment of a plate on three sides with a free edge, M = β·σ·a1², by b1/a1. Past 1.3 the
    // plate's series solution (ν = 0.3) keeps rising to 0.133: a flat 0.125 would be unsafe.
    static const std::pair<double, double> table[] = {
        {0.3, 0.027}, {0.4, 0.044},  {0.5, 0.060}, {0.6, 0.075}, {0.7, 0.087}, {0.8, 0.097},
        {0.9, 0.105}, {1.0, 0.112},  {1.1, 0.117}, {1.2, 0.121}, {1.3, 0.124}, {1.4, 0.126},
        {1.5, 0.128}, {1.75, 0.131}, {2.0, 0.132}, {2.5, 0.133}};
    if (ratio >= table[std::size(table) - 1].first) return table[std::size(table) - 1].second;
    for (std::size_t i = 1; i < std::size(table); ++i) {
        const auto [x0, y0] = table[i - 1];
        const auto [x1, y1] = table[i];
        if (ratio <= x1) return y0 + (y1 - y0) * (ratio - x0) / (x1 - x0);
    }
    return table[0].second;
}

Check plate(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const PlateBending p = plateBending(c.d, c.n, t.Dt, t.ts, c.sigma);
    const double capacity = f(t.plateSteel, t.tp);
    const double b1 = p.b1, a1 = p.a1, M = p.M;
    std::string how;
    if (p.cantilever) {
        how = "悬臂板：{M} = σ·{b|1}²/2 = " + two(c.sigma) + " × " + two(b1) + "²/2 = " + two(M) +
              " N·mm/mm";
    } else {
        how = "三边支承板：{b|1} = d/2 − {D|t}/2 = " + two(b1) +
              " mm，{a|1} = d·sin(π/n) − {t|s} = " + two(a1) +
              " mm，{b|1}/{a|1} = " + fixed(b1 / a1, 3) + "，β = " + fixed(p.beta, 4) +
              "；{M} = β·σ·{a|1}² = " + two(M) + " N·mm/mm";
    }
    const double stress = plateStress(M, t.tp);
    Check k = makeCheck(CheckId::Plate, stress, two(stress), capacity);
    k.formula =
        how + "；6{M}/{t|p}² = " + k.demandText + k.relation() + "f = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "底板厚度不足，宜加厚底板或增加加劲肋";
    return k;
}

double tubeWallPressure(double sigma, double x, double d, double Dt) {
    if (!(x > 0)) return 0;
    if (x >= d) return sigma;
    return sigma * std::max(0.0, (x - (d / 2 - Dt / 2)) / x);
}

double compressionLength(const BaseResult& result) {
    try {
        return textToNumber(result.xt);
    } catch (const TarvelError&) {
        return 0;
    }
}

double insidePlateMoment(double q, double ri, double hole) {
    if (hole > 0) {
        const double arm = ri - hole / 2;
        return q * arm * arm / 2;
    }
    return (3 + poisson) / 16 * q * ri * ri;
}

Check plateInside(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double capacity = f(t.plateSteel, t.tp);
    if (t.input.infill) {
        Check k = makeCheck(CheckId::PlateInside, 0, two(0), capacity);
        k.formula = "管内填充混凝土，管内底板由填充混凝土支承：" + k.demandText + k.relation() +
                    "f = " + k.capacityText + " N/mm²";
        k.remark = "管内填充混凝土";
        return k;
    }
    const double ri = t.Dt / 2 - t.tw;
    const double q = tubeWallPressure(c.sigma, c.x, c.d, t.Dt);
    const double hole = c.data.input.plateHole;
    const double M = insidePlateMoment(q, ri, hole);
    const double stress = plateStress(M, t.tp);
    Check k = makeCheck(CheckId::PlateInside, stress, two(stress), capacity);
    const std::string plate =
        hole > 0 ? "环板自管壁悬挑：{M} = q·({r|i} − {d|h}/2)²/2 = " + two(M) +
                       " N·mm/mm（{d|h} = " + plain(hole) + " mm）"
                 : "周边简支圆板：{M} = (3 + ν)·q·{r|i}²/16 = " + two(M) + " N·mm/mm（ν = 0.3）";
    k.formula = "{r|i} = {D|t}/2 − {t|w} = " + two(ri) +
                " mm；管壁处压应力 q = σ·max(0, (x − (R − {r|t}))/x) = " + two(q) +
                " N/mm²（x = " + two(c.x) + " mm）；" + plate + "；6{M}/{t|p}² = " + k.demandText +
                k.relation() + "f = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "管内底板抗弯不足，宜加厚底板、开中心孔或管内填充混凝土";
    return k;
}

Check cap(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double l = capSpan(c.D, c.n, t.ts);
    const double M = capMoment(c.T, l);
    const double d0 = boltHole(c.data.bolt.diameter);
    const double stress = capStress(M, t.bc, d0, t.tc);
    Check k = makeCheck(CheckId::Cap, stress, two(stress), f(t.plateSteel, t.tc));
    k.formula = "l = D·sin(π/n) − {t|s} = " + two(l) + " mm，{M} = T·l/4 = " + two(M / kNm) +
                " kN·m；6{M}/(({b|c} − {d|0})·{t|c}²) = " + k.demandText + k.relation() +
                "f = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "锚栓顶板抗弯不足，宜加厚或加宽顶板";
    return k;
}

Check stiffener(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const PlateSteel::Band s = strengthAt(t.plateSteel, t.ts);
    Check best;
    bool first = true;
    for (const StiffenerSide& side : sidesOf(c)) {
        const auto [sigma, tau, reduced] = stiffenerStress(side, t.ts, t.hs);
        for (const auto& [demand, capacity] : stiffenerTerms({sigma, tau, reduced}, s)) {
            Check k = makeCheck(CheckId::Stiffener, demand, two(demand), capacity);
            if (!first && !(k.ratio > best.ratio)) continue;
            first = false;
            k.formula = std::string(side.name) + "：V = " + two(side.V / kN) +
                        " kN，M = " + two(side.M / kNm) +
                        " kN·m；{σ|s} = 6M/({t|s}·{h|s}²) = " + two(sigma) +
                        "，τ = 1.5V/({t|s}·{h|s}) = " + two(tau) +
                        "，√({σ|s}² + 3τ²) = " + two(reduced) + "；取 " + k.demandText +
                        k.relation() + k.capacityText + " N/mm²（f = " + plain(s.f) +
                        "，{f|v} = " + plain(s.fv) + "）";
            best = std::move(k);
        }
    }
    if (!best.ok) best.remark = "加劲肋强度不足，宜加厚或加高加劲肋";
    return best;
}

double stiffenerWeldLength(const Detailing& t) {
    return t.hs - 2 * t.hfs;
}

double stiffenerPlateWeldLength(const Detailing& t, double outerDiameter) {
    return (outerDiameter - t.Dt) / 2 - 2 * t.hfs;
}

double capWeldLength(const Detailing& t) {
    return t.bc - 2 * t.hfs;
}

double capWeldForce(double T) {
    return T * kN / 2;
}

double twoFilletShear(double V, double h, double lw) {
    return V / (twoThroats * h * lw);
}

Check stiffenerWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    Check best;
    bool first = true;
    for (const StiffenerSide& side : sidesOf(c)) {
        const auto [lw, tauF, sigmaF, demand] = stiffenerWeldStress(side, t.hfs, t.hs);
        Check k =
            makeCheck(CheckId::StiffenerWeld, demand, two(demand), t.electrode.filletStrength);
        if (!first && !(k.ratio > best.ratio)) continue;
        first = false;
        k.formula = std::string(side.name) + "：{l|w} = {h|s} − 2{h|fs} = " + two(lw) +
                    " mm，{τ|f} = V/(1.4{h|fs}{l|w}) = " + two(tauF) +
                    "，{σ|f} = 6M/(1.4{h|fs}{l|w}²) = " + two(sigmaF) +
                    "；√(({σ|f}/{β|f})² + {τ|f}²) = " + k.demandText + k.relation() +
                    "{f|f|w} = " + k.capacityText + " N/mm²";
        best = std::move(k);
    }
    if (!best.ok) best.remark = "加劲肋焊缝不足，宜加大焊脚或加高加劲肋";
    return best;
}

Check stiffenerPlateWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double Dout = plateOuterDiameter(c.d, c.D, c.data.bolt.diameter);
    const double lw = stiffenerPlateWeldLength(t, Dout);
    const double V = sidesOf(c)[1].V; // the bearing on the stiffener's share
    const double tauF = lw > 0 ? twoFilletShear(V, t.hfs, lw) : 0;
    Check k = makeCheck(CheckId::StiffenerPlateWeld, tauF, two(tauF), t.electrode.filletStrength);
    if (V > 0 && !(lw > 0)) k = makeCheck(CheckId::StiffenerPlateWeld, 1, "∞", 0);
    k.formula = "{D|out} = max(d, D + 3{d|b}) = " + two(Dout) +
                " mm，{l|w} = ({D|out} − {D|t})/2 − 2{h|fs} = " + two(lw) +
                " mm；V = σ·{A|c} = " + two(V / kN) +
                " kN；{τ|f} = V/(1.4{h|fs}{l|w}) = " + k.demandText + k.relation() +
                "{f|f|w} = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "加劲肋与底板焊缝不足，宜加大焊脚";
    return k;
}

Check capWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double lw = capWeldLength(t);
    const double V = capWeldForce(c.T); // each end of the cap plate takes half the bolt's force
    const double tauF = lw > 0 ? twoFilletShear(V, t.hfs, lw) : 0;
    Check k = makeCheck(CheckId::CapWeld, tauF, two(tauF), t.electrode.filletStrength);
    if (V > 0 && !(lw > 0)) k = makeCheck(CheckId::CapWeld, 1, "∞", 0);
    k.formula = "{l|w} = {b|c} − 2{h|fs} = " + two(lw) + " mm，T/2 = " + two(V / kN) +
                " kN；{τ|f} = (T/2)/(1.4{h|fs}{l|w}) = " + k.demandText + k.relation() +
                "{f|f|w} = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "锚栓顶板焊缝不足，宜加大焊脚或加宽顶板";
    return k;
}

// A full-penetration butt weld of the tube's strength: the tube's σ and peak τ against f and
// f_v of the tube steel at t_w (GB 50017-2017, clause 4.4.5 for first- and second-grade welds).
Check buttColumnWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const auto [A, W, sigma] = tubeStress(t.Dt, t.tw, c.P, c.M);
    const PlateSteel::Band s = strengthAt(t.tubeSteel, t.tw);
    const double tau = tubePeakShear(c.V, A);
    Check k = makeCheck(CheckId::ColumnWeld, sigma, two(sigma), s.f);
    Check shear = makeCheck(CheckId::ColumnWeld, tau, two(tau), s.fv);
    if (shear.ratio > k.ratio) k = std::move(shear);
    k.formula = "全熔透对接焊缝，与钢管等强：σ = |P|/A + M/W = " + two(sigma) +
                " N/mm²（f = " + plain(s.f) + "），τ = 2|V|/A = " + two(tau) +
                " N/mm²（{f|v} = " + plain(s.fv) + "）；取 " + k.demandText + k.relation() +
                k.capacityText + " N/mm²";
    k.remark = k.ok ? "全熔透对接焊缝（一、二级），按钢管截面验算"
                    : "全熔透对接焊缝按钢管截面验算不足，宜加大钢管";
    return k;
}

Check columnWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    if (t.input.fullPenetration) return buttColumnWeld(c);
    const auto [Aw, Ww, sigmaF, tauF, demand] = columnWeldStress(t.hf, t.Dt, c.P, c.M, c.V);
    Check k = makeCheck(CheckId::ColumnWeld, demand, two(demand), t.electrode.filletStrength);
    k.formula =
        "{A|w} = 0.7{h|f}·π{D|t} = " + two(Aw) + " mm²，{W|w} = 0.7{h|f}·π{D|t}²/4 = " + two(Ww) +
        " mm³；{σ|f} = |P|/{A|w} + M/{W|w} = " + two(sigmaF) +
        "，{τ|f} = 2|V|/{A|w} = " + two(tauF) + "；√(({σ|f}/{β|f})² + {τ|f}²) = " + k.demandText +
        k.relation() + "{f|f|w} = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "柱底焊缝不足，宜加大焊脚尺寸";
    return k;
}

Check tube(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const auto [A, W, stress] = tubeStress(t.Dt, t.tw, c.P, c.M);
    Check k = makeCheck(CheckId::Tube, stress, two(stress), f(t.tubeSteel, t.tw));
    k.formula = "A = " + two(A) + " mm²，W = " + two(W) +
                " mm³；σ = |P|/A + M/W = " + k.demandText + k.relation() + "f = " + k.capacityText +
                " N/mm²";
    if (!k.ok) k.remark = "钢管截面强度不足";
    return k;
}

Check anchorage(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double k0 = anchorageFactor(c.data.steel.name, c.data.concrete.name);
    const double required = requiredAnchorage(k0, c.data.bolt.diameter);
    Check k = makeCheck(CheckId::Anchorage, required, two(required), t.la);
    k.formula = "l = k·{d|b} = " + plain(k0) + " × " + plain(c.data.bolt.diameter) + " = " +
                k.demandText + " mm" + k.relation() + "{l|a} = " + k.capacityText + " mm";
    if (!k.ok) k.remark = "锚固长度不足，需 " + plain(required) + " mm";
    return k;
}

double minimumTubeWall(double Dt, double fy) {
    constexpr double slendernessLimit = 100; // D_t/t_w ≤ 100·ε_k²
    constexpr double referenceYield = 235;   // ε_k² = 235/f_y
    return Dt / (slendernessLimit * referenceYield / fy);
}

double minimumFilletLength(double h) {
    constexpr double legs = 8, shortest = 40; // GB 50017-2017, clause 11.3.5
    return std::max(legs * h, shortest);
}

double maximumFilletLeg(double t) {
    constexpr double factor = 1.2;
    return factor * t;
}

std::vector<DetailingRule> detailingRules(const Detailing& t, double d, double D, int n,
                                          double boltDiameter, std::optional<double> pedestal) {
    const double db = boltDiameter;
    const double lmin = minimumFilletLength(t.hfs);
    const double Dout = plateOuterDiameter(d, D, db);
    // Nut, washer and spanner between the stiffeners and beside the tube.
    constexpr double spacingBolts = 4, spanBolts = 3, tubeBolts = 2;
    // The fillet rules of the column weld do not apply to a butt weld.
    const bool fillet = !t.input.fullPenetration;
    std::vector<DetailingRule> rules{{"底板厚度 {t|p} ≥ 20 mm", minBasePlate, t.tp}};
    if (fillet) rules.push_back({"柱底焊脚 {h|f} ≥ {h|min}", minimumColumnWeld(t.tp, t.tw), t.hf});
    rules.insert(
        rules.end(),
        {{"加劲肋焊脚 {h|fs} ≥ {h|min}", minimumStiffenerWeld(t.ts, t.tw), t.hfs},
         {"钢管径厚比 {t|w} ≥ {D|t}·{f|y}/23500",
          minimumTubeWall(t.Dt, strengthAt(t.tubeSteel, t.tw).fy), t.tw},
         {"锚栓间距 π·D/n ≥ 4{d|b}", spacingBolts * db, pi * D / n},
         {"加劲肋净距 D·sin(π/n) − {t|s} ≥ 3{d|b}", spanBolts * db, capSpan(D, n, t.ts)},
         {"锚栓至管壁 (D − {D|t})/2 ≥ 2{d|b}", tubeBolts * db, (D - t.Dt) / 2},
         {"加劲肋焊缝长度 {h|s} − 2{h|fs} ≥ max(8{h|fs}, 40)", lmin, stiffenerWeldLength(t)},
         {"加劲肋与底板焊缝长度 ({D|out} − {D|t})/2 − 2{h|fs} ≥ max(8{h|fs}, 40)", lmin,
          stiffenerPlateWeldLength(t, Dout)},
         {"顶板焊缝长度 {b|c} − 2{h|fs} ≥ max(8{h|fs}, 40)", lmin, capWeldLength(t)}});
    if (fillet)
        rules.push_back({"柱底焊脚 {h|f} ≤ 1.2·min({t|w}, {t|p})", t.hf,
                         maximumFilletLeg(std::min(t.tw, t.tp))});
    rules.insert(rules.end(), {{"加劲肋焊脚 {h|fs} ≤ 1.2·min({t|s}, {t|p})", t.hfs,
                                maximumFilletLeg(std::min(t.ts, t.tp))},
                               {"顶板焊脚 {h|fs} ≤ 1.2·min({t|s}, {t|c})", t.hfs,
                                maximumFilletLeg(std::min(t.ts, t.tc))}});
    if (pedestal)
        rules.push_back({"锚栓至柱墩边 (B − D)/2 ≥ max(4{d|b}, 150 mm)", pedestalEdgeRequired(db),
                         (*pedestal - D) / 2});
    return rules;
}

Check detailing(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    using Rule = DetailingRule;
    const std::vector<Rule> rules =
        detailingRules(t, c.d, c.D, c.n, c.data.bolt.diameter, c.data.input.pedestal);
    Check best;
    const Rule* governing = nullptr;
    std::string all;
    for (const Rule& r : rules) {
        Check k = makeCheck(CheckId::Detailing, r.required, two(r.required), r.provided);
        all += std::string(all.empty() ? "" : "；") + r.what + "：" + two(r.required) +
               k.relation() + two(r.provided) + " mm";
        if (governing && !(k.ratio > best.ratio)) continue;
        governing = &r;
        best = std::move(k);
    }
    best.formula = all;
    std::string rule;
    for (const char ch : std::string(governing->what))
        if (ch != '{' && ch != '}' && ch != '|') rule += ch; // {t|p} reads tp in a remark
    best.remark = "控制：" + rule + (best.ok ? "" : "，不满足构造要求");
    return best;
}

} // namespace tarvel::checks
