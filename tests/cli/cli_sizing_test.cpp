// tarvel-calc --optimize: each listed design recomputed through --project passes and shows its
// ratio; bad ranges are refused naming their option.

#include "cli_support.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using json = nlohmann::ordered_json;

json sizingProject(const std::string& cap = "20x200") {
    json p = {{"format", "tarvel-project"},
              {"version", 2},
              {"geometry", {{"d", "1520"}, {"D", "1620"}, {"n", "18"}}},
              {"design",
               {{"bolt", "M36"},
                {"steel", "Q355"},
                {"concrete", "C30"},
                {"betaL", 1.0},
                {"friction", 0.4},
                {"detailing", {{"tube", "610x12"}, {"cap", cap}}}}},
              {"loads",
               {{{"name", "基本组合"}, {"P", "800"}, {"M", "200"}, {"V", "50"}},
                {{"name", "风"}, {"P", "300"}, {"M", "250"}, {"V", ""}},
                {{"name", "地震"}, {"P", "1500"}, {"M", "150"}, {"V", "80"}}}}};
    return p;
}

std::string writeProject(const json& p, const std::string& name) {
    const std::string path = testing::TempDir() + name + std::to_string(getpid()) + ".tarvel";
    std::ofstream(path) << p.dump(1);
    return path;
}

const char* const smallRanges = " --bolts M30,M36,M42 --counts 8,12 --d-range 720:760:40"
                                " --offset-range 80:120:40 --thicknesses 16,25,36,60"
                                " --stiffener-heights 200:300:100 --welds 6,10";

std::vector<std::string> split(const std::string& line, char sep) {
    std::vector<std::string> out;
    std::stringstream s(line);
    for (std::string field; std::getline(s, field, sep);)
        out.push_back(field);
    return out;
}

TEST(Optimize, EveryListedDesignPassesThroughProjectWithItsRatio) {
    const json base = sizingProject();
    const std::string path = writeProject(base, "sizing");
    const CliResult r = run("--optimize " + path + smallRanges + " --top 6");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> lines = split(r.out, '\n');
    ASSERT_EQ(lines[0], "rank\tmass\td\tD\tn\tbolt\tplate\tstiffener\tcap\tweld\tstiffener_weld\t"
                        "anchorage\tgoverning\tratio");
    ASSERT_EQ(lines.size(), 7u);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const std::vector<std::string> f = split(lines[k], '\t');
        ASSERT_EQ(f.size(), 14u) << lines[k];
        json p = base;
        p["geometry"] = {{"d", f[2]}, {"D", f[3]}, {"n", f[4]}};
        p["design"]["bolt"] = f[5];
        json& t = p["design"]["detailing"];
        t["plate"] = std::stod(f[6]);
        t["stiffener"] = f[7];
        t["cap"] = f[8];
        t["weld"] = std::stod(f[9]);
        t["stiffenerWeld"] = std::stod(f[10]);
        t["anchorage"] = std::stod(f[11]);
        const CliResult check = run("--project " + writeProject(p, "design"));
        EXPECT_EQ(check.status, 0) << lines[k] << "\n" << check.err;
        // The governing check's column in the governing combination's row shows the ratio.
        const std::vector<std::string> csv = split(check.out, '\n');
        const std::vector<std::string> header = split(csv[0], ',');
        // A check the same in every combination names none: every row then shows the ratio.
        const std::size_t at = f[12].find('@');
        const bool everyRow = at == std::string::npos;
        const std::string governs = f[12].substr(0, at);
        EXPECT_EQ(everyRow, governs == "anchorage" || governs == "detailing") << lines[k];
        const std::string column = governs + "_ratio";
        const std::string combination = everyRow ? std::string() : f[12].substr(at + 1);
        const std::size_t verdict =
            std::find(header.begin(), header.end(), "verdict") - header.begin();
        ASSERT_LT(verdict, header.size()) << csv[0];
        bool found = false;
        for (std::size_t row = 1; row < csv.size(); ++row) {
            const std::vector<std::string> cells = split(csv[row], ',');
            EXPECT_EQ(cells[verdict], "ok") << csv[row];
            for (std::size_t c = 0; c < header.size(); ++c) {
                if (header[c].ends_with("_ratio")) {
                    EXPECT_LE(std::stod(cells[c]), std::stod(f[13])) << header[c];
                }
                if (header[c] == column && (everyRow || cells[0] == combination)) {
                    EXPECT_EQ(cells[c], f[13]) << lines[k];
                    found = true;
                }
            }
        }
        EXPECT_TRUE(found) << lines[k];
    }
    // The JSON lists the same designs.
    const CliResult j = run("--optimize " + path + smallRanges + " --top 6 --json");
    ASSERT_EQ(j.status, 0);
    const json out = json::parse(j.out);
    ASSERT_EQ(out["designs"].size(), 6u);
    EXPECT_EQ(out["designs"][0]["stiffener"], split(lines[1], '\t')[7]);
    EXPECT_EQ(out["tried"], 24);
}

