// Text to number and number to text, at the boundaries.

#include "core/number.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

using namespace tarvel;

namespace {

struct ParseRow {
    const char* name;
    const char* text;
    double value; // ignored when the text is refused
    bool accepted;
};

class TextToNumber : public testing::TestWithParam<ParseRow> {};

TEST_P(TextToNumber, AcceptsExactlyTheNumberGrammar) {
    const ParseRow& row = GetParam();
    if (row.accepted) {
        EXPECT_EQ(textToNumber(row.text), row.value);
    } else {
        EXPECT_TRUE(
            throwsError([&] { textToNumber(row.text, InputField::d); },
                        {ErrorKind::TypeMismatch, InputField::d, "「d(mm)」不是有效的数字"}))
            << row.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextToNumber,
    testing::Values(
        ParseRow{"Whole", "1000", 1000, true}, ParseRow{"Negative", "-6000", -6000, true},
        ParseRow{"Plus", "+5", 5, true}, ParseRow{"LeadingPoint", ".50", 0.5, true},
        ParseRow{"TrailingPoint", "904.", 904, true},
        ParseRow{"NegativeLeadingPoint", "-.25", -0.25, true},
        ParseRow{"Exponent", "1e3", 1000, true}, ParseRow{"ExponentUpper", "1.5E+2", 150, true},
        ParseRow{"ExponentNegative", "25e-1", 2.5, true},
        ParseRow{"SpacesAround", "  1e3 ", 1000, true}, ParseRow{"Underflow", "1e-400", 0, true},
        ParseRow{"Fraction", "1520.3", 1520.3, true}, ParseRow{"Empty", "", 0, false},
        ParseRow{"Spaces", "   ", 0, false}, ParseRow{"Letters", "abc", 0, false},
        ParseRow{"PointAlone", ".", 0, false}, ParseRow{"SignAlone", "-", 0, false},
        ParseRow{"TwoPoints", "1.2.3", 0, false}, ParseRow{"Comma", "1,5", 0, false},
        ParseRow{"EmptyExponent", "1e", 0, false}, ParseRow{"SpaceInside", "1 000", 0, false},
        ParseRow{"SpaceAfterSign", "- 5", 0, false}, ParseRow{"TrailingLetter", "12a", 0, false},
        ParseRow{"Hex", "0x10", 0, false}, ParseRow{"Infinity", "inf", 0, false},
        ParseRow{"NaN", "nan", 0, false}, ParseRow{"FullWidthDigits", "１０００", 0, false}),
    [](const testing::TestParamInfo<ParseRow>& info) { return std::string(info.param.name); });

TEST(TextToNumberRange, NumberBeyondADoubleIsAnOverflow) {
    EXPECT_TRUE(throwsError([] { textToNumber("1e309", InputField::P); },
                            {ErrorKind::Overflow, InputField::P, "「P(kN)」的数值超出范围"}));
    EXPECT_EQ(textToNumber("1.7976931348623157e308"), 1.7976931348623157e308);
}

TEST(TextToNumberSeparator, CommaSeparatorReplacesThePoint) {
    EXPECT_EQ(textToNumber("1,5", InputField::None, ','), 1.5);
    EXPECT_EQ(textToNumber(",50", InputField::None, ','), 0.5);
    EXPECT_THROW(textToNumber("1.5", InputField::None, ','), TarvelError);
    EXPECT_EQ(formatWithPattern(904.4, ".", ','), "904,");
    EXPECT_EQ(formatWithPattern(0.5, ".00", ','), ",50");
    EXPECT_EQ(numberToText(-2.5, ','), "-2,5");
}

struct FormatRow {
    const char* name;
    double value;
    const char* whole;    // pattern "."
    const char* twoPlace; // pattern ".00"
};

class Patterns : public testing::TestWithParam<FormatRow> {};

TEST_P(Patterns, RoundHalfAwayWithNoLeadingZero) {
    const FormatRow& row = GetParam();
    EXPECT_EQ(formatWithPattern(row.value, "."), row.whole);
    EXPECT_EQ(formatWithPattern(row.value, ".00"), row.twoPlace);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Patterns,
    testing::Values(FormatRow{"Compression", 904.4, "904.", "904.40"},
                    FormatRow{"RoundsUp", 1234.567, "1235.", "1234.57"},
                    FormatRow{"NoGrouping", 12345.678, "12346.", "12345.68"},
                    FormatRow{"BelowOne", 0.7, "1.", ".70"},
                    FormatRow{"SmallBelowOne", 0.3, ".", ".30"}, FormatRow{"Zero", 0, ".", ".00"},
                    FormatRow{"Negative", -5.678, "-6.", "-5.68"},
                    FormatRow{"NegativeBelowOne", -0.75, "-1.", "-.75"},
                    FormatRow{"HalfAwayFromZero", 2.5, "3.", "2.50"},
                    FormatRow{"NegativeHalf", -0.125, "-.", "-.13"},
                    FormatRow{"CarryThroughNines", 999.995, "1000.", "1000.00"},
                    FormatRow{"FifteenDigitsFirst", 2.675, "3.", "2.68"},
                    FormatRow{"Accumulated", 0.9999999999999999, "1.", "1.00"},
                    FormatRow{"Large", 1e20, "100000000000000000000.", "100000000000000000000.00"},
                    FormatRow{"Tiny", 1e-20, ".", ".00"}),
    [](const testing::TestParamInfo<FormatRow>& info) { return std::string(info.param.name); });

TEST(PatternsSingle, SingleIsFormattedFromItsSevenDigits) {
    // 567.485 as a single is 567.48498535...; its seven digits read 567.4850.
    EXPECT_EQ(formatWithPattern(567.485f, ".00"), "567.49");
    EXPECT_EQ(formatWithPattern(static_cast<double>(567.485f), ".00"), "567.48");
    EXPECT_EQ(formatWithPattern(676.0381469726562f, "."), "676.");
}

struct GeneralRow {
    const char* name;
    double value;
    const char* text;
};

class General : public testing::TestWithParam<GeneralRow> {};

TEST_P(General, ShortestFormWithFifteenDigits) {
    EXPECT_EQ(numberToText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, General,
    testing::Values(GeneralRow{"Sum", 1000.01, "1000.01"}, GeneralRow{"Zero", 0, "0"},
                    GeneralRow{"NegativeZero", -0.0, "0"}, GeneralRow{"Negative", -2.5, "-2.5"},
                    GeneralRow{"Half", 0.5, "0.5"}, GeneralRow{"Whole", 994, "994"},
                    GeneralRow{"Residue", 1234.67 - 1234.5, "0.170000000000073"},
                    GeneralRow{"Default", 610.46 + 383.64, "994.1"},
                    GeneralRow{"FifteenNines", 999999999999999, "999999999999999"},
                    GeneralRow{"LargeExponent", 1e15, "1E+15"},
                    GeneralRow{"Small", 0.0001, "0.0001"},
                    GeneralRow{"SmallExponent", 0.00001, "1E-05"},
                    GeneralRow{"Mantissa", -1.25e20, "-1.25E+20"}),
    [](const testing::TestParamInfo<GeneralRow>& info) { return std::string(info.param.name); });

// Every text made and read over seeded numbers of every size, to the last character and bit
// (a digest recorded from printf and strtod): the conversions are the texts the user reads.
TEST(NumberTexts, SameAsRecordedOverSeededNumbers) {
    std::mt19937_64 rng(29);
    std::uint64_t digest = 0;
    auto mixBits = [&digest](std::uint64_t v) { digest = (digest ^ v) * 0x100000001b3; };
    auto mix = [&mixBits](const std::string& text) {
        for (unsigned char c : text)
            mixBits(c);
        mixBits(0xff);
    };
    for (int i = 0; i < 20000; ++i) {
        // Whole numbers, halves and random bits over magnitudes from 1e-8 to 1e12.
        const double scale = std::pow(10.0, static_cast<int>(rng() % 21) - 8);
        double v = std::uniform_real_distribution<>(-10, 10)(rng) * scale;
        if (i % 4 == 1) v = std::round(v * 2) / 2;
        if (i % 4 == 2) v = std::round(v * 200) / 200;
        mix(numberToText(v));
        mix(formatWithPattern(v, ".00"));
        mix(formatWithPattern(v, "."));
        mix(formatWithPattern(static_cast<float>(v), ".00"));
        char typed[40];
        std::snprintf(typed, sizeof typed, i % 3 ? "%.*g" : "%+.*e", 1 + static_cast<int>(i % 17),
                      v);
        mixBits(std::bit_cast<std::uint64_t>(textToNumber(typed)));
    }
    EXPECT_EQ(digest, 17739658933351994199u);
}

TEST(ToSingle, OverflowIsReported) {
    EXPECT_EQ(toSingle(0.1), 0.1f);
    EXPECT_EQ(toSingle(3.4028234663852886e38), 3.4028234663852886e38f);
    EXPECT_THROW(toSingle(3.5e38), TarvelError);
    EXPECT_THROW(toSingle(-1e39), TarvelError);
}

TEST(Divide, ZeroByZeroIsAnOverflow) {
    EXPECT_TRUE(throwsError([] { divide(0.0, 0.0); }, {ErrorKind::Overflow}));
    EXPECT_TRUE(throwsError([] { divide(1.0, 0.0); }, {ErrorKind::DivisionByZero}));
}

} // namespace
