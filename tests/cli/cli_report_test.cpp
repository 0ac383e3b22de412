// tarvel-calc --report and --project, read back as an engineer would: pdftotext, pdffonts,
// pdfinfo, and the single-case runs the project rows must equal.

#include "cli_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string shell(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string out = readWhole(pipe);
    pclose(pipe);
    return out;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string temp(const std::string& name) {
    return testing::TempDir() + "tarvel_report_" + name;
}

struct ReportRow {
    const char* name;
    const char* args;
    int status;
    std::vector<std::string> holds; // texts the report must hold
};

class Report : public testing::TestWithParam<ReportRow> {};

TEST_P(Report, PdfAndHtmlHoldEveryFigure) {
    for (const char* suffix : {".pdf", ".html"}) {
        const std::string path = temp(std::string(GetParam().name) + suffix);
        std::remove(path.c_str());
        const CliResult r = run("--report " + path + " --method elastic " + GetParam().args);
        EXPECT_EQ(r.status, GetParam().status) << r.err;
        EXPECT_EQ(r.err, "");
        const std::string text =
            std::string(suffix) == ".pdf" ? shell("pdftotext -layout " + path + " -") : slurp(path);
        for (const std::string& piece : GetParam().holds)
            EXPECT_NE(text.find(piece), std::string::npos) << suffix << ": " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Report,
    testing::Values(
        ReportRow{"Defaults",
                  "--bolt M36 --steel Q355 --concrete C30 --project-name 某工程 --member GZ-1 "
                  "1000 1000 1520 1620 18",
                  0,
                  {"圆钢管柱脚计算书",
                   "某工程",
                   "GZ-1",
                   "904",
                   "3.20",
                   "112.00",
                   "567.49",
                   "383.64",
                   "1555.01",
                   "610.46",
                   "393",
                   "676",
                   "987.52",
                   "994.1",
                   "622",
                   "147.01",
                   "0.76",
                   "14.30",
                   "0.22",
                   "622.00",
                   "0.16",
                   "满足",
                   "锚栓",
                   "816.7",
                   "GB 50017-2017",
                   "GB 50010-2010",
                   "Tarvel 1.0.0"}},
        ReportRow{
            "FailingBolt", "5000 5000 1520 1620 18", 4, {"3.82", "1.13", "不满足", "加大锚栓规格"}},
        ReportRow{"NoEquilibrium",
                  "-- -826 7250 2390 2730 10",
                  4,
                  {"22.20", "不满足", "搜索未找到锚栓拉力", "1350.76"}},
        ReportRow{
            "ShearKey", "--shear 700 1000 1000 1520 1620 18", 4, {"700.00", "1.13", "抗剪键"}}),
    [](const testing::TestParamInfo<ReportRow>& info) { return std::string(info.param.name); });

TEST(Report, FontEmbeddedAndPagesCounted) {
    const std::string path = temp("fonts.pdf");
    ASSERT_EQ(run("--report " + path + " 1000 1000 1520 1620 18").status, 0);
    const std::string fonts = shell("pdffonts " + path);
    EXPECT_NE(fonts.find("WenQuanYiZenHei"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("yes"), std::string::npos);
    EXPECT_NE(shell("pdfinfo " + path).find("Pages:           4"), std::string::npos);
    const std::string html = slurp(temp("fonts.html"));
    EXPECT_EQ(run("--report " + temp("fonts.html") + " 1000 1000 1520 1620 18").status, 0);
    EXPECT_NE(slurp(temp("fonts.html")).find("lang=\"zh-CN\""), std::string::npos);
}

TEST(Report, RefusalAndUnwritablePathWriteNothing) {
    const std::string path = temp("refused.pdf");
    std::remove(path.c_str());
    const CliResult refused = run("--report " + path + " --method elastic -- -1000 0 1520 1620 18");
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.out, "底板全截面受拉\n");
    EXPECT_EQ(refused.err, "错误：无法生成计算书：底板全截面受拉，计算被拒绝\n");
    EXPECT_FALSE(std::ifstream(path).good());

    const CliResult missing = run("--report /nonexistent/r.pdf 1000 1000 1520 1620 18");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "错误：无法写入计算书“/nonexistent/r.pdf”：文件夹“/nonexistent”不存在\n");

    // A path that is a folder: the folder and what is in it stay as they were.
    const std::string folder = temp("folder.pdf");
    shell("mkdir -p " + folder + " && echo keep > " + folder + "/inside");
    EXPECT_EQ(run("--report " + folder + " 1000 1000 1520 1620 18").status, 1);
    EXPECT_EQ(slurp(folder + "/inside"), "keep\n");

    const CliResult suffix = run("--report " + temp("r.docx") + " 1000 1000 1520 1620 18");
    EXPECT_EQ(suffix.status, 1);
    EXPECT_NE(suffix.err.find(".pdf"), std::string::npos) << suffix.err;
}

