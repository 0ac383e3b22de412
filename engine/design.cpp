#include "design.h"

#include "designbase.h"
#include "number.h"
#include "search_detail.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tarvel {

namespace {

// The thread factor of the effective (stress) area: d − 0.9382·p is the stress diameter.
constexpr double stressDiameterFactor = 0.9382;
constexpr double pi = 3.14159265358979323846;

// Each denominator of the equilibrium misses has a floor of 1 kN or 1 kN·m, so that a
// base with hardly any load is not judged by its rounding.
constexpr double missFloor = 1.0;

std::string format(const char* pattern, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

template <class T>
const T& lookUp(const std::vector<T>& table, const std::string& name, InputField field,
                const char* what) {
    // Typed names are taken as the tables spell them: "m36" is M36.
    std::string upper;
    for (char ch : name)
        upper += (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
    for (const T& row : table)
        if (upper == row.name) return row;
    std::string known;
    for (const T& row : table)
        known += (known.empty() ? "" : "、") + std::string(row.name);
    throw TarvelError(ErrorKind::UnknownChoice, field,
                      std::string("「") + inputCaption(field) + "」没有“" + name + "”这一" + what +
                          "，可选：" + known);
}

Check makeCheck(CheckId id, const char* name, const char* title, double demand,
                std::string demandText, double capacity) {
    Check c;
    c.id = id;
    c.name = name;
    c.title = title;
    c.demand = demand;
    c.capacity = capacity;
    if (demand == 0)
        c.ratio = 0;
    else if (capacity <= 0)
        c.ratio = std::numeric_limits<double>::infinity();
    else
        c.ratio = demand / capacity;
    c.demandText = std::move(demandText);
    c.capacityText = twoDecimals(capacity);
    c.ratioText = ratioText(c.ratio);
    c.ok = c.ratio <= 1;
    return c;
}

std::string refinedPhrase(const RefinedEquilibrium& r) {
    using Status = RefinedEquilibrium::Status;
    switch (r.status) {
    case Status::Solved:
        return "精确平衡解：σmax = " + twoDecimals(r.qmax) + " N/mm²，T = " + twoDecimals(r.T) +
               " kN" + (r.T > detail::maxBoltForce ? "（超出搜索上限 1002 kN）" : "");
    case Status::NoEquilibrium:
        return "按弹性受压区长度，此荷载组合无平衡解（精确解需 " +
               std::string(r.qmax < 0 ? "σmax < 0" : "T < 0") + "）";
    case Status::ForceOnly:
        return "无受拉锚栓，精确解 σmax = " + twoDecimals(r.qmax) + " N/mm²，弯矩和 " +
               twoDecimals(r.momentSum) + " kN·m";
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

const std::vector<BoltSize>& boltSizes() {
    static const std::vector<BoltSize> sizes{
        {"M20", 20, 2.5}, {"M22", 22, 2.5}, {"M24", 24, 3},   {"M27", 27, 3},   {"M30", 30, 3.5},
        {"M33", 33, 3.5}, {"M36", 36, 4},   {"M39", 39, 4},   {"M42", 42, 4.5}, {"M45", 45, 4.5},
        {"M48", 48, 5},   {"M52", 52, 5},   {"M56", 56, 5.5}, {"M60", 60, 5.5}, {"M64", 64, 6},
        {"M68", 68, 6},   {"M72", 72, 6},   {"M76", 76, 6},   {"M80", 80, 6},   {"M85", 85, 6},
        {"M90", 90, 6},   {"M95", 95, 6},   {"M100", 100, 6}};
    return sizes;
}

const std::vector<SteelGrade>& steelGrades() {
    // Tensile design strength of anchor bolts, GB 50017-2017.
    static const std::vector<SteelGrade> grades{{"Q235", 140}, {"Q355", 180}, {"Q390", 185}};
    return grades;
}

const std::vector<ConcreteGrade>& concreteGrades() {
    // Design compressive strength, GB 50010-2010.
    static const std::vector<ConcreteGrade> grades{{"C20", 9.6},  {"C25", 11.9}, {"C30", 14.3},
                                                   {"C35", 16.7}, {"C40", 19.1}, {"C45", 21.1},
                                                   {"C50", 23.1}, {"C55", 25.3}, {"C60", 27.5}};
    return grades;
}

double effectiveArea(const BoltSize& size) {
    const double ds = size.diameter - stressDiameterFactor * size.pitch;
    return pi / 4 * ds * ds;
}

DesignData resolveDesign(const DesignInput& in) {
    DesignData data;
    data.input = in;
    data.bolt = lookUp(boltSizes(), in.bolt, InputField::bolt, "规格");
    data.steel = lookUp(steelGrades(), in.steel, InputField::steel, "牌号");
    data.concrete = lookUp(concreteGrades(), in.concrete, InputField::concrete, "等级");
    data.input.bolt = data.bolt.name;
    data.input.steel = data.steel.name;
    data.input.concrete = data.concrete.name;
    if (!(in.betaL >= minBetaL && in.betaL <= maxBetaL)) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::betaL,
                          "「局部受压提高系数 βl」应在 1.0 至 3.0 之间");
    }
    if (!std::isfinite(in.V)) {
        throw TarvelError(ErrorKind::Overflow, InputField::V, "「剪力 V(kN)」的数值超出范围");
    }
    if (!(in.friction > 0 && in.friction <= maxFriction)) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::friction,
                          "「摩擦系数 μ」应大于 0 且不大于 1");
    }
    data.ae = effectiveArea(data.bolt);
    return data;
}

double designNumber(std::string_view text, InputField field) {
    return textToNumber(text, field);
}

std::string twoDecimals(double value) {
    // Rounded as the result boxes round (halves away from zero), with a leading zero.
    const std::string s = formatWithPattern(value, ".00");
    std::string out;
    if (s.starts_with('.')) {
        out = "0" + s;
    } else if (s.starts_with("-.")) {
        out = "-0";
        out.append(s, 1);
    } else {
        out = s;
    }
    return out == "-0.00" ? "0.00" : out;
}

std::string ratioText(double ratio) {
    if (std::isinf(ratio)) return "∞";
    std::string s = twoDecimals(ratio);
    // A failing ratio must not read as 1.00: take decimals until it shows above 1.
    for (int digits = 3; ratio > 1 && std::strtod(s.c_str(), nullptr) <= 1 && digits <= 17;
         ++digits) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", digits, ratio);
        s = buf;
    }
    return s;
}

