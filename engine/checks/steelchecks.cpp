// The checks of the base's own steel: base plate, cap plates, stiffeners, their welds, the
// tube, the bolts' anchorage and the detailing rules. N and mm throughout.

#include "checks/checkfunctions.h"
#include "checks/design.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace tarvel::checks {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double kN = 1000;     // N
constexpr double kNm = 1e6;     // N·mm
// A fillet's throat is 0.7 of its leg; two fillets of a stiffener: 2 × 0.7.
constexpr double throat = 0.7;
constexpr double twoThroats = 1.4;
// The reduced-stress check of a stiffener may exceed f by 10 %.
constexpr double reducedStressAllowance = 1.1;
// The thinnest base plate the detailing rules accept.
constexpr double minPlate = 20;
// Poisson's ratio of steel, for the plate inside the tube.
constexpr double poisson = 0.3;

const Detailing& detailingOf(const CheckContext& c) {
    return *c.detailing;
}

double f(const PlateSteel& steel, double t) {
    return strengthAt(steel, t).f;
}

// The weld demand √((σ_f/β_f)² + τ_f²).
double filletDemand(double sigmaF, double tauF) {
    return std::hypot(sigmaF / filletBetaF, tauF);
}

// A side of the stiffener: the shear and moment at the tube face.
struct StiffenerSide {
    const char* name;
    double V, M; // N, N·mm
};
std::array<StiffenerSide, 2> stiffenerSides(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double R = c.d / 2, rt = t.Dt / 2, rb = c.D / 2;
    const double tension = c.T * kN;
    const double Ac = pi / c.n * (R * R - rt * rt);
    const double ec = 2.0 / 3.0 * (R * R * R - rt * rt * rt) / (R * R - rt * rt) - rt;
    const double compression = c.sigma * Ac;
    return {{{"受拉侧", tension, tension * (rb - rt)}, {"受压侧", compression, compression * ec}}};
}

} // namespace

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
    const double b1 = c.d / 2 - t.Dt / 2;
    const double a1 = c.d * std::sin(pi / c.n) - t.ts;
    const double capacity = f(t.plateSteel, t.tp);
    double M = 0;
    std::string how;
    if (c.n < 3 || b1 / a1 < cantileverRatio) {
        M = c.sigma * b1 * b1 / 2;
        how = "悬臂板：{M} = σ·{b|1}²/2 = " + two(c.sigma) + " × " + two(b1) + "²/2 = " + two(M) +
              " N·mm/mm";
    } else {
        const double beta = plateMomentFactor(b1 / a1);
        M = beta * c.sigma * a1 * a1;
        how = "三边支承板：{b|1} = d/2 − {D|t}/2 = " + two(b1) + " mm，{a|1} = d·sin(π/n) − {t|s} = " +
              two(a1) + " mm，{b|1}/{a|1} = " + fixed(b1 / a1, 3) + "，β = " + fixed(beta, 4) +
              "；{M} = β·σ·{a|1}² = " + two(M) + " N·mm/mm";
    }
    const double stress = 6 * M / (t.tp * t.tp);
    Check k = makeCheck(CheckId::Plate, stress, two(stress), capacity);
    k.formula = how + "；6{M}/{t|p}² = " + k.demandText + " ≤ f = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "底板厚度不足，宜加厚底板或增加加劲肋";
    return k;
}

double tubeWallPressure(double sigma, double x, double d, double Dt) {
    if (!(x > 0)) return 0;
    if (x >= d) return sigma;
    return sigma * std::max(0.0, (x - (d / 2 - Dt / 2)) / x);
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
        k.formula = "管内填充混凝土，管内底板由填充混凝土支承";
        k.remark = "管内填充混凝土";
        return k;
    }
    const double ri = t.Dt / 2 - t.tw;
    const double q = tubeWallPressure(c.sigma, c.x, c.d, t.Dt);
    const double M = insidePlateMoment(q, ri, 0);
    const double stress = 6 * M / (t.tp * t.tp);
    Check k = makeCheck(CheckId::PlateInside, stress, two(stress), capacity);
    k.formula = "{r|i} = {D|t}/2 − {t|w} = " + two(ri) +
                " mm；管壁处压应力 q = σ·max(0, (x − (R − {r|t}))/x) = " + two(q) +
                " N/mm²（x = " + two(c.x) +
                " mm）；周边简支圆板：{M} = (3 + ν)·q·{r|i}²/16 = " + two(M) +
                " N·mm/mm（ν = 0.3）；6{M}/{t|p}² = " + k.demandText + " ≤ f = " + k.capacityText +
                " N/mm²";
    if (!k.ok) k.remark = "管内底板抗弯不足，宜加厚底板、开中心孔或管内填充混凝土";
    return k;
}

