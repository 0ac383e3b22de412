#include "checks/design.h"

#include "analysis/compatibility.h"
#include "analysis/search_detail.h"
#include "checks/bearingarea.h"
#include "checks/checkfunctions.h"
#include "checks/designbase.h"
#include "checks/plasticbase.h"
#include "core/lookup.h"
#include "core/number.h"

#include <optional>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace tarvel {

namespace {

// The thread factor of the effective (stress) area: d − 0.9382·p is the stress diameter.
constexpr double stressDiameterFactor = 0.9382;
using std::numbers::pi;

// Each denominator of the equilibrium misses has a floor of 1 kN or 1 kN·m, so that a
// base with hardly any load is not judged by its rounding.
constexpr double missFloor = 1.0;

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
    data.bolt = lookUpChoice(boltSizes(), in.bolt, InputField::bolt, "规格");
    data.steel = lookUpChoice(steelGrades(), in.steel, InputField::steel, "牌号");
    data.concrete = lookUpChoice(concreteGrades(), in.concrete, InputField::concrete, "等级");
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
    if (in.pedestal && !(*in.pedestal > 0 && *in.pedestal <= maxPedestal)) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::pedestal,
                          "「柱墩边长 B(mm)」应大于 0 且不大于 100000 mm");
    }
    if (!(in.plateHole >= 0 && in.plateHole <= maxPedestal)) {
        throw TarvelError(ErrorKind::OutOfRange, InputField::plateHole,
                          "「底板中心孔直径 dh(mm)」应不小于 0（0 为不开孔）");
    }
    if (in.seismic) {
        if (!(in.seismic->etaJ >= minEtaJ && in.seismic->etaJ <= maxEtaJ)) {
            throw TarvelError(ErrorKind::OutOfRange, InputField::etaJ,
                              "「连接系数 ηj」应在 1.0 至 1.5 之间");
        }
        if (!in.detailing) {
            throw TarvelError(ErrorKind::OutOfRange, InputField::etaJ,
                              "抗震极限承载力验算需要钢管（构造参数）");
        }
    }
    data.ae = effectiveArea(data.bolt);
    if (in.modularRatio) {
        const double nE = *in.modularRatio;
        if (!(nE >= minModularRatio && nE <= maxModularRatio)) {
            throw TarvelError(ErrorKind::OutOfRange, InputField::modularRatio,
                              "「模量比 nE」应在 1 至 50 之间");
        }
        data.nE = nE;
    } else {
        data.nE = modularRatioOfGrade(data.concrete.name);
    }
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

std::vector<const Check*> DesignChecks::made() const {
    std::vector<const Check*> out;
    for (const Check& c : checks)
        if (c.checked) out.push_back(&c);
    return out;
}

namespace {

struct Geometry {
    double d, D;
    int n;
};

// The base's geometry for the detailing, or nothing when its texts are no numbers.
std::optional<Geometry> geometryOf(const InputTexts& inputs) {
    try {
        const double n = textToNumber(inputs[4]);
        if (!(n >= 1 && n <= 100)) return std::nullopt;
        return Geometry{textToNumber(inputs[2]), textToNumber(inputs[3]), static_cast<int>(n)};
    } catch (const TarvelError&) {
        return std::nullopt;
    }
}

} // namespace

EquilibriumMisses equilibriumMisses(double P, double M, double d, double C, double F, double h1,
                                    double h2) {
    EquilibriumMisses m;
    m.forceReference = std::max({std::fabs(P), C, F, missFloor});
    m.momentReference = std::max({M, (C + F) * d / 2000, missFloor});
    m.force = std::fabs(h1 - P) / m.forceReference * 100;
    m.moment = std::fabs(h2 - M) / m.momentReference * 100;
    return m;
}

EquilibriumMisses equilibriumMisses(const InputTexts& inputs, const BaseResult& result) {
    return equilibriumMisses(textToNumber(inputs[0]), std::fabs(textToNumber(inputs[1])),
                             textToNumber(inputs[2]), textToNumber(result.fqt),
                             textToNumber(result.fmst), textToNumber(result.h1t),
                             textToNumber(result.h2t));
}

void checkDetailingFits(const DesignData& data, const InputTexts& inputs) {
    const auto g = geometryOf(inputs);
    if (!g) return;
    if (data.input.pedestal) requirePedestalFits(*data.input.pedestal, g->d);
    if (data.input.detailing) {
        const Detailing t =
            resolveDetailing(*data.input.detailing, g->d, g->D, g->n, data.bolt.diameter);
        requireHoleFits(data.input.plateHole, t);
    }
}

void requireSolidPlate(const DesignInput& design) {
    if (design.plateHole > 0)
        throw TarvelError(
            ErrorKind::OutOfRange, InputField::plateHole,
            "弹性受压区法按实心圆板计算，底板开中心孔（dh = " + numberToText(design.plateHole) +
                " mm）时不能采用，请用包络或应变协调法");
}

void requireHoleFits(double hole, const Detailing& t) {
    // The hole lies inside the tube, where the plate is welded round it.
    const double inner = t.Dt - 2 * t.tw;
    if (!(hole < inner))
        throw TarvelError(ErrorKind::OutOfRange, InputField::plateHole,
                          "底板中心孔直径 dh = " + numberToText(hole) +
                              " mm 应小于钢管内径 Dt − 2tw = " + numberToText(inner) + " mm");
}

void requirePedestalFits(double B, double d) {
    if (!(B >= d))
        throw TarvelError(ErrorKind::OutOfRange, InputField::pedestal,
                          "柱墩边长 B = " + numberToText(B) +
                              " mm 应不小于底板受压直径 d = " + numberToText(d) + " mm");
}