struct BadRangeRow {
    const char* name;
    std::string args;
    int status;
    const char* errPart;
};

void PrintTo(const BadRangeRow& r, std::ostream* os) {
    *os << r.name;
}

class BadRange : public testing::TestWithParam<BadRangeRow> {};

TEST_P(BadRange, RefusedNamingTheOption) {
    json p = sizingProject();
    if (std::string(GetParam().name) == "NoTube") p["design"].erase("detailing");
    const CliResult r = run("--optimize " + writeProject(p, "bad") + " " + GetParam().args);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_NE(r.err.find(GetParam().errPart), std::string::npos) << r.err;
    if (GetParam().status != 4) {
        EXPECT_EQ(r.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadRange,
    testing::Values(
        BadRangeRow{"EmptyList", "--bolts ''", 1, "错误：--bolts：「锚栓规格列表」为空"},
        BadRangeRow{"EmptyItem", "--thicknesses 16,,20", 1,
                    "--thicknesses：「板厚列表(mm)」中有空项"},
        BadRangeRow{"MinAboveMax", "--d-range 1600:1200:20", 1,
                    "--d-range：「底板受压直径 d 范围(mm)」的下限 1600 大于上限 1200"},
        BadRangeRow{"StepZero", "--offset-range 60:400:0", 1,
                    "--offset-range：「锚栓中心圆外伸 D−d 范围(mm)」的步长应大于 0"},
        BadRangeRow{"StepNegative", "--stiffener-heights 200:600:-50", 1,
                    "--stiffener-heights：「加劲肋高度 hs 范围(mm)」的步长应大于 0"},
        BadRangeRow{"UnknownBolt", "--bolts M24,M99", 1,
                    "--bolts：「锚栓规格列表」没有“M99”这一规格"},
        BadRangeRow{"NotARange", "--d-range 1200-1600", 1, "应写成 下限:上限:步长"},
        BadRangeRow{"CountNotWhole", "--counts 8,12.5", 1, "--counts：「锚栓个数列表」中的 12.5"},
        BadRangeRow{"ThicknessBeyondTables", "--thicknesses 20,120", 1, "超过 100 mm"},
        BadRangeRow{"TooManyGeometries", "--d-range 700:200000:1", 1,
                    "--d-range：「底板受压直径 d 范围(mm)」、外伸范围与锚栓个数列表共组成"},
        BadRangeRow{"TopNotANumber", "--top ten", 2, "--top 应为 1 至 1000 的整数"},
        BadRangeRow{"NoTube", "", 1, "优化选型需要钢管柱脚的构造参数"},
        // Everything computed, nothing passes: the check that rejected most on stderr.
        // (A column weld too weak is no longer one: a butt weld takes its place.)
        BadRangeRow{"NothingPasses", std::string(smallRanges) + " --thicknesses 16", 4,
                    "淘汰最多的验算项：plate（底板），17 / 24 个方案"}),
    [](const testing::TestParamInfo<BadRangeRow>& info) { return std::string(info.param.name); });

TEST(Optimize, RangeOptionsNeedOptimize) {
    const CliResult r = run("--counts 8,12 1000 1000 1520 1620 18");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--counts 用于 --optimize"), std::string::npos) << r.err;
}

} // namespace
