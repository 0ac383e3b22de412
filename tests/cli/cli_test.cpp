// tarvel-calc as an engineer runs it: output, error lines and exit statuses.

#include "cli_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

const char* const defaultOutput = "xt\t904.\nqmaxt\t3.20\ntt\t112.00\nfmst\t567.49\nmmst\t383.64\n"
                                  "fqt\t1555.01\nmqt\t610.46\nct\t393.\nc2t\t676.\nh1t\t987.52\n"
                                  "h2t\t994.1\nvt\t622.\n";

struct CliRow {
    const char* name;
    const char* args;
    int status;
    const char* out;
    const char* err; // expected stderr, or nullptr to ignore it
};

class Cli : public testing::TestWithParam<CliRow> {};

TEST_P(Cli, ExitStatusAndOutput) {
    const CliResult r = run(GetParam().args);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_EQ(r.out, GetParam().out);
    if (GetParam().err) {
        EXPECT_EQ(r.err, GetParam().err);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cli,
    testing::Values(
        CliRow{"Defaults", "1000 1000 1520 1620 18", 0, defaultOutput, ""},
        CliRow{"TypedLikeTheWindow", "' 1e3 ' 1000. 1520 1620 18.5", 0, defaultOutput, ""},
        CliRow{"NegativeArguments", "-6000 1000 1520 1620 18", 3, "底板全截面受拉\n", ""},
        CliRow{"DoubleDash", "-- -6000 1000 1520 1620 18", 3, "底板全截面受拉\n", ""},
        CliRow{"NotANumber", "1000 1000 abc 1620 18", 1, "", "错误：「d(mm)」不是有效的数字\n"},
        CliRow{"EmptyCount", "1000 1000 1520 1620 ''", 1, "", "错误：「锚栓个数」不是有效的数字\n"},
        CliRow{"TooManyBolts", "1000 1000 1520 1620 101", 1, "",
               "错误：「锚栓个数」不能超过 100\n"},
        CliRow{"ZeroDiameter", "1000 1000 0 1620 18", 1, "", "错误：「d(mm)」不能为 0\n"},
        CliRow{"FailureAfterXt", "-8000 1000 1000 1620 18", 1, "xt\t.\n",
               "错误：计算中出现除以零\n"},
        CliRow{"TooFewArguments", "1000 1000", 2, "", nullptr},
        CliRow{"TooManyArguments", "1 2 3 4 5 6", 2, "", nullptr},
        CliRow{"UnknownOption", "--frobnicate", 2, "", nullptr},
        CliRow{"NoArguments", "", 2, "", nullptr}),
    [](const testing::TestParamInfo<CliRow>& info) { return std::string(info.param.name); });

TEST(CliHelp, HelpAndVersion) {
    const CliResult help = run("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"P M d D n", "--csv", "--bolt", "--steel", "--concrete", "--beta-l",
                               "--shear", "--friction", "--check", "--json", "4 计算成功"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    const CliResult version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tarvel-calc ", 0), 0u);
}

const char* const csvHeader =
    "P,M,d,D,n,status,xt,qmaxt,tt,fmst,mmst,fqt,mqt,ct,c2t,h1t,h2t,vt,message\n";
const char* const defaultRow =
    "ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,676.,987.52,994.1,622.,\n";

struct CsvRow {
    const char* name;
    const char* input;
    const char* output; // after the header line
};

class Csv : public testing::TestWithParam<CsvRow> {};

TEST_P(Csv, RowsInOrder) {
    const CliResult r = run("--csv -", GetParam().input);
    EXPECT_EQ(r.status, 0);
    std::string expected = csvHeader;
    expected.append(GetParam().output);
    EXPECT_EQ(r.out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Csv,
    testing::Values(
        CsvRow{"WithHeader", "P,M,d,D,n\n1000,1000,1520,1620,18\n",
               "1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,676.,"
               "987.52,994.1,622.,\n"},
        CsvRow{"HeaderWithSpaces", "P, M, d, D, n\n1000,1000,1520,1620,18\n",
               "1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,676.,"
               "987.52,994.1,622.,\n"},
        CsvRow{"WithoutHeaderCrlf", "1000,1000,1520,1620,18\r\n",
               "1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,676.,"
               "987.52,994.1,622.,\n"},
        CsvRow{"BlankLinesSkipped", "\n1000,1000,1520,1620,18\n\n\n",
               "1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,676.,"
               "987.52,994.1,622.,\n"},
        CsvRow{"QuotedFields", "\" 1e3 \",\"1000\",1520,1620,\"18.5\"\n",
               " 1e3 ,1000,1520,1620,18.5,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,"
               "676.,987.52,994.1,622.,\n"},
        CsvRow{"QuotesKeptAndRequoted", "\"1\"\"000\",1000,1520,1620,18\n",
               "\"1\"\"000\",1000,1520,1620,18,error,,,,,,,,,,,,,「P(kN)」不是有效的数字\n"},
        CsvRow{"TooFewFields", "1000,1000\n1000,1000,1520,1620,18\n",
               "1000,1000,,,,error,,,,,,,,,,,,,\"该行应有 5 个字段（P,M,d,D,n），实有 2 个\"\n"
               "1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,676.,"
               "987.52,994.1,622.,\n"},
        CsvRow{"TooManyFields", "1000,1000,1520,1620,18,7,8\n",
               "1000,1000,1520,1620,18,error,,,,,,,,,,,,,\"该行应有 5 个字段（P,M,d,D,n），实有 7 "
               "个\"\n"},
        CsvRow{"SixthFieldIsV", "1000,1000,1520,1620,18,7\n",
               "1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,676.,"
               "987.52,994.1,622.,\n"},
        CsvRow{"Mixed",
               "-6000,1000,1520,1620,18\n-8000,1000,1000,1620,18\n1000,1000,1520,1620,101\n",
               "-6000,1000,1520,1620,18,refused,,,,,,,,,,,,,底板全截面受拉\n"
               "-8000,1000,1000,1620,18,error,.,,,,,,,,,,,,计算中出现除以零\n"
               "1000,1000,1520,1620,101,error,,,,,,,,,,,,,「锚栓个数」不能超过 100\n"},
        CsvRow{"Empty", "", ""}),
    [](const testing::TestParamInfo<CsvRow>& info) { return std::string(info.param.name); });

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0, end;
    while ((end = text.find('\n', start)) != std::string::npos) {
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

TEST(CsvBatch, ManyRowsKeepTheirOrder) {
    // Rows of different cost, so that the cores finish them out of order.
    std::string input;
    std::vector<std::string> echoed{"P,M,d,D,n"};
    for (int i = 0; i < 120; ++i) {
        const std::string row = std::to_string(i % 3 == 0 ? 20000 - i : 1000 + i) +
                                ",1000,1520,1620," + std::to_string(i % 7);
        input += row + "\n";
        echoed.push_back(row);
    }
    const CliResult r = run("--csv -", input);
    ASSERT_EQ(r.status, 0);
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), echoed.size());
    for (std::size_t k = 0; k < out.size(); ++k)
        EXPECT_EQ(out[k].rfind(echoed[k] + ",", 0), 0u) << k;

    // A row gives what the single case gives.
    std::string single = "19997,1000,1520,1620,3,ok";
    for (const std::string& line : lines(run("19997 1000 1520 1620 3").out))
        single.append(",").append(line.substr(line.find('\t') + 1));
    EXPECT_EQ(out[4], single + ",");
}

TEST(CsvBatch, UnreadableFile) {
    const CliResult r = run("--csv /nonexistent/cases.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("错误：无法读取文件 /nonexistent/cases.csv", 0), 0u);
    EXPECT_EQ(run("--csv").status, 2);
}

// An analysis program's export, axial force tension positive, gives what the P, M, V table
// an engineer would type gives, row for row and check for check.
class Exports : public testing::TestWithParam<const char*> {};

TEST_P(Exports, GiveWhatTheEquivalentTableGives) {
    const std::string data = std::string(TARVEL_TEST_DATA) + "/exports/";
    const CliResult expected = run("--check --csv " + data + "equivalent-pmv.csv 1520 1620 18");
    ASSERT_EQ(expected.status, 0) << expected.err;
    const CliResult r =
        run("--check --tension-positive --csv " + data + GetParam() + " 1520 1620 18");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected.out);
    EXPECT_NE(r.err.find("读入：M = √(Mx² + My²)"), std::string::npos) << r.err;
    // Without d, D, n the table cannot be computed, and the message says where they go.
    const CliResult bare = run("--csv " + data + GetParam());
    EXPECT_EQ(bare.status, 1);
    EXPECT_NE(bare.err.find("1520 1620 18"), std::string::npos) << bare.err;
}

INSTANTIATE_TEST_SUITE_P(Table, Exports,
                         testing::Values("gb18030-title-crlf.csv", "bom-tabs-newtons.tsv"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param[0] == 'g' ? "Gb18030TitleCrlf"
                                                                     : "BomTabsNewtons");
                         });

} // namespace