DesignChecks checkDesign(const Analysis& a, const InputTexts& inputs, const BaseResult& result,
                         const DesignInput& design) {
    requireRealBase(inputs);
    DesignChecks out;
    out.data = resolveDesign(design);
    const DesignData& data = out.data;
    auto number = [](const std::string& text) { return textToNumber(text); };

    // The demands are the numbers of the texts the user reads.
    const double T = number(result.tt);
    const double sigma = number(result.qmaxt);
    const double C = number(result.fqt);
    const double F = number(result.fmst);
    const double h1 = number(result.h1t);
    const double h2 = number(result.h2t);
    const double P = number(inputs[0]);
    const double M = std::fabs(number(inputs[1]));
    const double d = number(inputs[2]);

    Check& bolt = out.checks[0];
    // The demands are Tarvel's own texts: the result texts with their leading zero.
    bolt = makeCheck(CheckId::Bolt, "bolt", "锚栓抗拉", T, withLeadingZero(result.tt),
                     data.ae * data.steel.tensileDesign / 1000);
    if (!bolt.ok) bolt.remark = "锚栓抗拉不足，宜加大锚栓规格或提高钢材牌号";
    // At the top of the sweep T is only a lower bound of the force the bolt needs.
    if (T >= detail::maxBoltForce)
        bolt.remark += std::string(bolt.remark.empty() ? "" : "；") +
                       "T 达到搜索上限 1002 kN，实际拉力可能更大";

    Check& bearing = out.checks[1];
    bearing = makeCheck(CheckId::Bearing, "bearing", "混凝土承压", sigma, withLeadingZero(result.qmaxt),
                        data.input.betaL * data.concrete.compressiveDesign);
    if (!bearing.ok) bearing.remark = "混凝土局部承压不足，宜提高混凝土强度等级或 βl，或加大底板";

    Check& shear = out.checks[2];
    const double V = std::fabs(data.input.V);
    shear = makeCheck(CheckId::Shear, "shear", "抗剪", V, twoDecimals(V), data.input.friction * C);
    if (!shear.ok) shear.remark = "摩擦力不足以抵抗剪力，需设置抗剪键";

    out.refined = solveEquilibrium(a);
    out.forceReference = std::max({std::fabs(P), C, F, missFloor});
    out.momentReference = std::max({M, (C + F) * d / 2000, missFloor});
    out.forceMiss = std::fabs(h1 - P) / out.forceReference * 100;
    out.momentMiss = std::fabs(h2 - M) / out.momentReference * 100;
    const double miss = std::max(out.forceMiss, out.momentMiss);
    Check& eq = out.checks[3];
    eq = makeCheck(CheckId::Equilibrium, "equilibrium", "平衡校核", miss, twoDecimals(miss),
                   equilibriumTolerance);
    if (!eq.ok) {
        const RefinedEquilibrium& r = out.refined;
        const bool boltsBeyond = a.input.n >= 1 && boltDistancesBeyondAxis(a)[1] > 0;
        const double ceiling = detail::maxBoltForce;
        if (T >= ceiling) {
            if (r.status == RefinedEquilibrium::Status::Solved && r.T > ceiling)
                eq.remark = "锚栓拉力需 " + format("%.0f", r.T) + " kN，超出搜索上限 " +
                            format("%.0f", ceiling) + " kN";
            else
                eq.remark =
                    joinRemark("锚栓拉力达到搜索上限 " + format("%.0f", ceiling) + " kN，只是下限",
                               refinedPhrase(r));
        } else if (T == 0 && boltsBeyond && a.check.x0 < a.input.d && M > 0) {
            eq.remark = joinRemark("搜索未找到锚栓拉力（T = 0）", refinedPhrase(r));
        } else if (P < 0) {
            eq.remark = joinRemark("以受拉为主的荷载与弹性受压区长度不相适应，平衡误差大",
                                   refinedPhrase(r));
        } else {
            eq.remark = joinRemark("搜索所得状态未达到平衡", refinedPhrase(r));
        }
    }
    for (const Check& c : out.checks)
        out.ok = out.ok && c.ok;

    // Geometry remarks: worth a look, but not checks.
    out.geometryRemarks = inputRemarks(inputs);
    const double D = a.input.D;
    const int n = a.input.n;
    if (D <= a.input.d) out.geometryRemarks.push_back("锚栓中心圆位于底板受压圆以内（D ≤ d）");
    if (n < 4) out.geometryRemarks.push_back("锚栓少于 4 个");
    if (n > 0 && pi * D / n < data.bolt.diameter) {
        out.geometryRemarks.push_back("锚栓间距 π·D/n = " + twoDecimals(pi * D / n) +
                                      " mm 小于锚栓直径 " + format("%.0f", data.bolt.diameter) +
                                      " mm，锚栓相互重叠");
    }
    return out;
}

CaseOutcome computeCase(const InputTexts& inputs, const DesignInput& design, int threads,
                        bool withChecks) {
    CaseOutcome out;
    out.inputs = inputs;
    TextSink sink;
    try {
        // A bad design input or a base that cannot exist fails before the calculation.
        if (withChecks) {
            resolveDesign(design);
            requireRealBase(inputs);
        }
        if (calculate(inputs, sink, {}, '.', threads) == Outcome::Refused) {
            out.status = CaseOutcome::Status::Refused;
            out.message = fullTensionMessage;
        } else {
            out.status = CaseOutcome::Status::Ok;
            if (withChecks) {
                out.checks = checkDesign(analyze(inputs), inputs, sink.result(), design);
                out.hasChecks = true;
            }
        }
    } catch (const TarvelError& e) {
        out.status = CaseOutcome::Status::Error;
        out.message = e.what();
    }
    out.result = sink.result();
    out.written = sink.order();
    return out;
}

} // namespace tarvel