namespace {

DesignChecks checkWith(const Analysis& a, const InputTexts& inputs, const BaseResult& result,
                       const DesignInput& design, const RefinedEquilibrium* known,
                       CheckTexts texts) {
    requireRealBase(inputs);
    DesignChecks out;
    out.data = resolveDesign(design);
    const DesignData& data = out.data;
    auto number = [](const std::string& text) { return textToNumber(text); };

    // The demands are the numbers of the texts the user reads.
    const double T = number(result.tt);
    const double C = number(result.fqt);
    const double F = number(result.fmst);
    const double h1 = number(result.h1t);
    const double h2 = number(result.h2t);
    const double P = number(inputs[0]);
    const double M = std::fabs(number(inputs[1]));
    const double d = number(inputs[2]);
    if (data.input.pedestal) requirePedestalFits(*data.input.pedestal, d);
    const double x = checks::compressionLength(result);
    if (data.input.detailing)
        out.detailing =
            resolveDetailing(*data.input.detailing, d, a.input.D, a.input.n, data.bolt.diameter);

    // The exact equilibrium for the elastic compression length is the search's second
    // opinion: the texts of another method have no use for it (and its strips would cost a
    // batch ten times its analysis), nor for the search's ceiling.
    const bool searched = design.method == AnalysisMethod::Elastic;
    if (searched) out.refined = known ? *known : solveEquilibrium(a);
    const EquilibriumMisses misses = equilibriumMisses(P, M, d, C, F, h1, h2);
    out.forceReference = misses.forceReference;
    out.momentReference = misses.momentReference;
    out.forceMiss = misses.force;
    out.momentMiss = misses.moment;

    const CheckContext context{data,
                               out.detailing ? &*out.detailing : nullptr,
                               result,
                               out.refined,
                               T,
                               number(result.qmaxt),
                               C,
                               F,
                               h1,
                               h2,
                               P,
                               M,
                               std::fabs(data.input.V),
                               d,
                               a.input.D,
                               a.input.n,
                               out.forceMiss,
                               out.momentMiss,
                               a.input.n >= 1 && boltDistancesBeyondAxis(a)[1] > 0,
                               a.check.x0,
                               searched,
                               x,
                               texts == CheckTexts::Full};
    for (const CheckDefinition& def : checkDefinitions()) {
        Check& c = out.checks[static_cast<int>(def.id)];
        if (!checkApplies(def, data.input) || (def.needsDetailing && !out.detailing)) {
            c.id = def.id;
            c.name = def.key;
            c.title = def.title;
            continue;
        }
        c = def.evaluate(context);
        out.ok = out.ok && c.ok;
    }

    if (texts == CheckTexts::NumbersOnly) return out;
    // Geometry remarks: worth a look, but not checks.
    out.geometryRemarks = inputRemarks(inputs);
    const double D = a.input.D;
    const int n = a.input.n;
    if (D <= a.input.d) out.geometryRemarks.push_back("锚栓中心圆位于底板受压圆以内（D ≤ d）");
    if (n < 4) out.geometryRemarks.push_back("锚栓少于 4 个");
    if (n > 0 && pi * D / n < data.bolt.diameter) {
        out.geometryRemarks.push_back("锚栓间距 π·D/n = " + twoDecimals(pi * D / n) +
                                      " mm 小于锚栓直径 " + numberToText(data.bolt.diameter) +
                                      " mm，锚栓相互重叠");
    }
    return out;
}

} // namespace

DesignChecks checkDesign(const Analysis& a, const InputTexts& inputs, const BaseResult& result,
                         const DesignInput& design, CheckTexts texts) {
    return checkWith(a, inputs, result, design, nullptr, texts);
}

DesignChecks checkDesign(const Analysis& a, const InputTexts& inputs, const BaseResult& result,
                         const DesignInput& design, const RefinedEquilibrium& refined,
                         CheckTexts texts) {
    return checkWith(a, inputs, result, design, &refined, texts);
}

ComputedCase computeElasticCase(const InputTexts& inputs, const DesignInput& chosen, int threads,
                                bool withChecks) {
    DesignInput design = chosen;
    design.method = AnalysisMethod::Elastic;
    ComputedCase out;
    out.inputs = inputs;
    TextSink sink;
    try {
        // A bad design input, a base that cannot exist or a detailing that does not fit fails
        // before the calculation.
        if (withChecks) {
            requireRealBase(inputs);
            checkDetailingFits(resolveDesign(design), inputs);
        }
        requireSolidPlate(design);
        if (calculate(inputs, sink, {}, '.', threads) == Outcome::Refused) {
            out.status = CaseStatus::Refused;
            out.message = fullTensionMessage;
        } else {
            out.status = CaseStatus::Ok;
            if (withChecks) {
                out.checks = checkDesign(analyze(inputs), inputs, sink.result(), design);
                out.hasChecks = true;
            }
        }
    } catch (const TarvelError& e) {
        out.status = CaseStatus::Error;
        out.message = e.what();
    }
    out.result = sink.result();
    out.written = sink.order();
    if (out.status == CaseStatus::Ok) out.boltForces = elasticBoltForces(out);
    return out;
}

std::vector<double> elasticBoltForces(const ComputedCase& elastic) {
    std::vector<double> forces;
    try {
        const Analysis a = analyze(elastic.inputs);
        const int T = static_cast<int>(std::lround(textToNumber(elastic.result.tt)));
        const std::vector<float> each = boltForces(a, T);
        for (std::size_t i = 1; i < each.size(); ++i)
            forces.push_back(each[i]);
    } catch (const TarvelError&) {
        forces.clear();
    }
    return forces;
}

} // namespace tarvel