Check cap(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double l = c.D * std::sin(pi / c.n) - t.ts;
    const double M = c.T * kN * l / 4;
    const double d0 = c.data.bolt.diameter + boltHoleClearance;
    const double stress = 6 * M / ((t.bc - d0) * t.tc * t.tc);
    Check k = makeCheck(CheckId::Cap, stress, two(stress), f(t.plateSteel, t.tc));
    k.formula = "l = D·sin(π/n) − {t|s} = " + two(l) + " mm，{M} = T·l/4 = " + two(M / kNm) +
                " kN·m；6{M}/(({b|c} − {d|0})·{t|c}²) = " + k.demandText + " ≤ f = " +
                k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "锚栓顶板抗弯不足，宜加厚或加宽顶板";
    return k;
}

Check stiffener(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const PlateSteel::Band s = strengthAt(t.plateSteel, t.ts);
    Check best;
    bool first = true;
    for (const StiffenerSide& side : stiffenerSides(c)) {
        const double sigma = 6 * side.M / (t.ts * t.hs * t.hs);
        const double tau = 1.5 * side.V / (t.ts * t.hs);
        const double reduced = std::sqrt(sigma * sigma + 3 * tau * tau);
        const std::array<std::pair<double, double>, 3> terms{
            {{sigma, s.f}, {tau, s.fv}, {reduced, reducedStressAllowance * s.f}}};
        for (const auto& [demand, capacity] : terms) {
            Check k = makeCheck(CheckId::Stiffener, demand, two(demand), capacity);
            if (!first && !(k.ratio > best.ratio)) continue;
            first = false;
            k.formula = std::string(side.name) + "：V = " + two(side.V / kN) + " kN，M = " +
                        two(side.M / kNm) + " kN·m；{σ|s} = 6M/({t|s}·{h|s}²) = " + two(sigma) +
                        "，τ = 1.5V/({t|s}·{h|s}) = " + two(tau) + "，√({σ|s}² + 3τ²) = " +
                        two(reduced) + "；取 " + k.demandText + " ≤ " + k.capacityText +
                        " N/mm²（f = " + plain(s.f) + "，{f|v} = " + plain(s.fv) + "）";
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

double twoFilletShear(double V, double h, double lw) {
    return V / (twoThroats * h * lw);
}

Check stiffenerWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double lw = stiffenerWeldLength(t);
    Check best;
    bool first = true;
    for (const StiffenerSide& side : stiffenerSides(c)) {
        const double tauF = side.V / (twoThroats * t.hfs * lw);
        const double sigmaF = 6 * side.M / (twoThroats * t.hfs * lw * lw);
        const double demand = filletDemand(sigmaF, tauF);
        Check k = makeCheck(CheckId::StiffenerWeld, demand, two(demand), t.electrode.filletStrength);
        if (!first && !(k.ratio > best.ratio)) continue;
        first = false;
        k.formula = std::string(side.name) + "：{l|w} = {h|s} − 2{h|fs} = " + two(lw) +
                    " mm，{τ|f} = V/(1.4{h|fs}{l|w}) = " + two(tauF) +
                    "，{σ|f} = 6M/(1.4{h|fs}{l|w}²) = " + two(sigmaF) +
                    "；√(({σ|f}/{β|f})² + {τ|f}²) = " + k.demandText + " ≤ {f|f|w} = " +
                    k.capacityText + " N/mm²";
        best = std::move(k);
    }
    if (!best.ok) best.remark = "加劲肋焊缝不足，宜加大焊脚或加高加劲肋";
    return best;
}

Check stiffenerPlateWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double Dout = plateOuterDiameter(c.d, c.D, c.data.bolt.diameter);
    const double lw = stiffenerPlateWeldLength(t, Dout);
    const double V = stiffenerSides(c)[1].V; // the bearing on the stiffener's share
    const double tauF = lw > 0 ? twoFilletShear(V, t.hfs, lw) : 0;
    Check k = makeCheck(CheckId::StiffenerPlateWeld, tauF, two(tauF), t.electrode.filletStrength);
    if (V > 0 && !(lw > 0)) k = makeCheck(CheckId::StiffenerPlateWeld, 1, "∞", 0);
    k.formula = "{D|out} = max(d, D + 3{d|b}) = " + two(Dout) +
                " mm，{l|w} = ({D|out} − {D|t})/2 − 2{h|fs} = " + two(lw) +
                " mm；V = σ·{A|c} = " + two(V / kN) +
                " kN；{τ|f} = V/(1.4{h|fs}{l|w}) = " + k.demandText +
                " ≤ {f|f|w} = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "加劲肋与底板焊缝不足，宜加大焊脚";
    return k;
}

Check capWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double lw = capWeldLength(t);
    const double V = c.T * kN / 2; // each end of the cap plate takes half the bolt's force
    const double tauF = lw > 0 ? twoFilletShear(V, t.hfs, lw) : 0;
    Check k = makeCheck(CheckId::CapWeld, tauF, two(tauF), t.electrode.filletStrength);
    if (V > 0 && !(lw > 0)) k = makeCheck(CheckId::CapWeld, 1, "∞", 0);
    k.formula = "{l|w} = {b|c} − 2{h|fs} = " + two(lw) + " mm，T/2 = " + two(V / kN) +
                " kN；{τ|f} = (T/2)/(1.4{h|fs}{l|w}) = " + k.demandText +
                " ≤ {f|f|w} = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "锚栓顶板焊缝不足，宜加大焊脚或加宽顶板";
    return k;
}

