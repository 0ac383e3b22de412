// The rigid-plate analysis: the worked cases, balance against an independent integration of
// the bearing, every regime, the refusals, and the envelope of the two methods.

#include "analysis/compatibility.h"
#include "checks/design.h"
#include "checks/envelope.h"
#include "checks/methods.h"
#include "realistic_cases.h"

#include <boost/math/quadrature/gauss.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace {

using namespace tarvel;
using Regime = CompatibilityState::Regime;

const double m36 = effectiveArea(boltSizes()[6]);
const double c30 = 2.06e5 / 3.0e4;

CompatibilityState solve(const InputTexts& t, double nE = c30) {
    const BaseInput in = makeBaseInput(t[0], t[1], t[2], t[3], t[4]);
    return solveCompatibility(in, layOutBolts(in), m36, nE);
}

// The misses of a state, recomputed without the segment formulas: the bearing integrated
// over the circle (y = R·cosθ, dA = 2R²·sin²θ dθ, smooth on [0, φ]), only the bolts short of
// the neutral axis stretched. Relative to the largest force or moment involved.
struct Misses {
    double force = 0, moment = 0, bearing = 0, bearingMoment = 0;
};
Misses independentMisses(const InputTexts& t, const CompatibilityState& s, double nE = c30) {
    const BaseInput in = makeBaseInput(t[0], t[1], t[2], t[3], t[4]);
    const BoltLayout layout = layOutBolts(in);
    const double R = in.d / 2;
    double C = 0, Mc = 0, F = 0, Mb = 0;
    if (s.regime == Regime::UniformCompression) {
        C = s.sigmaMax * M_PI * R * R;
    } else if (s.regime == Regime::UniformTension) {
        for (int i = 1; i <= layout.count; ++i) {
            F += -in.P / layout.count;
            Mb += -in.P / layout.count * -layout.a[i];
        }
    } else {
        const double phi = std::acos(std::clamp(s.yn / R, -1.0, 1.0));
        using Gauss = boost::math::quadrature::gauss<double, 40>;
        auto pressure = [&](double th) {
            return s.k * (R * std::cos(th) - s.yn) * 2 * R * R * std::sin(th) * std::sin(th);
        };
        C = Gauss::integrate(pressure, 0.0, phi);
        Mc = Gauss::integrate([&](double th) { return pressure(th) * R * std::cos(th); }, 0.0, phi);
        for (int i = 1; i <= layout.count; ++i) {
            const double a = layout.a[i];
            const double t = a < s.yn ? nE * m36 * s.k * (s.yn - a) : 0;
            F += t;
            Mb += t * -a;
        }
    }
    const double forceScale = std::max({std::fabs(in.P), C, F, 1.0});
    // A moment is judged against the forces on the plate's radius too: a uniform tension
    // leaves the rounding of the bolt angles as its whole moment.
    const double momentScale = std::max({in.M, std::fabs(Mc), std::fabs(Mb), forceScale * R});
    return {std::fabs(C - F - in.P) / forceScale, std::fabs(Mc + Mb - in.M) / momentScale,
            std::fabs(C - s.C) / forceScale, std::fabs(Mc - s.Mc) / momentScale};
}

// ---------------------------------------------------------------------------------------

struct WorkedRow {
    const char* name;
    InputTexts inputs;
    BaseResult texts;
    int unstretched; // bolts on the compressed side, which carry nothing
};

class Worked : public testing::TestWithParam<WorkedRow> {};

