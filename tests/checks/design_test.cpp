// The design checks against hand-computed values, and the exact equilibrium beside the search.

#include "checks/design.h"
#include "checks/methods.h"
#include "loads/loadcases.h"
#include "realistic_cases.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

using namespace tarvel;

namespace {

struct Expect {
    const char* demand;
    const char* capacity;
    const char* ratio;
    bool ok;
};

struct CheckRow {
    const char* name;
    InputTexts inputs;
    DesignInput design;
    Expect bolt, bearing, shear, equilibrium;
    bool verdict;
};

DesignInput with(const char* bolt, const char* steel, const char* concrete, double betaL = 1.0,
                 double V = 0, double friction = 0.4) {
    DesignInput d;
    d.bolt = bolt;
    d.steel = steel;
    d.concrete = concrete;
    d.betaL = betaL;
    d.V = V;
    d.friction = friction;
    return d;
}

class Checks : public testing::TestWithParam<CheckRow> {};

TEST_P(Checks, AgainstHandValues) {
    const CheckRow& row = GetParam();
    // Worked on the elastic method's texts.
    DesignInput design = row.design;
    design.method = AnalysisMethod::Elastic;
    const ComputedCase out = computeCase(row.inputs, design);
    ASSERT_EQ(out.status, CaseStatus::Ok) << out.message;
    ASSERT_TRUE(out.hasChecks);
    const Expect* expected[] = {&row.bolt, &row.bearing, &row.shear, &row.equilibrium};
    // Without a tube only these four are made.
    ASSERT_EQ(out.checks.made().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Check& c = *out.checks.made()[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.demandText, expected[i]->demand);
        EXPECT_EQ(c.capacityText, expected[i]->capacity);
        EXPECT_EQ(c.ratioText, expected[i]->ratio);
        EXPECT_EQ(c.ok, expected[i]->ok);
        // A failing check says what to do; a passing one has nothing to say.
        EXPECT_EQ(c.ok, c.remark.empty()) << c.remark;
    }
    EXPECT_EQ(out.checks.ok, row.verdict);
}

const InputTexts defaults{"1000", "1000", "1520", "1620", "18"};

// Capacities by hand: M36 A_e = π/4·(36 − 0.9382·4)² = 816.7 mm², ×180/1000 = 147.01 kN;
// M20 A_e = 244.8 mm², ×140/1000 = 34.27 kN; C30 14.3, C20 9.6 N/mm²; μ·C = 0.4 × 1555.01.
// Equilibrium of the defaults: |987.52 − 1000| / 1555.01 = 0.80 %.
INSTANTIATE_TEST_SUITE_P(
    Table, Checks,
    testing::Values(
        CheckRow{"Defaults",
                 defaults,
                 DesignInput{},
                 {"112.00", "147.01", "0.76", true},
                 {"3.20", "14.30", "0.22", true},
                 {"0.00", "622.00", "0.00", true},
                 {"0.80", "5.00", "0.16", true},
                 true},
        CheckRow{"FailingBolt",
                 defaults,
                 with("M20", "Q235", "C30"),
                 {"112.00", "34.27", "3.27", false},
                 {"3.20", "14.30", "0.22", true},
                 {"0.00", "622.00", "0.00", true},
                 {"0.80", "5.00", "0.16", true},
                 false},
        CheckRow{"WeakerConcreteStillBears",
                 {"1000", "1000", "1520", "1620", "18"},
                 with("M36", "Q355", "C20", 1.0),
                 {"112.00", "147.01", "0.76", true},
                 {"3.20", "9.60", "0.33", true},
                 {"0.00", "622.00", "0.00", true},
                 {"0.80", "5.00", "0.16", true},
                 true},
        CheckRow{"BearingOverCapacity",
                 {"20000", "1000", "800", "900", "100"},
                 with("M36", "Q355", "C30", 2.0),
                 {"0.00", "147.01", "0.00", true},
                 {"59.70", "28.60", "2.09", false},
                 {"0.00", "8001.44", "0.00", true},
                 {"0.06", "5.00", "0.01", true},
                 false},
        CheckRow{"FailingShear",
                 defaults,
                 with("M36", "Q355", "C30", 1.0, -700),
                 {"112.00", "147.01", "0.76", true},
                 {"3.20", "14.30", "0.22", true},
                 {"700.00", "622.00", "1.13", false},
                 {"0.80", "5.00", "0.16", true},
                 false},
        CheckRow{"FullCompression",
                 {"1000", "0", "1520", "1620", "18"},
                 DesignInput{},
                 {"0.00", "147.01", "0.00", true},
                 {"0.60", "14.30", "0.04", true},
                 {"0.00", "417.76", "0.00", true},
                 {"4.15", "5.00", "0.83", true},
                 true},
        // 0.5 × 1555.01 is exactly the double of 777.505: the ratio is exactly 1 and holds.
        CheckRow{"RatioExactlyOne",
                 defaults,
                 with("M36", "Q355", "C30", 1.0, 777.505, 0.5),
                 {"112.00", "147.01", "0.76", true},
                 {"3.20", "14.30", "0.22", true},
                 {"777.51", "777.51", "1.00", true},
                 {"0.80", "5.00", "0.16", true},
                 true},
        // A hair above 1 never reads as 1.00.
        CheckRow{"RatioJustAboveOne",
                 defaults,
                 with("M36", "Q355", "C30", 1.0, 777.5051, 0.5),
                 {"112.00", "147.01", "0.76", true},
                 {"3.20", "14.30", "0.22", true},
                 {"777.51", "777.51", "1.0000001", false},
                 {"0.80", "5.00", "0.16", true},
                 false}),
    [](const testing::TestParamInfo<CheckRow>& info) { return std::string(info.param.name); });

TEST(DesignTables, EffectiveAreas) {
    const auto area = [](const char* name) {
        for (const BoltSize& s : boltSizes())
            if (std::string(s.name) == name) return effectiveArea(s);
        return 0.0;
    };
    EXPECT_NEAR(area("M36"), 816.7, 0.05);
    EXPECT_NEAR(area("M20"), 244.8, 0.05);
    EXPECT_NEAR(area("M100"), 6994.64, 0.01); // π/4 · (100 − 0.9382 × 6)²
    EXPECT_EQ(boltSizes().size(), 23u);
}

struct RemarkRow {
    const char* name;
    InputTexts inputs;
    const char* remarkStart;
    const char* remarkHolds; // a further piece the remark must hold
};

class EquilibriumMiss : public testing::TestWithParam<RemarkRow> {};

TEST_P(EquilibriumMiss, NamesItsCause) {
    DesignInput elastic; // the search's misses
    elastic.method = AnalysisMethod::Elastic;
    const ComputedCase out = computeCase(GetParam().inputs, elastic);
    ASSERT_EQ(out.status, CaseStatus::Ok);
    const Check& eq = out.checks[CheckId::Equilibrium];
    EXPECT_FALSE(eq.ok);
    EXPECT_FALSE(out.checks.ok) << "a state out of equilibrium never passes";
    EXPECT_EQ(eq.remark.rfind(GetParam().remarkStart, 0), 0u) << eq.remark;
    EXPECT_NE(eq.remark.find(GetParam().remarkHolds), std::string::npos) << eq.remark;
}

INSTANTIATE_TEST_SUITE_P(Table, EquilibriumMiss,
                         testing::Values(RemarkRow{"ForceAtTheCeiling",
                                                   {"1000", "7200", "1520", "1620", "18"},
                                                   "锚栓拉力需 1105 kN，超出搜索上限 1002 kN",
                                                   ""},
                                         RemarkRow{"NoBoltForceFound",
                                                   {"-826", "7250", "2390", "2730", "10"},
                                                   "搜索未找到锚栓拉力（T = 0）",
                                                   "T = 1350.76 kN（超出搜索上限 1002 kN）"},
                                         RemarkRow{"TensionCase",
                                                   {"-4000", "800", "1520", "1620", "18"},
                                                   "以受拉为主的荷载与弹性受压区长度不相适应",
                                                   "此荷载组合无平衡解"}),
                         [](const testing::TestParamInfo<RemarkRow>& info) {
                             return std::string(info.param.name);
                         });

// The exact solution balances both equations, and agrees with the search where the search
// converged (within its steps: 0.1 N/mm² and 1 kN, and the rounding of the texts).
class Refined : public testing::TestWithParam<InputTexts> {};

TEST_P(Refined, BalancesAndAgreesWithTheSearch) {
    const InputTexts& in = GetParam();
    const ComputedCase out = computeCase(in, DesignInput{});
    ASSERT_EQ(out.status, CaseStatus::Ok);
    const RefinedEquilibrium& r = out.checks.refined;
    ASSERT_EQ(r.status, RefinedEquilibrium::Status::Solved);
    const double P = std::stod(in[0]), M = std::stod(in[1]);
    EXPECT_NEAR(r.forceSum, P, 1e-9 * std::max(1.0, std::fabs(P)));
    EXPECT_NEAR(r.momentSum, M, 1e-9 * std::max(1.0, M));
    ASSERT_TRUE(out.checks[CheckId::Equilibrium].ok);
    EXPECT_NEAR(r.qmax, std::stod(out.result.qmaxt), 0.15);
    EXPECT_NEAR(r.T, std::stod(out.result.tt), 0.02 * r.T + 2);
}

INSTANTIATE_TEST_SUITE_P(Table, Refined,
                         testing::Values(InputTexts{"1000", "1000", "1520", "1620", "18"},
                                         InputTexts{"5000", "5000", "1520", "1620", "18"},
                                         InputTexts{"-500", "200", "800", "900", "8"},
                                         InputTexts{"1000", "6000", "1520", "1620", "18"}));

TEST(Refined, FullCompressionBalancesTheForceWithoutBolts) {
    const ComputedCase out = computeCase({"1000", "0", "1520", "1620", "18"}, DesignInput{});
    const RefinedEquilibrium& r = out.checks.refined;
    EXPECT_EQ(r.status, RefinedEquilibrium::Status::ForceOnly);
    EXPECT_EQ(r.T, 0);
    EXPECT_NEAR(r.forceSum, 1000, 1e-9);
    EXPECT_NEAR(r.qmax, 0.5510892344850306, 1e-3); // the elastic σN of a uniform load
}

// The exact equilibrium of seeded bases to the last bit (a digest of every field), whichever
// calculation ran on the thread before: each base's own search runs first for half of them,
// another base's for the rest.
TEST(Refined, SameBitsWhateverRanBefore) {
    std::mt19937_64 rng(23);
    std::uint64_t digest = 0;
    auto mix = [&digest](double v) {
        digest = (digest ^ std::bit_cast<std::uint64_t>(v)) * 0x100000001b3;
    };
    for (int i = 0; i < 400; ++i) {
        const InputTexts in = realisticBase(rng);
        Analysis a;
        try {
            a = analyze(in);
        } catch (const TarvelError&) {
            continue;
        }
        if (a.check.refused) continue;
        if (i % 2 == 0) {
            TextSink sink;
            calculate(in, sink, {}, '.', 1);
        }
        const RefinedEquilibrium r = solveEquilibrium(a);
        mix(static_cast<double>(r.status));
        for (double v : {r.qmax, r.T, r.C, r.Mc, r.F, r.Mb, r.forceSum, r.momentSum})
            mix(v);
    }
    EXPECT_EQ(digest,
              9702416972022919288u); // recorded from the strip loop of the exact equilibrium
}

TEST(GeometryRemarks, NameWhatLooksWrong) {
    const auto remarks = [](InputTexts in) {
        return computeCase(in, DesignInput{}).checks.geometryRemarks;
    };
    EXPECT_TRUE(remarks({"1000", "1000", "1520", "1620", "18"}).empty());
    const auto inside = remarks({"1000", "100", "1520", "1400", "3"});
    ASSERT_EQ(inside.size(), 2u);
    EXPECT_EQ(inside[0], "锚栓中心圆位于底板受压圆以内（D ≤ d）");
    EXPECT_EQ(inside[1], "锚栓少于 4 个");
    const auto crowded = remarks({"20000", "1000", "800", "900", "100"});
    ASSERT_EQ(crowded.size(), 1u);
    EXPECT_EQ(crowded[0], "锚栓间距 π·D/n = 28.27 mm 小于锚栓直径 36 mm，锚栓相互重叠");
    const auto negativeM = remarks({"1000", "-1000", "1520", "1620", "18"});
    ASSERT_EQ(negativeM.size(), 1u);
    EXPECT_EQ(negativeM[0], "弯矩 M 应填正值，输入 -1000 按其绝对值计算");
}

// A base that cannot exist gets no verdict, whether the checks come with the calculation or
// after it (as in the window); the plain calculation is not the design layer's to refuse.
struct UnrealBaseRow {
    const char* name;
    InputTexts inputs;
    InputField field;
    const char* message;
};

class UnrealBase : public testing::TestWithParam<UnrealBaseRow> {};

TEST_P(UnrealBase, NoVerdictAndTheInputNamed) {
    const UnrealBaseRow& row = GetParam();
    const ComputedCase out = computeCase(row.inputs, DesignInput{});
    EXPECT_EQ(out.status, CaseStatus::Error);
    EXPECT_FALSE(out.hasChecks);
    EXPECT_EQ(out.message, row.message);
    const ComputedCase plain = computeCase(row.inputs, DesignInput{}, 0, false);
    if (plain.status != CaseStatus::Ok) return;
    try {
        checkDesign(analyze(row.inputs), row.inputs, plain.result, DesignInput{});
        FAIL() << "checked";
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.field(), row.field);
        EXPECT_STREQ(e.what(), row.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnrealBase,
    testing::Values(UnrealBaseRow{"NoBolts",
                                  {"1000", "1000", "1520", "1620", "0"},
                                  InputField::n,
                                  "「锚栓个数」应为正整数（输入为 0），不能作设计验算"},
                    UnrealBaseRow{"NegativeBolts",
                                  {"1000", "1000", "1520", "1620", "-3"},
                                  InputField::n,
                                  "「锚栓个数」应为正整数（输入为 -3），不能作设计验算"},
                    UnrealBaseRow{"FractionalBolts",
                                  {"1000", "1000", "1520", "1620", "2.5"},
                                  InputField::n,
                                  "「锚栓个数」应为整数（输入为 2.5），不能作设计验算"},
                    UnrealBaseRow{"ZeroBoltCircle",
                                  {"1000", "1000", "1520", "0", "18"},
                                  InputField::D,
                                  "「D(mm)」应大于 0（输入为 0），不能作设计验算"},
                    UnrealBaseRow{"NegativeBoltCircle",
                                  {"1000", "1000", "1520", "-1620", "18"},
                                  InputField::D,
                                  "「D(mm)」应大于 0（输入为 -1620），不能作设计验算"},
                    UnrealBaseRow{"NegativePlate",
                                  {"1000", "1000", "-1520", "1620", "18"},
                                  InputField::d,
                                  "「d(mm)」应大于 0（输入为 -1520），不能作设计验算"},
                    UnrealBaseRow{"ZeroPlate",
                                  {"1000", "1000", "0", "1620", "18"},
                                  InputField::d,
                                  "「d(mm)」应大于 0（输入为 0），不能作设计验算"}),
    [](const testing::TestParamInfo<UnrealBaseRow>& info) { return std::string(info.param.name); });

struct BadDesignRow {
    const char* name;
    DesignInput design;
    ErrorKind kind;
    InputField field;
    const char* message;
};

class BadDesign : public testing::TestWithParam<BadDesignRow> {};

TEST_P(BadDesign, TypedErrorNamingTheInput) {
    try {
        resolveDesign(GetParam().design);
        FAIL() << "accepted";
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.kind(), GetParam().kind);
        EXPECT_EQ(e.field(), GetParam().field);
        EXPECT_STREQ(e.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadDesign,
    testing::Values(
        BadDesignRow{"UnknownBolt", with("M37", "Q355", "C30"), ErrorKind::UnknownChoice,
                     InputField::bolt,
                     "「锚栓规格」没有“M37”这一规格，可选：M20、M22、M24、M27、M30、M33、M36、M39、"
                     "M42、M45、M48、M52、M56、M60、M64、M68、M72、M76、M80、M85、M90、M95、M100"},
        BadDesignRow{"UnknownSteel", with("M36", "Q345", "C30"), ErrorKind::UnknownChoice,
                     InputField::steel, "「锚栓钢材」没有“Q345”这一牌号，可选：Q235、Q355、Q390"},
        BadDesignRow{"UnknownConcrete", with("M36", "Q355", "C65"), ErrorKind::UnknownChoice,
                     InputField::concrete,
                     "「混凝土强度等级」没有“C65”这一等级，可选：C20、C25、C30、C35、C40、C45、"
                     "C50、C55、C60"},
        BadDesignRow{"BetaBelowOne", with("M36", "Q355", "C30", 0.99), ErrorKind::OutOfRange,
                     InputField::betaL, "「局部受压提高系数 βl」应在 1.0 至 3.0 之间"},
        BadDesignRow{"BetaAboveThree", with("M36", "Q355", "C30", 3.01), ErrorKind::OutOfRange,
                     InputField::betaL, "「局部受压提高系数 βl」应在 1.0 至 3.0 之间"},
        BadDesignRow{"FrictionZero", with("M36", "Q355", "C30", 1, 0, 0), ErrorKind::OutOfRange,
                     InputField::friction, "「摩擦系数 μ」应大于 0 且不大于 1"},
        BadDesignRow{"FrictionAboveOne", with("M36", "Q355", "C30", 1, 0, 1.01),
                     ErrorKind::OutOfRange, InputField::friction,
                     "「摩擦系数 μ」应大于 0 且不大于 1"},
        BadDesignRow{"ShearNotFinite", with("M36", "Q355", "C30", 1, INFINITY), ErrorKind::Overflow,
                     InputField::V, "「剪力 V(kN)」的数值超出范围"}),
    [](const testing::TestParamInfo<BadDesignRow>& info) { return std::string(info.param.name); });

TEST(DesignInputs, LowerCaseNamesAreTheTablesNames) {
    const DesignData data = resolveDesign(with("m36", "q355", "c30"));
    EXPECT_EQ(data.input.bolt, "M36");
    EXPECT_EQ(data.input.steel, "Q355");
    EXPECT_EQ(data.input.concrete, "C30");
}

TEST(DesignInputs, ShearThatIsNoNumber) {
    try {
        designNumber("abc", InputField::V);
        FAIL();
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::TypeMismatch);
        EXPECT_STREQ(e.what(), "「剪力 V(kN)」不是有效的数字");
    }
}

TEST(CaseOutcomes, RefusalAndFailureGiveNoChecks) {
    DesignInput elastic; // the envelope would balance this case on the bolts
    elastic.method = AnalysisMethod::Elastic;
    const ComputedCase refused = computeCase({"-1000", "0", "1520", "1620", "18"}, elastic);
    EXPECT_EQ(refused.status, CaseStatus::Refused);
    EXPECT_FALSE(refused.hasChecks);
    const ComputedCase failed = computeCase({"abc", "0", "1520", "1620", "18"}, DesignInput{});
    EXPECT_EQ(failed.status, CaseStatus::Error);
    EXPECT_FALSE(failed.hasChecks);
    EXPECT_EQ(failed.message, "「P(kN)」不是有效的数字");
    const ComputedCase badDesign =
        computeCase({"1000", "1000", "1520", "1620", "18"}, with("M37", "Q355", "C30"));
    EXPECT_EQ(badDesign.status, CaseStatus::Error);
    EXPECT_TRUE(badDesign.written.empty()) << "a bad design input fails before any text";
}

TEST(BoltForces, FollowTheRatiosOfTheSearch) {
    const Analysis a = analyze({"1000", "1000", "1520", "1620", "18"});
    const std::vector<float> f = boltForces(a, 112);
    ASSERT_EQ(f.size(), 19u);
    EXPECT_EQ(f[1], 112.0f); // bolt 1 carries T
    for (int i = 2; i <= 18; ++i)
        EXPECT_LE(f[i], f[1]);
    EXPECT_EQ(f[10], 0.0f); // bolt 10 lies at the compressed edge
    // Their sum is the bolt resultant the search kept (567.49 kN), up to single rounding.
    double sum = 0;
    for (int i = 1; i <= 18; ++i)
        sum += f[i];
    EXPECT_NEAR(sum, 567.487, 0.01);
}

} // namespace
