// The checks of the base against its loads: bolt tension, concrete bearing, friction shear
// and the equilibrium of the shown state.

#include "analysis/search_detail.h"
#include "checks/bearingarea.h"
#include "checks/checkfunctions.h"
#include "checks/design.h"
#include "core/number.h"

#include <algorithm>
#include <cstdio>

namespace tarvel::checks {

namespace {

std::string format(const char* pattern, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

std::string refinedPhrase(const RefinedEquilibrium& r) {
    using Status = RefinedEquilibrium::Status;
    switch (r.status) {
    case Status::Solved:
        return "精确平衡解：σmax = " + two(r.qmax) + " N/mm²，T = " + two(r.T) + " kN" +
               (r.T > detail::maxBoltForce ? "（超出搜索上限 1002 kN）" : "");
    case Status::NoEquilibrium:
        return "按弹性受压区长度，此荷载组合无平衡解（精确解需 " +
               std::string(r.qmax < 0 ? "σmax < 0" : "T < 0") + "）";
    case Status::ForceOnly:
        return "无受拉锚栓，精确解 σmax = " + two(r.qmax) + " N/mm²，弯矩和 " + two(r.momentSum) +
               " kN·m";
    case Status::Singular:
        break;
    }
    return "";
}

std::string joinRemark(std::string cause, const std::string& refined) {
    if (!refined.empty()) cause += "；" + refined;
    return cause;
}

} // namespace

Check bolt(const CheckContext& c) {
    const DesignData& m = c.data;
    if (!c.texts)
        return makeCheck(CheckId::Bolt, c.T, boltTensionCapacity(m.ae, m.steel.tensileDesign));
    // The demands are Tarvel's own texts: the result texts with their leading zero.
    Check k = makeCheck(CheckId::Bolt, c.T, withLeadingZero(c.result.tt),
                        boltTensionCapacity(m.ae, m.steel.tensileDesign));
    k.formula = "{N|t} = {T}" + k.relation() + "{N|t|a} = {A|e}·{f|t|a} = " + fixed(m.ae, 1) +
                " × " + plain(m.steel.tensileDesign) + " / 1000 = " + k.capacityText + " kN";
    if (!k.ok) k.remark = "锚栓抗拉不足，宜加大锚栓规格或提高钢材牌号";
    // At the top of the sweep T is only a lower bound of the force the bolt needs.
    if (c.searched && c.T >= detail::maxBoltForce)
        k.remark +=
            std::string(k.remark.empty() ? "" : "；") + "T 达到搜索上限 1002 kN，实际拉力可能更大";
    return k;
}

Check bearing(const CheckContext& c) {
    const DesignData& m = c.data;
    const double betaL = effectiveBetaL(m.input, c.d);
    if (!c.texts)
        return makeCheck(CheckId::Bearing, c.sigma,
                         bearingCapacity(betaL, m.concrete.compressiveDesign));
    Check k = makeCheck(CheckId::Bearing, c.sigma, withLeadingZero(c.result.qmaxt),
                        bearingCapacity(betaL, m.concrete.compressiveDesign));
    const std::string beta = m.input.pedestal ? two(betaL) : coefficient(betaL);
    k.formula = "{σ|max}" + k.relation() + "{β|l}·{f|c} = " + beta + " × " +
                plain(m.concrete.compressiveDesign) + " = " + k.capacityText + " N/mm²";
    if (m.input.pedestal)
        k.formula += "（柱墩 B = " + plain(*m.input.pedestal) +
                     " mm：{β|l} = √({A|b}/{A|l}) = min(3d, B)/d = " + two(betaL) + "）";
    if (!k.ok) k.remark = "混凝土局部承压不足，宜提高混凝土强度等级或 βl，或加大底板";
    return k;
}

Check shear(const CheckContext& c) {
    const DesignData& m = c.data;
    const bool byKey = c.detailing && c.detailing->hasKey;
    if (!c.texts)
        return makeCheck(CheckId::Shear, byKey ? 0 : c.V, frictionCapacity(m.input.friction, c.C));
    if (byKey) {
        // The key takes all of V: friction is not added to it.
        Check k = makeCheck(CheckId::Shear, 0, two(0), frictionCapacity(m.input.friction, c.C));
        k.formula = "{V} = " + two(c.V) + " kN 由抗剪键承受，不计摩擦";
        k.remark = "剪力由抗剪键承受";
        return k;
    }
    Check k = makeCheck(CheckId::Shear, c.V, two(c.V), frictionCapacity(m.input.friction, c.C));
    k.formula = "{V}" + k.relation() + "{μ}·{C} = " + coefficient(m.input.friction) + " × " +
                c.result.fqt + " = " + k.capacityText + " kN";
    if (!k.ok) k.remark = "摩擦力不足以抵抗剪力，需设置抗剪键";
    return k;
}

Check equilibrium(const CheckContext& c) {
    const double miss = std::max(c.forceMiss, c.momentMiss);
    if (!c.texts) return makeCheck(CheckId::Equilibrium, miss, equilibriumTolerance);
    Check k = makeCheck(CheckId::Equilibrium, miss, two(miss), equilibriumTolerance);
    k.formula = "max(|ΣN − P|, |ΣM − M|) 相对差 = max(" + two(c.forceMiss) + " %, " +
                two(c.momentMiss) + " %) = " + k.demandText + " %" + k.relation() +
                plain(equilibriumTolerance) + " %";
    if (k.ok) return k;
    if (!c.searched) {
        // Another method balances its state: only the rounding of tiny loads shows a miss.
        k.remark = "按显示的结果文字计算的平衡误差偏大（荷载过小，舍入所致）";
        return k;
    }
    const RefinedEquilibrium& r = c.refined;
    const double ceiling = detail::maxBoltForce;
    if (c.T >= ceiling) {
        if (r.status == RefinedEquilibrium::Status::Solved && r.T > ceiling)
            k.remark = "锚栓拉力需 " + format("%.0f", r.T) + " kN，超出搜索上限 " +
                       format("%.0f", ceiling) + " kN";
        else
            k.remark =
                joinRemark("锚栓拉力达到搜索上限 " + format("%.0f", ceiling) + " kN，只是下限",
                           refinedPhrase(r));
    } else if (c.T == 0 && c.boltsBeyondAxis && c.x0 < c.d && c.M > 0) {
        k.remark = joinRemark("搜索未找到锚栓拉力（T = 0）", refinedPhrase(r));
    } else if (c.P < 0) {
        k.remark =
            joinRemark("以受拉为主的荷载与弹性受压区长度不相适应，平衡误差大", refinedPhrase(r));
    } else {
        k.remark = joinRemark("搜索所得状态未达到平衡", refinedPhrase(r));
    }
    return k;
}

} // namespace tarvel::checks