const char* const project = R"({"format": "tarvel-project", "version": 1,
 "info": {"project": "某工程", "member": "GZ-1", "designer": "张三", "checker": "李四"},
 "geometry": {"d": "1520", "D": "1620", "n": "18"},
 "design": {"bolt": "M30", "steel": "Q355", "concrete": "C30", "betaL": 1.2, "friction": 0.4,
            "method": "elastic"},
 "loads": [{"name": "1.3G+1.5Q", "P": "1000", "M": "1000", "V": "0"},
           {"name": "1.0G+1.5W", "P": "500", "M": "2500", "V": "200"},
           {"name": "uplift", "P": "-6000", "M": "1000"},
           {"name": "bad", "P": "x", "M": "1000", "V": "5"}],
 "unknown": {"ignored": true}}
)";

std::vector<std::string> split(const std::string& line, char sep) {
    std::vector<std::string> out;
    std::stringstream s(line);
    std::string field;
    while (std::getline(s, field, sep))
        out.push_back(field);
    if (!line.empty() && line.back() == sep) out.push_back("");
    return out;
}

TEST(Project, RowsEqualSingleCaseRuns) {
    const std::string path = temp("p.tarvel");
    spit(path, project);
    const CliResult r = run("--project " + path);
    ASSERT_EQ(r.status, 0) << r.err;
    std::stringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "name,P,M,d,D,n,status,xt,qmaxt,tt,fmst,mmst,fqt,mqt,ct,c2t,h1t,h2t,vt,message,"
                    "V,bolt_ratio,bearing_ratio,shear_ratio,equilibrium_ratio,verdict");
    const char* const V[] = {"0", "200"};
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(std::getline(lines, line));
        const std::vector<std::string> f = split(line, ',');
        ASSERT_EQ(f.size(), 26u) << line;
        const CliResult single = run("--method elastic --bolt M30 --beta-l 1.2 --shear " + std::string(V[k]) + " " +
                                     f[1] + " " + f[2] + " 1520 1620 18");
        const std::vector<std::string> s = split(single.out, '\n');
        ASSERT_EQ(s.size(), 18u + 1) << single.out;
        for (int box = 0; box < 12; ++box)
            EXPECT_EQ(f[7 + box], split(s[box], '\t')[1]) << k << " " << box;
        EXPECT_EQ(s[12], "method\telastic");
        for (int check = 0; check < 4; ++check)
            EXPECT_EQ(f[21 + check], split(s[13 + check], '\t')[3]) << k << " " << check;
        EXPECT_EQ(f[25], split(s[17], '\t')[1]);
    }
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "uplift,-6000,1000,1520,1620,18,refused,,,,,,,,,,,,,底板全截面受拉,0,,,,,");
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "bad,x,1000,1520,1620,18,error,,,,,,,,,,,,,「P(kN)」不是有效的数字,5,,,,,");
    EXPECT_NE(r.err.find("最不利 锚栓抗拉：第 2 行（1.0G+1.5W）"), std::string::npos) << r.err;
}