double columnWeldStress(double P, double M, double V, double hf, double Dt) {
    const double Aw = throat * hf * pi * Dt;
    const double Ww = throat * hf * pi * Dt * Dt / 4;
    // A thin ring's shear peaks at twice its average, at the neutral axis.
    return filletDemand(std::fabs(P) * kN / Aw + M * kNm / Ww, 2 * std::fabs(V) * kN / Aw);
}

// A full-penetration butt weld of the tube's strength: the tube's σ and peak τ against f and
// f_v of the tube steel at t_w (GB 50017-2017, clause 4.4.5 for first- and second-grade welds).
Check buttColumnWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double inner = t.Dt - 2 * t.tw;
    const double A = pi / 4 * (t.Dt * t.Dt - inner * inner);
    const double W = pi / 32 * (std::pow(t.Dt, 4) - std::pow(inner, 4)) / t.Dt;
    const PlateSteel::Band s = strengthAt(t.tubeSteel, t.tw);
    const double sigma = std::fabs(c.P) * kN / A + c.M * kNm / W;
    const double tau = 2 * c.V * kN / A;
    Check k = makeCheck(CheckId::ColumnWeld, sigma, two(sigma), s.f);
    Check shear = makeCheck(CheckId::ColumnWeld, tau, two(tau), s.fv);
    if (shear.ratio > k.ratio) k = std::move(shear);
    k.formula = "全熔透对接焊缝，与钢管等强：σ = |P|/A + M/W = " + two(sigma) + " N/mm²（f = " +
                plain(s.f) + "），τ = 2|V|/A = " + two(tau) + " N/mm²（{f|v} = " + plain(s.fv) +
                "）；取 " + k.demandText + " ≤ " + k.capacityText + " N/mm²";
    k.remark = k.ok ? "全熔透对接焊缝（一、二级），按钢管截面验算"
                    : "全熔透对接焊缝按钢管截面验算不足，宜加大钢管";
    return k;
}

Check columnWeld(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    if (t.input.fullPenetration) return buttColumnWeld(c);
    const double Aw = throat * t.hf * pi * t.Dt;
    const double Ww = throat * t.hf * pi * t.Dt * t.Dt / 4;
    const double sigmaF = std::fabs(c.P) * kN / Aw + c.M * kNm / Ww;
    // A thin ring's shear peaks at twice its average, at the neutral axis.
    const double tauF = 2 * c.V * kN / Aw;
    const double demand = columnWeldStress(c.P, c.M, c.V, t.hf, t.Dt);
    Check k = makeCheck(CheckId::ColumnWeld, demand, two(demand), t.electrode.filletStrength);
    k.formula =
        "{A|w} = 0.7{h|f}·π{D|t} = " + two(Aw) + " mm²，{W|w} = 0.7{h|f}·π{D|t}²/4 = " + two(Ww) +
        " mm³；{σ|f} = |P|/{A|w} + M/{W|w} = " + two(sigmaF) +
        "，{τ|f} = 2|V|/{A|w} = " + two(tauF) + "；√(({σ|f}/{β|f})² + {τ|f}²) = " + k.demandText +
        " ≤ {f|f|w} = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "柱底焊缝不足，宜加大焊脚尺寸";
    return k;
}

