// The equilibrium search and the result texts, from the five input texts.

#include "analysis/calculation.h"
#include "analysis/search_detail.h"
#include "core/number.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace tarvel;

namespace {

std::vector<std::string> texts(const InputTexts& t) {
    TextSink sink;
    EXPECT_EQ(calculate(t, sink), Outcome::Done);
    std::vector<std::string> out;
    for (ResultBox box : sink.order())
        out.push_back(sink.result()[box]);
    return out;
}

TEST(Search, DefaultInputsKeepTheThirtySecondTrial) {
    const Analysis c = analyze(defaultInputs);
    EXPECT_EQ(sweepEnd(c.check), 4.451559066772461f);
    const SweepFigures f = sweepFigures(c.input, c.layout, c.check);
    EXPECT_EQ(f.trials, 44);
    EXPECT_EQ(f.strips, 9045);
    EXPECT_EQ(f.firstY, -144.39999389648438f);
    EXPECT_EQ(f.lastY, 759.9611206054688f);
    EXPECT_EQ(f.b1, 665.5999755859375f);

    std::vector<float> trials;
    float first = 0, last = 0;
    SearchProgress progress{[&](float lo, float hi) { first = lo, last = hi; },
                            [&](float s) { trials.push_back(s); }};
    const BestFit fit = searchEquilibriumReference(c.input, c.layout, c.check, progress);
    EXPECT_EQ(first, 0.1f);
    EXPECT_EQ(last, 4.451559066772461f);
    ASSERT_EQ(trials.size(), 44u);
    EXPECT_EQ(trials.front(), 0.1f);
    EXPECT_EQ(trials[2], static_cast<float>(0.30000000000000004));
    EXPECT_EQ(trials.back(), static_cast<float>(4.4));

    EXPECT_EQ(fit.qmax, 3.2000000000000015);
    EXPECT_EQ(fit.T, 112);
    EXPECT_EQ(fit.c, 392.5744375969475);
    EXPECT_EQ(fit.c2, 676.0381469726562f);
    EXPECT_EQ(fit.fq, 1555009.625f);
    EXPECT_EQ(fit.mq, 610457028.9922153);
    EXPECT_EQ(fit.fms, 567487.0f);
    EXPECT_EQ(fit.mms, 383642848.0f);
    EXPECT_EQ(fit.residual, 12477.375);
}

TEST(Search, FullCompressionHasNoBoltTension) {
    const Analysis c = analyze({"1000", "0", "1520", "1620", "18"});
    ASSERT_EQ(c.check.x0, c.input.d);
    const SweepFigures f = sweepFigures(c.input, c.layout, c.check);
    EXPECT_EQ(f.strips, 15201);
    EXPECT_EQ(f.firstY, -760.0f);
    EXPECT_EQ(f.lastY, 759.9230346679688f);
    const BestFit fit = searchEquilibriumReference(c.input, c.layout, c.check);
    EXPECT_EQ(fit.T, 0);
    EXPECT_TRUE(fit.kept);
}

// Whole calculations whose texts are fixed: the defaults, the sound behaviours, and cases
// that take the unusual branches.
struct TextsRow {
    const char* name;
    InputTexts inputs;
    std::vector<std::string> expected;
};

class Texts : public testing::TestWithParam<TextsRow> {};

TEST_P(Texts, InOrder) {
    EXPECT_EQ(texts(GetParam().inputs), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Texts,
    testing::Values(TextsRow{"Defaults",
                             defaultInputs,
                             {"904.", "3.20", "112.00", "567.49", "383.64", "1555.01", "610.46",
                              "393.", "676.", "987.52", "994.1", "622."}},
                    TextsRow{"MomentSignIgnored",
                             {"1000", "-1000", "1520", "1620", "18"},
                             {"904.", "3.20", "112.00", "567.49", "383.64", "1555.01", "610.46",
                              "393.", "676.", "987.52", "994.1", "622."}},
                    TextsRow{"TypedForms",
                             {" 1e3 ", "1000.", "1520", "1.62e3", "17.5"},
                             {"904.", "3.20", "112.00", "567.49", "383.64", "1555.01", "610.46",
                              "393.", "676.", "987.52", "994.1", "622."}},
                    // The first strip lies just outside the circle: it has no width.
                    TextsRow{"StripOutsideCircle",
                             {"1000", "0", "1520.3", "1620", "18"},
                             {"1520.", ".60", ".00", "1.04", ".84", "1044.61", "8.48", "8.", "808.",
                              "1043.57", "9.32", "418."}},
                    // Without bolts the bolt sums are zero and their position is taken as 0.
                    TextsRow{"NoBolts",
                             {"1000", "1000", "1520", "1620", "0"},
                             {"904.", "2.10", ".00", ".00", ".00", "1020.48", "400.61", "393.", ".",
                              "1020.48", "400.61", "408."}},
                    // A tension no bearing pressure can balance: no trial is kept.
                    TextsRow{"NoTrialKept",
                             {"-1000", "1000", "1520", "1620", "0"},
                             {"616.", "2.35", ".00", ".00", ".00", ".00", ".00", ".", ".", "0", "0",
                              "."}}),
    [](const testing::TestParamInfo<TextsRow>& info) { return std::string(info.param.name); });

TEST(Search, TwoRunsGiveIdenticalTexts) {
    EXPECT_EQ(texts({"20000", "1000", "800", "900", "100"}),
              texts({"20000", "1000", "800", "900", "100"}));
}

TEST(Search, BoltForceNeverExceeds1002) {
    const Analysis c = analyze({"0", "1500", "1520", "1620", "4"});
    const BestFit fit = searchEquilibriumReference(c.input, c.layout, c.check);
    EXPECT_EQ(fit.T, 1002);
}

struct FailRow {
    const char* name;
    InputTexts inputs;
    ErrorKind kind;
    std::vector<std::string> written; // texts produced before the failure
    const char* message;
};

class SearchFailures : public testing::TestWithParam<FailRow> {};

TEST_P(SearchFailures, StopWhereTheyArise) {
    TextSink sink;
    EXPECT_TRUE(throwsError([&] { calculate(GetParam().inputs, sink); },
                            {GetParam().kind, std::nullopt, GetParam().message}));
    std::vector<std::string> written;
    for (ResultBox box : sink.order())
        written.push_back(sink.result()[box]);
    EXPECT_EQ(written, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchFailures,
    testing::Values(
        // sigma max is exactly 0 with tension at the far edge: the compression length is 0.
        FailRow{"ZeroCompressionLength",
                {"-8000", "1000", "1000", "1620", "18"},
                ErrorKind::Overflow,
                {"."},
                "计算中出现除以零"},
        FailRow{"TrialStressNeverRises",
                {"1e16", "1000", "1", "1620", "18"},
                ErrorKind::OutOfRange,
                {"1."},
                "输入超出可计算的范围：底板边缘应力过大，搜索无法结束"},
        FailRow{"StripNeverAdvances",
                {"1000", "1000", "5e6", "1620", "18"},
                ErrorKind::OutOfRange,
                {"5000000."},
                "输入超出可计算的范围：「d(mm)」过大，压应力积分无法结束"},
        FailRow{"TooManyTrials",
                {"1e16", "1000", "1520", "1620", "18"},
                ErrorKind::OutOfRange,
                {"1520."},
                "输入超出可计算的范围：底板边缘应力超过 1000000 N/mm²，计算量过大"},
        FailRow{"TooManyStripEvaluations",
                {"2e9", "0", "20000", "20500", "18"},
                ErrorKind::OutOfRange,
                {"20000."},
                "输入超出可计算的范围：荷载或直径过大，计算量超过一百亿次积分"},
        FailRow{"EdgeStressBeyondSingle",
                {"1e36", "0", "1", "1620", "18"},
                ErrorKind::Overflow,
                {"1."},
                "计算溢出：底板边缘应力超出单精度范围"}),
    [](const testing::TestParamInfo<FailRow>& info) { return std::string(info.param.name); });

TEST(SearchSteps, TheSingleStepStopsAdvancingBeyondTwoToThe21) {
    using detail::nextStrip;
    EXPECT_EQ(nextStrip(0x1p21f - 0.125f), 0x1p21f);
    EXPECT_EQ(nextStrip(0x1p21f), 0x1p21f);
    EXPECT_GT(nextStrip(-0x1p21f), -0x1p21f);
    const float below = std::nextafter(-0x1p21f, -1e30f);
    EXPECT_EQ(nextStrip(below), below);
    EXPECT_EQ(nextStrip(-144.39999389648438f), -144.29999f);
    // And the double step of the trial stress stops at 2^50.
    EXPECT_EQ(0x1p50 + 0.1, 0x1p50);
    EXPECT_GT(std::nextafter(0x1p50, 0.0) + 0.1, std::nextafter(0x1p50, 0.0));
}

} // namespace