TEST_P(Worked, TextsAsTheElasticMethodWritesThem) {
    TextSink sink;
    const CompatibilityState s = calculateCompatibility(GetParam().inputs, m36, c30, sink);
    for (ResultBox box : allResultBoxes)
        EXPECT_EQ(sink.result()[box], GetParam().texts[box]) << boxName(box);
    EXPECT_EQ(sink.order(), std::vector<ResultBox>(allResultBoxes.begin(), allResultBoxes.end()));
    EXPECT_EQ(std::count(s.boltForces.begin(), s.boltForces.end(), 0.0), GetParam().unstretched);
    EXPECT_EQ(s.T, *std::max_element(s.boltForces.begin(), s.boltForces.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Worked,
    testing::Values(WorkedRow{"DefaultBase",
                              {"1000", "1000", "1520", "1620", "18"},
                              {"540.", "5.90", "63.11", "416.80", "242.40", "1416.80", "757.60",
                               "535.", "582.", "1000", "1000", "567."},
                              7},
                    WorkedRow{"TensionWithLargeMoment",
                              {"-826", "7250", "2390", "2730", "10"},
                              {"314.", "24.55", "986.34", "4278.15", "3584.49", "3452.15",
                               "3665.51", "1062.", "838.", "-826", "7250", "1381."},
                              3},
                    WorkedRow{"UpliftOnTheBoltsAlone",
                              {"-4000", "800", "1520", "1620", "18"},
                              {".", ".00", "331.96", "4000.00", "800.00", ".00", ".00", ".", "200.",
                               "-4000", "800", "."},
                              0}),
    [](const testing::TestParamInfo<WorkedRow>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------

struct RegimeRow {
    const char* name;
    InputTexts inputs;
    Regime regime;
    const char* sigmaMax; // by hand; null where only the balance is checked
    const char* T;
};

class Regimes : public testing::TestWithParam<RegimeRow> {};

TEST_P(Regimes, EachIsReachedAndBalanced) {
    const CompatibilityState s = solve(GetParam().inputs);
    ASSERT_EQ(s.regime, GetParam().regime) << s.message;
    TextSink sink;
    makeCompatibilityResults(s, sink);
    if (GetParam().sigmaMax) {
        EXPECT_EQ(sink.result().qmaxt, GetParam().sigmaMax);
        EXPECT_EQ(sink.result().tt, GetParam().T);
    }
    const Misses m = independentMisses(GetParam().inputs, s);
    EXPECT_LT(m.force, 1e-9);
    // Alike bolt forces keep the moment of the layout itself, whose rounded angles leave the
    // bolts' centroid about 2e-8·R off the centre.
    EXPECT_LT(m.moment, s.regime == Regime::UniformTension ? 1e-7 : 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Regimes,
    testing::Values(
        // σ = P/A = 1000e3 / (π·760²)
        RegimeRow{"AxialCompression",
                  {"1000", "0", "1520", "1620", "18"},
                  Regime::UniformCompression,
                  ".55",
                  ".00"},
        // −P/n = 1800/18 on every bolt
        RegimeRow{"AxialTension",
                  {"-1800", "0", "1520", "1620", "18"},
                  Regime::UniformTension,
                  ".00",
                  "100.00"},
        // y_n ≤ −R: σmax = 4P/(πd²) + 32M/(πd³), the elastic stress of the whole circle
        RegimeRow{"WholeCircleCompressed",
                  {"5000", "100", "1520", "1620", "18"},
                  Regime::FullCompression,
                  "3.05",
                  ".00"},
        // the circle is compressed throughout, and yet the outermost bolts are stretched
        RegimeRow{"WholeCircleAndOuterBolts",
                  {"5000", "950", "1520", "1620", "18"},
                  Regime::FullCompression,
                  nullptr,
                  nullptr},
        RegimeRow{
            "BendingAlone", {"0", "1000", "1520", "1620", "18"}, Regime::Partial, nullptr, nullptr},
        RegimeRow{"NoBoltsCompressionInsideTheCircle",
                  {"1000", "300", "1520", "1620", "0"},
                  Regime::Partial,
                  nullptr,
                  nullptr},
        RegimeRow{"BoltsInsideThePlate",
                  {"-500", "900", "1520", "1200", "12"},
                  Regime::Partial,
                  nullptr,
                  nullptr},
        RegimeRow{"Unloaded", {"0", "0", "1520", "1620", "18"}, Regime::Unloaded, ".00", ".00"}),
    [](const testing::TestParamInfo<RegimeRow>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------

struct RefusalRow {
    const char* name;
    InputTexts inputs;
    const char* message;
};

class Refusals : public testing::TestWithParam<RefusalRow> {};

TEST_P(Refusals, ClearMessageAndNoTexts) {
    TextSink sink;
    const CompatibilityState s = calculateCompatibility(GetParam().inputs, m36, c30, sink);
    EXPECT_EQ(s.regime, Regime::NoEquilibrium);
    EXPECT_EQ(s.message, GetParam().message);
    EXPECT_TRUE(sink.order().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Refusals,
    testing::Values(
        RefusalRow{"TensionWithoutBolts",
                   {"-100", "0", "1520", "1620", "0"},
                   "应变协调法无平衡解：没有锚栓，底板不能承受拉力或纯弯矩"},
        RefusalRow{"EccentricityBeyondThePlate",
                   {"100", "100", "1520", "1620", "0"},
                   "应变协调法无平衡解：没有锚栓，偏心距 M/P 不小于底板半径 d/2"},
        // one bolt off the centre cannot carry an uplift without a moment of its own
        RefusalRow{"UpliftOnOneEccentricBolt",
                   {"-100", "0", "1520", "1620", "1"},
                   "应变协调法无平衡解：锚栓不能承担此拉力与弯矩（偏心超出锚栓群所能平衡的范围）"}),
    [](const testing::TestParamInfo<RefusalRow>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------

TEST(Balance, RealisticBasesAgainstAnIndependentIntegration) {
    std::mt19937_64 rng(16);
    int solved = 0;
    for (int k = 0; k < 400; ++k) {
        const InputTexts t = realisticBase(rng);
        const CompatibilityState s = solve(t);
        const std::string label = t[0] + " " + t[1] + " " + t[2] + " " + t[3] + " " + t[4];
        if (s.regime == Regime::NoEquilibrium) {
            // Only a base that has no bolt for a tension or an eccentric load is refused.
            EXPECT_LE(std::stoi(t[4]), 1) << label;
            continue;
        }
        ++solved;
        const Misses m = independentMisses(t, s);
        EXPECT_LT(m.force, 1e-9) << label;
        EXPECT_LT(m.moment, 1e-9) << label;
        EXPECT_LT(m.bearing, 1e-9) << label;
        EXPECT_LT(m.bearingMoment, 1e-9) << label;
    }
    EXPECT_GT(solved, 350);
}

TEST(Balance, MirroredNumberingOfTheBoltsChangesNothing) {
    // Bolts numbered the other way round the circle: the same positions, another order.
    std::mt19937_64 rng(61);
    for (int k = 0; k < 100; ++k) {
        const InputTexts t = realisticBase(rng);
        const BaseInput in = makeBaseInput(t[0], t[1], t[2], t[3], t[4]);
        const BoltLayout layout = layOutBolts(in);
        BoltLayout mirrored = layout;
        for (int i = 2; i <= layout.count; ++i)
            mirrored.a[i] = layout.a[layout.count + 2 - i];
        const CompatibilityState a = solveCompatibility(in, layout, m36, c30);
        const CompatibilityState b = solveCompatibility(in, mirrored, m36, c30);
        TextSink sa, sb;
        if (a.regime != Regime::NoEquilibrium) makeCompatibilityResults(a, sa);
        if (b.regime != Regime::NoEquilibrium) makeCompatibilityResults(b, sb);
        EXPECT_EQ(a.regime, b.regime);
        for (ResultBox box : allResultBoxes)
            EXPECT_EQ(sa.result()[box], sb.result()[box]) << boxName(box) << " " << t[4];
    }
}

TEST(ModularRatio, ByGradeAndItsRange) {
    EXPECT_NEAR(resolveDesign({}).nE, 6.8667, 5e-5);
    DesignInput typed;
    typed.concrete = "C50";
    EXPECT_NEAR(resolveDesign(typed).nE, 2.06 / 0.345, 1e-12);
    typed.modularRatio = 10;
    EXPECT_EQ(resolveDesign(typed).nE, 10);
    for (double bad : {0.99, 50.01, std::nan("")}) {
        typed.modularRatio = bad;
        try {
            resolveDesign(typed);
            ADD_FAILURE() << bad;
        } catch (const TarvelError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::OutOfRange);
            EXPECT_EQ(e.field(), InputField::modularRatio);
        }
    }
}

// ---------------------------------------------------------------------------------------

TEST(Envelope, EachCheckTakesTheLargerRatio) {
    struct Row {
        CheckId id;
        double elastic, compatibility;
        bool checked;
        const char* remark;
    };
    const Row rows[] = {
        {CheckId::Bolt, 0.5, 0.4, true, "由弹性受压区法控制"},
        {CheckId::Bearing, 0.2, 0.6, true, "由应变协调法控制"},
        {CheckId::Shear, 0.3, 0.3, true, "由弹性受压区法控制"}, // a tie stays elastic
        {CheckId::Equilibrium, 0.4, 1.2, true, "由应变协调法控制"},
        {CheckId::Plate, 0, 0, false, ""}, // not part of this design: left alone
    };
    DesignChecks elastic, compatibility;
    for (const Row& r : rows) {
        Check& e = elastic.checks[static_cast<int>(r.id)];
        Check& c = compatibility.checks[static_cast<int>(r.id)];
        e.checked = c.checked = r.checked;
        e.ratio = r.elastic;
        c.ratio = r.compatibility;
        e.ok = r.elastic <= 1;
        c.ok = r.compatibility <= 1;
    }
    const DesignChecks env = envelopeChecks(elastic, compatibility);
    for (const Row& r : rows) {
        EXPECT_EQ(env[r.id].ratio, std::max(r.elastic, r.compatibility));
        EXPECT_EQ(env[r.id].remark, r.remark);
    }
    EXPECT_FALSE(env.ok);
}

TEST(Envelope, DefaultBaseAndAnElasticResultLeftOut) {
    DesignInput design;
    design.method = AnalysisMethod::Envelope;
    design.V = 600;
    const ComputedCase kept = computeCase(defaultInputs, design, 1);
    ASSERT_EQ(kept.status, CaseStatus::Ok);
    EXPECT_EQ(kept.shownMethod, AnalysisMethod::Elastic);
    EXPECT_EQ(kept.result.qmaxt, "3.20");
    EXPECT_EQ(kept.checks[CheckId::Bolt].demandText, "112.00");    // elastic T 112 > 63.11
    EXPECT_EQ(kept.checks[CheckId::Bearing].demandText, "5.90");   // compatibility σ 5.90 > 3.20
    EXPECT_EQ(kept.checks[CheckId::Shear].capacityText, "566.72"); // 0.4 × C 1416.80 < 1555.01
    EXPECT_EQ(kept.boltForces.size(), 18u);

    const ComputedCase left = computeCase({"-826", "7250", "2390", "2730", "10"}, design, 1);
    ASSERT_EQ(left.status, CaseStatus::Ok);
    EXPECT_EQ(left.shownMethod, AnalysisMethod::Compatibility);
    EXPECT_EQ(left.result.tt, "986.34");
    EXPECT_NE(left.methodRemark.find("未采用"), std::string::npos) << left.methodRemark;
    EXPECT_EQ(left.checks[CheckId::Bolt].remark.rfind("由应变协调法控制", 0), 0u);
}

} // namespace

namespace {

// An annular plate (a central hole d_h): the bearing is the annulus. Figures of an independent
// strip integration over the annulus (0.004 mm strips, bisection on the neutral axis).
struct HoleRow {
    const char* name;
    InputTexts inputs;
    double hole;
    double x, sigmaMax, C, T; // mm, N/mm², kN, kN
};

void PrintTo(const HoleRow& r, std::ostream* os) {
    *os << r.name;
}

class AnnularPlate : public testing::TestWithParam<HoleRow> {};

TEST_P(AnnularPlate, BearsOnTheAnnulus) {
    const HoleRow& row = GetParam();
    const BaseInput in =
        makeBaseInput(row.inputs[0], row.inputs[1], row.inputs[2], row.inputs[3], row.inputs[4]);
    const CompatibilityState s = solveCompatibility(in, layOutBolts(in), m36, c30, row.hole);
    EXPECT_NEAR(s.x, row.x, 0.05);
    EXPECT_NEAR(s.sigmaMax, row.sigmaMax, 5e-4);
    EXPECT_NEAR(s.C / 1000, row.C, 0.01);
    EXPECT_NEAR(s.T, row.T, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AnnularPlate,
    testing::Values(
        // The default base with an 800 mm hole (a full disc: x 540, σ 5.90, T 63.11).
        HoleRow{
            "Partial", {"1000", "1000", "1520", "1620", "18"}, 800, 552.17, 6.0021, 1406.57, 62.05},
        // M = 0: P over the annulus π/4·(1520² − 800²) = 1311946 mm².
        HoleRow{"Uniform", {"1000", "0", "1520", "1620", "18"}, 800, 1520, 0.7622, 1000, 0},
        // Wholly compressed: y_n = −P·(R² + r²)/(4M) = −9220 mm, σ = P/A + M·R/I.
        HoleRow{
            "WhollyCompressed", {"5000", "100", "1520", "1620", "18"}, 800, 1520, 4.1253, 5000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