Check tube(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double inner = t.Dt - 2 * t.tw;
    const double A = pi / 4 * (t.Dt * t.Dt - inner * inner);
    const double W = pi / 32 * (std::pow(t.Dt, 4) - std::pow(inner, 4)) / t.Dt;
    const double stress = std::fabs(c.P) * kN / A + c.M * kNm / W;
    Check k = makeCheck(CheckId::Tube, stress, two(stress), f(t.tubeSteel, t.tw));
    k.formula = "A = " + two(A) + " mm²，W = " + two(W) + " mm³；σ = |P|/A + M/W = " +
                k.demandText + " ≤ f = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "钢管截面强度不足";
    return k;
}

Check anchorage(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    const double k0 = anchorageFactor(c.data.steel.name, c.data.concrete.name);
    const double required = k0 * c.data.bolt.diameter;
    Check k = makeCheck(CheckId::Anchorage, required, two(required), t.la);
    k.formula = "l = k·{d|b} = " + plain(k0) + " × " + plain(c.data.bolt.diameter) + " = " +
                k.demandText + " mm ≤ {l|a} = " + k.capacityText + " mm";
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

Check detailing(const CheckContext& c) {
    const Detailing& t = detailingOf(c);
    struct Rule {
        const char* what;
        double required, provided;
    };
    const double db = c.data.bolt.diameter;
    const double hf = minimumFilletLeg(std::max(t.tp, t.tw));
    const double hfs = minimumFilletLeg(std::max(t.ts, t.tw));
    const double lmin = minimumFilletLength(t.hfs);
    const double Dout = plateOuterDiameter(c.d, c.D, db);
    // Nut, washer and spanner between the stiffeners and beside the tube.
    constexpr double spacingBolts = 4, spanBolts = 3, tubeBolts = 2;
    const Rule rules[] = {
        {"底板厚度 {t|p} ≥ 20 mm", minPlate, t.tp},
        {"柱底焊脚 {h|f} ≥ {h|min}", hf, t.hf},
        {"加劲肋焊脚 {h|fs} ≥ {h|min}", hfs, t.hfs},
        {"钢管径厚比 {t|w} ≥ {D|t}·{f|y}/23500",
         minimumTubeWall(t.Dt, strengthAt(t.tubeSteel, t.tw).fy), t.tw},
        {"锚栓间距 π·D/n ≥ 4{d|b}", spacingBolts * db, pi * c.D / c.n},
        {"加劲肋净距 D·sin(π/n) − {t|s} ≥ 3{d|b}", spanBolts * db, c.D * std::sin(pi / c.n) - t.ts},
        {"锚栓至管壁 (D − {D|t})/2 ≥ 2{d|b}", tubeBolts * db, (c.D - t.Dt) / 2},
        {"加劲肋焊缝长度 {h|s} − 2{h|fs} ≥ max(8{h|fs}, 40)", lmin, stiffenerWeldLength(t)},
        {"加劲肋与底板焊缝长度 ({D|out} − {D|t})/2 − 2{h|fs} ≥ max(8{h|fs}, 40)", lmin,
         stiffenerPlateWeldLength(t, Dout)},
        {"顶板焊缝长度 {b|c} − 2{h|fs} ≥ max(8{h|fs}, 40)", lmin, capWeldLength(t)},
        {"柱底焊脚 {h|f} ≤ 1.2·min({t|w}, {t|p})", t.hf, maximumFilletLeg(std::min(t.tw, t.tp))},
        {"加劲肋焊脚 {h|fs} ≤ 1.2·min({t|s}, {t|p})", t.hfs,
         maximumFilletLeg(std::min(t.ts, t.tp))},
        {"顶板焊脚 {h|fs} ≤ 1.2·min({t|s}, {t|c})", t.hfs, maximumFilletLeg(std::min(t.ts, t.tc))}};
    Check best;
    const Rule* governing = nullptr;
    std::string all;
    for (const Rule& r : rules) {
        // The fillet rules of the column weld do not apply to a butt weld.
        if (t.input.fullPenetration && (&r == &rules[1] || &r == &rules[10])) continue;
        Check k = makeCheck(CheckId::Detailing, r.required, two(r.required), r.provided);
        all += std::string(all.empty() ? "" : "；") + r.what + "：" + two(r.required) + " ≤ " +
               two(r.provided) + " mm";
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
