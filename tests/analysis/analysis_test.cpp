// Input conversion, bolt layout and the elastic check.

#include "analysis/analysis.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace tarvel;

namespace {

BaseInput defaults() {
    return makeBaseInput("1000", "1000", "1520", "1620", "18");
}

TEST(MakeBaseInput, DefaultsInEngineUnits) {
    const BaseInput in = defaults();
    EXPECT_EQ(in.P, 1000000.0);
    EXPECT_EQ(in.M, 1000000000.0);
    EXPECT_EQ(in.d, 1520.0);
    EXPECT_EQ(in.D, 1620.0);
    EXPECT_EQ(in.n, 18);
    EXPECT_EQ(makeBaseInput("1000", "-1000", "1520", "1620", "18").M, 1000000000.0);
}

struct CountRow {
    const char* name;
    const char* text;
    int bolts;
};

class BoltCount : public testing::TestWithParam<CountRow> {};

TEST_P(BoltCount, RoundsHalvesToEven) {
    const BaseInput in = makeBaseInput("1000", "1000", "1520", "1620", GetParam().text);
    EXPECT_EQ(in.n, GetParam().bolts);
    const BoltLayout layout = layOutBolts(in);
    EXPECT_EQ(layout.count, std::max(0, GetParam().bolts));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BoltCount,
    testing::Values(CountRow{"HalfDown", "18.5", 18}, CountRow{"HalfUp", "19.5", 20},
                    CountRow{"Hundred", "100", 100}, CountRow{"Zero", "0", 0},
                    CountRow{"Negative", "-3", -3}, CountRow{"Spaces", " 4 ", 4}),
    [](const testing::TestParamInfo<CountRow>& info) { return std::string(info.param.name); });

struct FailureRow {
    const char* name;
    const char* p;
    const char* m;
    const char* d;
    const char* bigD;
    const char* n;
    ErrorKind kind;
    InputField field;
    const char* message;
};

class InputFailures : public testing::TestWithParam<FailureRow> {};

TEST_P(InputFailures, NameTheInputAndTheClass) {
    const FailureRow& row = GetParam();
    EXPECT_TRUE(throwsError(
        [&] {
            const BaseInput in = makeBaseInput(row.p, row.m, row.d, row.bigD, row.n);
            layOutBolts(in);
            checkElastic(in);
        },
        {row.kind, row.field, row.message}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputFailures,
    testing::Values(
        FailureRow{"EmptyN", "1000", "1000", "1520", "1620", "", ErrorKind::TypeMismatch,
                   InputField::n, "「锚栓个数」不是有效的数字"},
        FailureRow{"LettersD", "1000", "1000", "abc", "1620", "x", ErrorKind::TypeMismatch,
                   InputField::d, "「d(mm)」不是有效的数字"},
        FailureRow{"FirstBadTextWins", "p", "m", "1520", "1620", "18", ErrorKind::TypeMismatch,
                   InputField::P, "「P(kN)」不是有效的数字"},
        FailureRow{"BadBigD", "1000", "1000", "1520", "1,620", "18", ErrorKind::TypeMismatch,
                   InputField::D, "「D(mm)」不是有效的数字"},
        FailureRow{"PTimesThousand", "1e306", "1000", "1520", "1620", "18", ErrorKind::Overflow,
                   InputField::P, "「P(kN)」的数值超出范围"},
        FailureRow{"MTimesMillion", "1000", "-1e303", "1520", "1620", "18", ErrorKind::Overflow,
                   InputField::M, "「M(kN)」的数值超出范围"},
        FailureRow{"CountBeyond16Bit", "1000", "1000", "1520", "1620", "40000", ErrorKind::Overflow,
                   InputField::n, "「锚栓个数」的数值超出范围"},
        FailureRow{"CountBelow16Bit", "1000", "1000", "1520", "1620", "-32768.6",
                   ErrorKind::Overflow, InputField::n, "「锚栓个数」的数值超出范围"},
        FailureRow{"Bolt101", "1000", "1000", "1520", "1620", "101", ErrorKind::SubscriptOutOfRange,
                   InputField::n, "「锚栓个数」不能超过 100"},
        FailureRow{"Bolt101EvenInFullTension", "-1000", "0", "1520", "1620", "101",
                   ErrorKind::SubscriptOutOfRange, InputField::n, "「锚栓个数」不能超过 100"},
        FailureRow{"ZeroD", "1000", "1000", "0", "1620", "18", ErrorKind::DivisionByZero,
                   InputField::d, "「d(mm)」不能为 0"},
        FailureRow{"ZeroDZeroLoad", "0", "1000", "0", "1620", "18", ErrorKind::Overflow,
                   InputField::d, "「d(mm)」不能为 0"},
        FailureRow{"DSoSmallItsSquareIsZero", "1000", "1000", "1e-170", "1620", "18",
                   ErrorKind::DivisionByZero, InputField::d, "「d(mm)」过小"},
        FailureRow{"DSoLargeItsCubeOverflows", "1000", "1000", "1e110", "1620", "18",
                   ErrorKind::Overflow, InputField::d, "「d(mm)」的数值超出范围"}),
    [](const testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.name); });

TEST(LayOutBolts, PiOfTheBoltAnglesShowsInTheCoordinates) {
    const BoltLayout a = layOutBolts(defaults());
    EXPECT_EQ(a.a[1], -809.9999999999989);
    EXPECT_EQ(a.a[10], 809.9999999999953);
    EXPECT_NEAR(a.a[4], -405.00005, 0.000005);
    const BoltLayout four = layOutBolts(makeBaseInput("1000", "1000", "1520", "1620", "4"));
    EXPECT_NEAR(four.a[2], -0.0000651, 0.0000001);
}

TEST(CheckElastic, DefaultFigures) {
    const ElasticCheck e = checkElastic(defaults());
    EXPECT_FALSE(e.refused);
    EXPECT_EQ(e.sigmaMax, 3.4515588896694016);
    EXPECT_EQ(e.sigmaMin, -2.3493804206993403);
    EXPECT_EQ(e.x0, 904.4000000000001);
}

struct TensionRow {
    const char* name;
    const char* p;
    const char* m;
    bool refused;
};

class FullTension : public testing::TestWithParam<TensionRow> {};

TEST_P(FullTension, RefusedOnlyWhenTheCompressedEdgeIsInTension) {
    const ElasticCheck e =
        checkElastic(makeBaseInput(GetParam().p, GetParam().m, "1520", "1620", "18"));
    EXPECT_EQ(e.refused, GetParam().refused);
}

INSTANTIATE_TEST_SUITE_P(Table, FullTension,
                         testing::Values(TensionRow{"Minus6000", "-6000", "1000", true},
                                         TensionRow{"Minus5000", "-5000", "1000", false},
                                         TensionRow{"PureTension", "-1000", "0", true},
                                         TensionRow{"NoLoad", "0", "0", false}),
                         [](const testing::TestParamInfo<TensionRow>& info) {
                             return std::string(info.param.name);
                         });

TEST(CheckElastic, WholeCircleInCompressionKeepsXAtD) {
    const ElasticCheck none = checkElastic(makeBaseInput("0", "0", "1520", "1620", "18"));
    EXPECT_EQ(none.sigmaMax, 0.0);
    EXPECT_EQ(none.sigmaMin, 0.0);
    EXPECT_EQ(none.x0, 1520.0);
    const ElasticCheck axial = checkElastic(makeBaseInput("1000", "0", "1520", "1620", "18"));
    EXPECT_EQ(axial.x0, 1520.0);
    const ElasticCheck small = checkElastic(makeBaseInput("1000", "10", "1520", "1620", "18"));
    EXPECT_GE(small.sigmaMin, 0.0);
    EXPECT_EQ(small.x0, 1520.0);
}

} // namespace
