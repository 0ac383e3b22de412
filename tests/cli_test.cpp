// tarvel-calc as an engineer runs it: output, error lines and exit statuses.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct CliResult {
    std::string out, err;
    int status = -1;
};

CliResult run(const std::string& args, const std::string& input = "") {
    const std::string errFile = testing::TempDir() + "tarvel_cli_err.txt";
    std::string command = std::string(TARVEL_CALC) + " " + args + " 2>" + errFile;
    if (!input.empty()) {
        const std::string inFile = testing::TempDir() + "tarvel_cli_in.txt";
        FILE* in = std::fopen(inFile.c_str(), "w");
        std::fputs(input.c_str(), in);
        std::fclose(in);
        command += " <" + inFile;
    }
    CliResult r;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buf;
    std::size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), got);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    FILE* err = std::fopen(errFile.c_str(), "r");
    while ((got = std::fread(buf.data(), 1, buf.size(), err)) > 0) r.err.append(buf.data(), got);
    std::fclose(err);
    return r;
}

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
        CliRow{"TooManyBolts", "1000 1000 1520 1620 101", 1, "", "错误：「锚栓个数」不能超过 100\n"},
        CliRow{"ZeroDiameter", "1000 1000 0 1620 18", 1, "", "错误：「d(mm)」不能为 0\n"},
        CliRow{"FailureAfterXt", "-8000 1000 1000 1620 18", 1, "xt\t.\n", "错误：计算中出现除以零\n"},
        CliRow{"TooFewArguments", "1000 1000", 2, "", nullptr},
        CliRow{"TooManyArguments", "1 2 3 4 5 6", 2, "", nullptr},
        CliRow{"UnknownOption", "--frobnicate", 2, "", nullptr},
        CliRow{"NoArguments", "", 2, "", nullptr}),
    [](const testing::TestParamInfo<CliRow>& info) { return std::string(info.param.name); });

TEST(CliHelp, HelpAndVersion) {
    const CliResult help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("用法: tarvel-calc P M d D n"), std::string::npos);
    const CliResult version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tarvel-calc ", 0), 0u);
}

} // namespace
