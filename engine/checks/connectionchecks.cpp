// The checks of the connection beyond its steel parts: the seismic capacity of the base
// against the column it holds, and the shear key that takes the shear. N and mm throughout.

#include "checks/bearingarea.h"
#include "checks/checkfunctions.h"
#include "checks/design.h"
#include "checks/plasticbase.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace tarvel::checks {

namespace {

constexpr double kN = 1000; // N
constexpr double kNm = 1e6; // N·mm
constexpr double throat = 0.7;
constexpr double twoThroats = 1.4;
// The reduced stress of the key may exceed f by 10 %, as a stiffener's.
constexpr double reducedStressAllowance = 1.1;

// The key's moment at the plate: V at the middle of its embedded depth below the grout.
double keyMoment(const Detailing& t, double V) {
    return V * kN * (t.grout + (t.hk - t.grout) / 2);
}

} // namespace

Check seismic(const CheckContext& c) {
    const Detailing& t = *c.detailing;
    const DesignData& m = c.data;
    const double fy = tubeYieldStrength(t.tubeSteel.name, t.tw);
    const ColumnPlastic column = columnPlasticMoment(t.Dt, t.tw, fy, c.P * kN);
    const double etaJ = m.input.seismic->etaJ;
    const double demand = etaJ * column.Mpc / kNm;

    const PlasticBase base = plasticBaseOf(m, c.d, c.D, c.n);
    const PlasticState s = plasticCapacity(base, c.P * kN);
    const double capacity = s.balanced ? std::max(s.Mu, 0.0) / kNm : 0;

    Check k = makeCheck(CheckId::Seismic, demand, two(demand), capacity);
    k.formula = "{W|pc} = ({D|t}³ − ({D|t} − 2{t|w})³)/6 = " + two(column.W) +
                " mm³，A = " + two(column.A) + " mm²，{f|y} = " + plain(fy) +
                "；{M|pc} = {W|pc}·({f|y} − |P|/A) = " + two(column.Mpc / kNm) +
                " kN·m；{η|j}·{M|pc} = " + coefficient(etaJ) + " × " + two(column.Mpc / kNm) +
                " = " + k.demandText + " ≤ {M|u,base} = " + k.capacityText +
                " kN·m（{f|ck} = " + plain(base.fck) +
                "，{f|u|a}·{A|e} = " + two(base.boltForce / kN) + " kN）";
    std::string remark = "Mpc = " + two(column.Mpc / kNm) + " kN·m";
    if (!s.balanced) {
        // No plastic state: the base cannot be stronger than anything.
        k.ratio = std::numeric_limits<double>::infinity();
        k.ratioText = ratioText(k.ratio);
        k.ok = false;
        remark += c.P > 0 ? "；轴压力超过 fck·A，无塑性平衡状态，Mu,base = 0"
                          : "；轴拉力超过全部锚栓的 n·fua·Ae，无塑性平衡状态，Mu,base = 0";
    } else {
        remark += "，中和轴距受压边 " + two(s.depth) + " mm，受拉锚栓 " +
                  std::to_string(s.boltsInTension) + " 个";
        if (!k.ok) remark += "；柱脚极限受弯承载力不足，宜加大锚栓或提高混凝土强度等级";
    }
    k.remark = remark;
    return k;
}

Check shearKeyBearing(const CheckContext& c) {
    const Detailing& t = *c.detailing;
    const double betaL = effectiveBetaL(c.data.input, c.d);
    const double fc = c.data.concrete.compressiveDesign;
    const double sigma = c.V * kN / (t.bk * (t.hk - t.grout));
    Check k = makeCheck(CheckId::ShearKeyBearing, sigma, two(sigma), betaL * fc);
    k.formula = "{σ|c} = |V|/({b|k}·({h|k} − g)) = " + two(c.V) + " × 1000/(" + plain(t.bk) +
                " × " + plain(t.hk - t.grout) + ") = " + k.demandText +
                " ≤ {β|l}·{f|c} = " + two(betaL) + " × " + plain(fc) + " = " + k.capacityText +
                " N/mm²";
    if (!k.ok) k.remark = "抗剪键承压不足，宜加宽或加深抗剪键";
    return k;
}

Check shearKey(const CheckContext& c) {
    const Detailing& t = *c.detailing;
    const PlateSteel::Band s = strengthAt(t.plateSteel, t.tk);
    const double M = keyMoment(t, c.V);
    const double sigma = 6 * M / (t.bk * t.tk * t.tk);
    const double tau = 1.5 * c.V * kN / (t.bk * t.tk);
    const double reduced = std::sqrt(sigma * sigma + 3 * tau * tau);
    const std::array<std::pair<double, double>, 3> terms{
        {{sigma, s.f}, {tau, s.fv}, {reduced, reducedStressAllowance * s.f}}};
    Check best;
    bool first = true;
    for (const auto& [demand, capacity] : terms) {
        Check k = makeCheck(CheckId::ShearKey, demand, two(demand), capacity);
        if (!first && !(k.ratio > best.ratio)) continue;
        first = false;
        best = std::move(k);
    }
    best.formula = "M = |V|·(g + ({h|k} − g)/2) = " + two(M / kNm) +
                   " kN·m；σ = 6M/({b|k}·{t|k}²) = " + two(sigma) +
                   "，τ = 1.5|V|/({b|k}·{t|k}) = " + two(tau) + "，√(σ² + 3τ²) = " + two(reduced) +
                   "；取 " + best.demandText + " ≤ " + best.capacityText +
                   " N/mm²（f = " + plain(s.f) + "，{f|v} = " + plain(s.fv) + "）";
    if (!best.ok) best.remark = "抗剪键强度不足，宜加厚抗剪键";
    return best;
}

Check shearKeyWeld(const CheckContext& c) {
    const Detailing& t = *c.detailing;
    const double lw = t.bk - 2 * t.hfk;
    const double M = keyMoment(t, c.V);
    const double sigmaF = M / (throat * t.hfk * lw * (t.tk + throat * t.hfk));
    const double tauF = c.V * kN / (twoThroats * t.hfk * lw);
    const double demand = std::hypot(sigmaF / filletBetaF, tauF);
    Check k = makeCheck(CheckId::ShearKeyWeld, demand, two(demand), t.electrode.filletStrength);
    k.formula = "{l|w} = {b|k} − 2{h|fk} = " + two(lw) +
                " mm，{σ|f} = M/(0.7{h|fk}{l|w}({t|k} + 0.7{h|fk})) = " + two(sigmaF) +
                "，{τ|f} = |V|/(1.4{h|fk}{l|w}) = " + two(tauF) +
                "；√(({σ|f}/{β|f})² + {τ|f}²) = " + k.demandText +
                " ≤ {f|f|w} = " + k.capacityText + " N/mm²";
    if (!k.ok) k.remark = "抗剪键焊缝不足，宜加大焊脚或加宽抗剪键";
    return k;
}

} // namespace tarvel::checks
