// Load-case tables as spreadsheets write them, and the batch that computes them.

#include "checks/methods.h"
#include "loads/csv.h"
#include "loads/loadtable.h"

#include <gtest/gtest.h>

#include <string>

using namespace tarvel;

namespace {

struct TableRow {
    const char* name;
    std::string bytes;
    std::size_t cases;
    const char* firstName;
    InputTexts firstInputs;
    const char* firstV;
    bool hasName, hasV;
};

class Tables : public testing::TestWithParam<TableRow> {};

TEST_P(Tables, ReadAsSpreadsheetsSaveThem) {
    const TableRow& row = GetParam();
    const LoadTable t = readLoadCases(row.bytes);
    ASSERT_EQ(t.cases.size(), row.cases);
    EXPECT_EQ(t.hasName, row.hasName);
    EXPECT_EQ(t.hasV, row.hasV);
    EXPECT_EQ(t.cases[0].error, "");
    EXPECT_EQ(t.cases[0].name, row.firstName);
    EXPECT_EQ(t.cases[0].inputs, row.firstInputs);
    EXPECT_EQ(t.cases[0].V, row.firstV);
}

const InputTexts defaults{"1000", "1000", "1520", "1620", "18"};

// 组合一 in GB18030, as a Chinese spreadsheet program saves it.
const std::string gbName = "\xD7\xE9\xBA\xCF\xD2\xBB";

INSTANTIATE_TEST_SUITE_P(
    Table, Tables,
    testing::Values(
        TableRow{"Plain", "1000,1000,1520,1620,18\n", 1, "", defaults, "", false, false},
        TableRow{"ByteOrderMark", "\xEF\xBB\xBFP,M,d,D,n\r\n1000,1000,1520,1620,18\r\n", 1, "",
                 defaults, "", false, false},
        TableRow{"TabsWithNameAndV",
                 "name\tP\tM\td\tD\tn\tV\n1.3G+1.5Q\t1000\t1000\t1520\t1620\t18\t150\n", 1,
                 "1.3G+1.5Q", defaults, "150", true, true},
        TableRow{"ColumnsInAnyOrder", "n,D,d,M,P,V,name\n18,1620,1520,1000,1000,5,a\n", 1, "a",
                 defaults, "5", true, true},
        TableRow{"Gb18030", "name,P,M,d,D,n\r\n" + gbName + ",1000,1000,1520,1620,18\r\n", 1,
                 "组合一", defaults, "", true, false},
        TableRow{"Utf8Chinese", "name,P,M,d,D,n\n组合一,1000,1000,1520,1620,18\n", 1, "组合一",
                 defaults, "", true, false},
        TableRow{"SixthColumnIsV", "1000,1000,1520,1620,18,-30\n2,2,2,2,2\n", 2, "", defaults,
                 "-30", false, true},
        TableRow{"QuotedTabIsNoDelimiter", "1000,1000,1520,1620,\"1\t8\"\n", 1, "",
                 {"1000", "1000", "1520", "1620", "1\t8"}, "", false, false},
        TableRow{"QuotedCommaInName", "name,P,M,d,D,n\n\"G,Q\",1000,1000,1520,1620,18\n", 1, "G,Q",
                 defaults, "", true, false}),
    [](const testing::TestParamInfo<TableRow>& info) { return std::string(info.param.name); });

TEST(Tables, WrongFieldCountIsAnErrorRowInPlace) {
    const LoadTable t = readLoadCases("name,P,M,d,D,n\nbad,1,2\nok,1000,1000,1520,1620,18\n");
    ASSERT_EQ(t.cases.size(), 2u);
    EXPECT_EQ(t.cases[0].error, "该行应有 6 个字段（name,P,M,d,D,n），实有 3 个");
    EXPECT_EQ(t.cases[0].name, "bad");
    EXPECT_EQ(t.cases[0].inputs[1], "2");
    EXPECT_EQ(t.cases[1].error, "");
}

TEST(Decoding, InvalidBytesNeitherUtf8NorGb18030) {
    EXPECT_TRUE(isValidUtf8("组合"));
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));     // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_EQ(decodeSpreadsheetText("a\xFF"), "a\xEF\xBF\xBD");
}

TEST(Batch, RowsAreTheSingleCasesInOrderAndCancelStops) {
    std::vector<LoadCase> cases;
    for (int i = 0; i < 40; ++i) {
        LoadCase c;
        c.inputs = {std::to_string(i % 4 == 0 ? 20000 - i : 1000 + 50 * i), "1000", "1520", "1620",
                    "18"};
        c.V = i == 7 ? "abc" : "";
        cases.push_back(c);
    }
    BatchOptions options;
    options.withChecks = true;
    const auto out = runBatch(cases, DesignInput{}, options);
    ASSERT_EQ(out.size(), cases.size());
    for (std::size_t k = 0; k < cases.size(); k += 5) {
        if (k == 7) continue;
        const ComputedCase single = computeCase(cases[k].inputs, DesignInput{}, 1);
        EXPECT_EQ(out[k]->result.vt, single.result.vt) << k;
        EXPECT_EQ(out[k]->checks.checks[0].ratioText, single.checks.checks[0].ratioText) << k;
    }
    EXPECT_EQ(out[7]->status, CaseStatus::Error);
    EXPECT_EQ(out[7]->message, "「剪力 V(kN)」不是有效的数字");

    const auto governing = governingCases(out);
    for (int c = 0; c < checkCount; ++c) {
        // Without detailing the steel parts are not checked, and nothing governs them.
        if (checkDefinitions()[c].needsDetailing) {
            EXPECT_EQ(governing[c], -1);
            continue;
        }
        ASSERT_GE(governing[c], 0);
        for (const auto& o : out) {
            if (o->hasChecks) {
                EXPECT_LE(o->checks.checks[c].ratio, out[governing[c]]->checks.checks[c].ratio);
            }
        }
    }

    std::atomic<bool> cancel{true};
    options.cancel = &cancel;
    const auto cancelled = runBatch(cases, DesignInput{}, options);
    for (const auto& o : cancelled)
        EXPECT_FALSE(o.has_value());
}

} // namespace