TEST(Project, DetailingChecksTheSteelParts) {
    const std::string path = temp("steel.tarvel");
    std::string text = project;
    const std::string friction = "\"friction\": 0.4";
    text.insert(text.find(friction) + friction.size(),
                ", \"detailing\": {\"tube\": \"1020x16\", \"plate\": 36}");
    spit(path, text);
    const CliResult r = run("--project " + path);
    EXPECT_NE(r.out.find(",plate_ratio,plate_inside_ratio,cap_ratio,"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("最不利 底板："), std::string::npos) << r.err;
}

TEST(Project, ReportHoldsEveryCase) {
    const std::string path = temp("p2.tarvel");
    spit(path, project);
    const std::string pdf = temp("project.pdf");
    ASSERT_EQ(run("--project " + path + " --report " + pdf).status, 0);
    const std::string text = shell("pdftotext " + pdf + " -");
    for (const char* piece : {"某工程", "张三", "荷载组合汇总", "1.3G+1.5Q", "1.0G+1.5W", "uplift",
                              "bad", "设计总体结论", "M30"})
        EXPECT_NE(text.find(piece), std::string::npos) << piece;
}

// A row without its own V takes the project's design V, as the window does; --shear replaces
// it. Each row's V and shear ratio equal a single run with that shear. The count is written
// as a JSON number, as other programs write it.
struct ShearRow {
    const char* name;
    const char* designV; // the member added to "design", or nothing
    const char* args;
    const char* V; // the V the row is computed with
};

class ProjectShear : public testing::TestWithParam<ShearRow> {};

TEST_P(ProjectShear, RowsUseTheVShownInTheWindow) {
    const ShearRow& row = GetParam();
    const std::string path = temp(std::string("shear_") + row.name + ".tarvel");
    spit(path, std::string(R"({"format": "tarvel-project", "version": 1,
 "geometry": {"d": "1520", "D": "1620", "n": 18},
 "design": {"bolt": "M30", "steel": "Q355", "concrete": "C30", "betaL": 1.2, "friction": 0.4,
            "method": "elastic")") +
                   row.designV + R"(},
 "loads": [{"name": "A", "P": "1000", "M": "1000", "V": ""}]})");
    const CliResult r = run("--project " + path + " " + row.args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = split(r.out, '\n');
    ASSERT_EQ(lines.size(), 3u) << r.out; // the header, the row, and after the last newline
    const std::vector<std::string> f = split(lines[1], ',');
    ASSERT_EQ(f.size(), 26u) << lines[1];
    EXPECT_EQ(f[20], row.V);
    const CliResult single =
        run("--method elastic --bolt M30 --beta-l 1.2 --shear " + std::string(row.V) + " 1000 1000 1520 1620 18");
    const std::vector<std::string> s = split(single.out, '\n');
    ASSERT_EQ(s.size(), 18u + 1) << single.out; // 12 texts, method, 4 checks, verdict
    EXPECT_EQ(f[23], split(s[15], '\t')[3]);
    EXPECT_NE(f[23], "0.00");
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProjectShear,
    testing::Values(ShearRow{"FromTheProject", R"(, "V": 2000)", "", "2000"},
                    ShearRow{"ShearOptionReplacesIt", R"(, "V": 2000)", "--shear 300", "300"},
                    ShearRow{"FractionalFromTheProject", R"(, "V": 2000.5)", "", "2000.5"}),
    [](const testing::TestParamInfo<ShearRow>& info) { return std::string(info.param.name); });

struct BadFileRow {
    const char* name;
    std::string content;
    const char* err;
};

class BadProject : public testing::TestWithParam<BadFileRow> {};

TEST_P(BadProject, ExitsOneWithTheWindowsMessage) {
    const std::string path = temp(std::string(GetParam().name) + ".tarvel");
    spit(path, GetParam().content);
    const CliResult r = run("--project " + path);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("错误：") + GetParam().err + "\n");
}

const std::string good = project;

INSTANTIATE_TEST_SUITE_P(
    Table, BadProject,
    testing::Values(
        BadFileRow{"NotJson", "{\"format\": \"tarvel-project\",\n \"version\": 1,,}",
                   "项目文件不是有效的 JSON（第 2 行第 15 列附近）"},
        BadFileRow{"NumberBeyondDouble",
                   "{\"format\": \"tarvel-project\", \"version\": 1, \"x\": 1e400}",
                   "项目文件中有超出范围的数值"},
        BadFileRow{"OtherFormat", "{\"format\": \"other\", \"version\": 1}",
                   "不是 Tarvel 项目文件（缺少 \"format\": \"tarvel-project\"）"},
        BadFileRow{"NewerVersion", "{\"format\": \"tarvel-project\", \"version\": 3}",
                   "项目文件的版本 3 高于本程序能读的版本 2，请升级 Tarvel"},
        BadFileRow{"MissingGeometry", "{\"format\": \"tarvel-project\", \"version\": 1}",
                   "项目文件缺少「geometry」"},
        BadFileRow{"NumberForText",
                   "{\"format\": \"tarvel-project\", \"version\": 1, \"geometry\": {\"d\": 1520}}",
                   "项目文件中「geometry.d」应为文字"},
        BadFileRow{"LoadsNotArray", good.substr(0, good.find("\"loads\"")) + "\"loads\": {}}",
                   "项目文件中「loads」应为数组"},
        BadFileRow{"UnknownBolt",
                   good.substr(0, good.find("M30")) + "M31" + good.substr(good.find("M30") + 3),
                   "项目文件中的验算输入有误：「锚栓规格」没有“M31”这一规格，可选：M20、M22、"
                   "M24、M27、M30、M33、M36、M39、M42、M45、M48、M52、M56、M60、M64、M68、M72、"
                   "M76、M80、M85、M90、M95、M100"},
        BadFileRow{"DetailingWithoutTube",
                   good.substr(0, good.find("\"friction\": 0.4")) +
                       "\"friction\": 0.4, \"detailing\": {\"plate\": 30}" +
                       good.substr(good.find("\"friction\": 0.4") + 15),
                   "项目文件缺少「design.detailing.tube」"},
        BadFileRow{"DetailingOutOfRange",
                   good.substr(0, good.find("\"friction\": 0.4")) +
                       "\"friction\": 0.4, \"detailing\": {\"tube\": \"1020x16\", \"plate\": 0}" +
                       good.substr(good.find("\"friction\": 0.4") + 15),
                   "项目文件中的验算输入有误：「底板厚度 tp(mm)」应大于 0 且不大于 100 mm"},
        BadFileRow{"TooLarge", std::string(9 * 1024 * 1024, ' '),
                   "项目文件过大（超过 8 MB），不是 Tarvel 项目文件"}),
    [](const testing::TestParamInfo<BadFileRow>& info) { return std::string(info.param.name); });

TEST(Project, UsageErrors) {
    EXPECT_EQ(run("--project x.tarvel --bolt M36").status, 2);
    EXPECT_EQ(run("--project x.tarvel --csv y.csv").status, 2);
    EXPECT_EQ(run("--project x.tarvel 1 2 3 4 5").status, 2);
    const CliResult missing = run("--project /nonexistent.tarvel");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("错误：无法读取文件 /nonexistent.tarvel", 0), 0u);
}

} // namespace
