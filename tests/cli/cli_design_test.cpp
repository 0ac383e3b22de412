// tarvel-calc with design checks: the check lines, exit status 4, JSON and the CSV columns.

#include "cli_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace {

const char* const defaultResults = "xt\t904.\nqmaxt\t3.20\ntt\t112.00\nfmst\t567.49\nmmst\t383.64\n"
                                   "fqt\t1555.01\nmqt\t610.46\nct\t393.\nc2t\t676.\nh1t\t987.52\n"
                                   "h2t\t994.1\nvt\t622.\n";

struct CheckLinesRow {
    const char* name;
    const char* args;
    int status;
    const char* checkLines; // after the 12 results
};

class CheckLines : public testing::TestWithParam<CheckLinesRow> {};

TEST_P(CheckLines, FollowTheResults) {
    const CliResult r = run(GetParam().args);
    EXPECT_EQ(r.status, GetParam().status) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string results = r.out.substr(0, r.out.find("bolt\t"));
    EXPECT_EQ(r.out.substr(results.size()), GetParam().checkLines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CheckLines,
    testing::Values(
        // The envelope by default: the bearing is the rigid-plate method's 5.90, the bolt the
        // elastic 112.00.
        CheckLinesRow{"Defaults", "--bolt M36 --steel Q355 --concrete C30 1000 1000 1520 1620 18",
                      0,
                      "bolt\t112.00\t147.01\t0.76\tok\nbearing\t5.90\t14.30\t0.41\tok\n"
                      "shear\t0.00\t622.00\t0.00\tok\nequilibrium\t0.80\t5.00\t0.16\tok\n"
                      "verdict\tok\n"},
        CheckLinesRow{"CheckAlone", "--check 1000 1000 1520 1620 18", 0,
                      "bolt\t112.00\t147.01\t0.76\tok\nbearing\t5.90\t14.30\t0.41\tok\n"
                      "shear\t0.00\t622.00\t0.00\tok\nequilibrium\t0.80\t5.00\t0.16\tok\n"
                      "verdict\tok\n"},
        CheckLinesRow{"EqualsSignAndShear",
                      "--method elastic --shear=-700 --friction=0.4 1000 1000 1520 1620 18", 4,
                      "bolt\t112.00\t147.01\t0.76\tok\nbearing\t3.20\t14.30\t0.22\tok\n"
                      "shear\t700.00\t622.00\t1.13\tfail\nequilibrium\t0.80\t5.00\t0.16\tok\n"
                      "verdict\tfail\n"},
        CheckLinesRow{"EquilibriumMissed", "--method elastic --check -- -826 7250 2390 2730 10", 4,
                      "bolt\t0.00\t147.01\t0.00\tok\nbearing\t0.10\t14.30\t0.01\tok\n"
                      "shear\t0.00\t36.34\t0.00\tok\nequilibrium\t111.00\t5.00\t22.20\tfail\n"
                      "verdict\tfail\n"},
        CheckLinesRow{"BetaRaisesBearing",
                      "--method elastic --concrete C20 --beta-l 1.5 5000 5000 1520 1620 18", 4,
                      "bolt\t561.00\t147.01\t3.82\tfail\nbearing\t16.10\t14.40\t1.12\tfail\n"
                      "shear\t0.00\t3129.45\t0.00\tok\nequilibrium\t0.24\t5.00\t0.05\tok\n"
                      "verdict\tfail\n"},
        // A concrete-filled tube: the plate inside it is carried by the infill.
        CheckLinesRow{"SteelParts", "--method elastic --infill --tube 1020x16 1000 1000 1520 1620 18",
                      0,
                      "bolt\t112.00\t147.01\t0.76\tok\nbearing\t3.20\t14.30\t0.22\tok\n"
                      "shear\t0.00\t622.00\t0.00\tok\nequilibrium\t0.80\t5.00\t0.16\tok\n"
                      "plate\t143.76\t295.00\t0.49\tok\nplate_inside\t0.00\t295.00\t0.00\tok\n"
                      "cap\t245.11\t295.00\t0.83\tok\ncap_weld\t18.18\t200.00\t0.09\tok\n"
                      "stiffener\t72.75\t324.50\t0.22\tok\n"
                      "stiffener_weld\t84.41\t200.00\t0.42\tok\n"
                      "stiffener_plate_weld\t37.92\t200.00\t0.19\tok\n"
                      "column_weld\t149.87\t200.00\t0.75\tok\ntube\t100.00\t305.00\t0.33\tok\n"
                      "anchorage\t828.00\t1000.00\t0.83\tok\ndetailing\t15.41\t16.00\t0.96\tok\n"
                      "verdict\tok\n"},
        CheckLinesRow{
            "ThinPlateFails",
            "--method elastic --tube=1020x16 --plate 16 --cap 20x240 1000 1000 1520 1620 18", 4,
            "bolt\t112.00\t147.01\t0.76\tok\nbearing\t3.20\t14.30\t0.22\tok\n"
            "shear\t0.00\t622.00\t0.00\tok\nequilibrium\t0.80\t5.00\t0.16\tok\n"
            "plate\t505.42\t305.00\t1.66\tfail\nplate_inside\t2730.98\t305.00\t8.95\tfail\n"
            "cap\t551.51\t295.00\t1.87\tfail\ncap_weld\t18.18\t200.00\t0.09\tok\n"
            "stiffener\t72.75\t324.50\t0.22\tok\n"
            "stiffener_weld\t84.41\t200.00\t0.42\tok\n"
            "stiffener_plate_weld\t37.92\t200.00\t0.19\tok\n"
            "column_weld\t149.87\t200.00\t0.75\tok\ntube\t100.00\t305.00\t0.33\tok\n"
            "anchorage\t828.00\t1000.00\t0.83\tok\ndetailing\t20.00\t16.00\t1.25\tfail\n"
            "verdict\tfail\n"},
        CheckLinesRow{"Seismic", "--method elastic --tube 1020x16 --seismic 1000 1000 1520 1620 18", 4,
                      "bolt\t112.00\t147.01\t0.76\tok\nbearing\t3.20\t14.30\t0.22\tok\n"
                      "shear\t0.00\t622.00\t0.00\tok\nequilibrium\t0.80\t5.00\t0.16\tok\n"
                      "plate\t143.76\t295.00\t0.49\tok\n"
                      "plate_inside\t776.81\t295.00\t2.63\tfail\n"
                      "cap\t245.11\t295.00\t0.83\tok\ncap_weld\t18.18\t200.00\t0.09\tok\n"
                      "stiffener\t72.75\t324.50\t0.22\tok\n"
                      "stiffener_weld\t84.41\t200.00\t0.42\tok\n"
                      "stiffener_plate_weld\t37.92\t200.00\t0.19\tok\n"
                      "column_weld\t149.87\t200.00\t0.75\tok\ntube\t100.00\t305.00\t0.33\tok\n"
                      "anchorage\t828.00\t1000.00\t0.83\tok\ndetailing\t15.41\t16.00\t0.96\tok\n"
                      "seismic\t5947.05\t4734.05\t1.26\tfail\nverdict\tfail\n"},
        // β_l = min(3 × 1520, 2400)/1520 = 1.58.
        CheckLinesRow{"Pedestal", "--method elastic --pedestal 2400 1000 1000 1520 1620 18", 0,
                      "bolt\t112.00\t147.01\t0.76\tok\nbearing\t3.20\t22.58\t0.14\tok\n"
                      "shear\t0.00\t622.00\t0.00\tok\nequilibrium\t0.80\t5.00\t0.16\tok\n"
                      "verdict\tok\n"}),
    [](const testing::TestParamInfo<CheckLinesRow>& info) { return std::string(info.param.name); });

TEST(CheckLines, WithoutDesignOptionsTheOutputIsUnchanged) {
    EXPECT_EQ(run("1000 1000 1520 1620 18").out, defaultResults);
}

TEST(CheckLines, RefusalAndFailureKeepTheirStatus) {
    // The elastic method refuses full tension; the envelope then stands on the rigid plate.
    const CliResult refused = run("--method elastic --check -- -6000 1000 1520 1620 18");
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.out, "底板全截面受拉\n");
    const CliResult failed = run("--check 1000 1000 abc 1620 18");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "错误：「d(mm)」不是有效的数字\n");
    // A base that cannot exist: neither a line nor a verdict.
    const CliResult noBolts = run("--check 1000 1000 1520 1620 0");
    EXPECT_EQ(noBolts.status, 1);
    EXPECT_EQ(noBolts.out, "");
    EXPECT_EQ(noBolts.err, "错误：「锚栓个数」应为正整数（输入为 0），不能作设计验算\n");
}

struct BadOptionRow {
    const char* name;
    const char* args;
    int status;
    const char* errStart;
};

class BadOption : public testing::TestWithParam<BadOptionRow> {};

TEST_P(BadOption, ClearMessageAndNothingComputed) {
    const CliResult r = run(std::string(GetParam().args) + " 1000 1000 1520 1620 18");
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(GetParam().errStart, 0), 0u) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadOption,
    testing::Values(
        BadOptionRow{"UnknownBolt", "--bolt M37", 1,
                     "错误：「锚栓规格」没有“M37”这一规格，可选：M20"},
        BadOptionRow{"UnknownSteel", "--steel Q345", 1,
                     "错误：「锚栓钢材」没有“Q345”这一牌号，可选：Q235、Q355、Q390\n"},
        BadOptionRow{"UnknownConcrete", "--concrete C100", 1,
                     "错误：「混凝土强度等级」没有“C100”这一等级"},
        BadOptionRow{"BetaOutOfRange", "--beta-l 3.5", 1,
                     "错误：「局部受压提高系数 βl」应在 1.0 至 3.0 之间\n"},
        BadOptionRow{"BetaNoNumber", "--beta-l x", 1,
                     "错误：「局部受压提高系数 βl」不是有效的数字\n"},
        BadOptionRow{"ShearNoNumber", "--shear 1,5", 1, "错误：「剪力 V(kN)」不是有效的数字\n"},
        BadOptionRow{"ShearTooLarge", "--shear 1e999", 1, "错误：「剪力 V(kN)」的数值超出范围\n"},
        BadOptionRow{"FrictionZero", "--friction 0", 1,
                     "错误：「摩擦系数 μ」应大于 0 且不大于 1\n"},
        BadOptionRow{"FrictionNegative", "--friction=-0.4", 1,
                     "错误：「摩擦系数 μ」应大于 0 且不大于 1\n"},
        // The value of an option is the next argument, even when it looks like P.
        BadOptionRow{"ValueTakenFromArguments", "--check --bolt", 1,
                     "错误：「锚栓规格」没有“1000”这一规格"},
        BadOptionRow{"UnknownOption", "--blot M36", 2, "tarvel-calc: 未知选项 --blot\n"},
        BadOptionRow{"DetailingWithoutTube", "--plate 30", 2,
                     "tarvel-calc: --plate 描述钢管柱脚的板件，需同时给出 --tube"},
        BadOptionRow{"TubeTooWide", "--tube 1600x16", 1,
                     "错误：钢管外径 Dt = 1600 mm 应小于底板受压直径 d = 1520 mm\n"},
        BadOptionRow{"PlateNoNumber", "--tube 1020x16 --plate x", 1,
                     "错误：「底板厚度 tp(mm)」不是有效的数字\n"},
        BadOptionRow{"UnknownMethod", "--method plastic", 2,
                     "tarvel-calc: --method 应为 elastic、compatibility、envelope 或 "
                     "fem，而不是“plastic”\n"},
        BadOptionRow{"FemWithoutTube", "--method fem", 2,
                     "tarvel-calc: --method fem（板有限元法）需同时给出 --tube"},
        BadOptionRow{"FemOptionWithoutFem", "--tube 1020x16 --fem-mesh 10", 2,
                     "tarvel-calc: --fem-mesh 用于 --method fem"},
        BadOptionRow{"FemMeshOutOfRange", "--method fem --tube 1020x16 --fem-mesh 1", 2,
                     "tarvel-calc: --fem-mesh 应在 2～100 mm 之间"},
        BadOptionRow{"FemDepthOutOfRange", "--method fem --tube 1020x16 --fem-depth 5", 2,
                     "tarvel-calc: --fem-depth 应在 10～"},
        BadOptionRow{"FemMeshOverTheLimit", "--method fem --tube 1020x16 --fem-mesh 2", 1,
                     "错误：网格尺寸 h（--fem-mesh）过小：单元数"},
        BadOptionRow{"FemTubeTooWide", "--method fem --tube 1520x16", 1,
                     "错误：钢管外径 Dt = 1520 mm 应小于底板受压直径 d = 1520 mm\n"},
        BadOptionRow{"ModularRatioAboveFifty", "--method compatibility --modular-ratio 60", 1,
                     "错误：「模量比 nE」应在 1 至 50 之间\n"},
        BadOptionRow{"ModularRatioNoNumber", "--modular-ratio x", 1,
                     "错误：「模量比 nE」不是有效的数字\n"},
        BadOptionRow{"PedestalAndBeta", "--pedestal 2400 --beta-l 1.5", 2,
                     "tarvel-calc: --pedestal 与 --beta-l 不能同时给出"},
        BadOptionRow{"PedestalSmallerThanThePlate", "--pedestal 1500", 1,
                     "错误：--pedestal：柱墩边长 B = 1500 mm 应不小于底板受压直径 d = 1520 mm\n"},
        BadOptionRow{"SeismicWithoutTube", "--seismic", 2,
                     "tarvel-calc: --seismic 需同时给出 --tube"},
        BadOptionRow{"EtaWithoutSeismic", "--tube 1020x16 --eta-j 1.2", 2,
                     "tarvel-calc: --eta-j 用于 --seismic"},
        BadOptionRow{"EtaOutOfRange", "--tube 1020x16 --seismic --eta-j 2", 1,
                     "错误：--eta-j：「连接系数 ηj」应在 1.0 至 1.5 之间\n"},
        BadOptionRow{"KeyOfTwoNumbers", "--tube 1020x16 --shear-key 300x200", 1,
                     "错误：--shear-key：「抗剪键 bk×hk×tk(mm)」应写成三个数"},
        BadOptionRow{
            "GroutAsDeepAsTheKey", "--tube 1020x16 --shear-key 300x200x30 --grout 200", 1,
            "错误：--grout：「灌浆层厚度 g(mm)」应不小于 0 且小于抗剪键高度 hk = 200 mm\n"},
        BadOptionRow{"HoleWithTheElasticMethod", "--method elastic --tube 1020x16 --plate-hole 800",
                     1, "错误：--plate-hole：弹性受压区法按实心圆板计算"},
        BadOptionRow{"HoleOutsideTheTube", "--tube 1020x16 --plate-hole 990", 1,
                     "错误：--plate-hole：底板中心孔直径 dh = 990 mm 应小于钢管内径"},
        BadOptionRow{"FemHoleOutsideTheTube", "--method fem --tube 1020x16 --plate-hole 990", 1,
                     "错误：--plate-hole：底板中心孔直径 dh = 990 mm 应小于钢管内径"},
        BadOptionRow{"HoleWithoutTube", "--plate-hole 800", 2,
                     "tarvel-calc: --plate-hole 描述钢管柱脚的板件"},
        BadOptionRow{"KeyWithoutTube", "--shear-key 300x200x30", 2,
                     "tarvel-calc: --shear-key 描述钢管柱脚的板件"}),
    [](const testing::TestParamInfo<BadOptionRow>& info) { return std::string(info.param.name); });

TEST(BadOption, MissingValueIsWrongUsage) {
    const CliResult r = run("1000 1000 1520 1620 18 --bolt");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("tarvel-calc: --bolt 需要一个值\n", 0), 0u);
    EXPECT_EQ(run("--csv").status, 2);
    EXPECT_EQ(run("--csv x.csv 1 2 3 4 5").status, 2);
}

struct MethodRow {
    const char* name;
    const char* args;
    int status;
    const char* from;   // the first line compared
    const char* output; // stdout from that line on
};

class Methods : public testing::TestWithParam<MethodRow> {};

TEST_P(Methods, TextsAndCheckLinesOfTheMethodShown) {
    const CliResult r = run(GetParam().args);
    EXPECT_EQ(r.status, GetParam().status) << r.err;
    const std::size_t from = r.out.find(GetParam().from);
    ASSERT_NE(from, std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(from), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Methods,
    testing::Values(
        MethodRow{"CompatibilityDefaultBase",
                  "--method compatibility --check 1000 1000 1520 1620 18", 0, "xt\t",
                  "xt\t540.\nqmaxt\t5.90\ntt\t63.11\nfmst\t416.80\nmmst\t242.40\nfqt\t1416.80\n"
                  "mqt\t757.60\nct\t535.\nc2t\t582.\nh1t\t1000\nh2t\t1000\nvt\t567.\n"
                  "method\tcompatibility\nbolt\t63.11\t147.01\t0.43\tok\n"
                  "bearing\t5.90\t14.30\t0.41\tok\nshear\t0.00\t566.72\t0.00\tok\n"
                  "equilibrium\t0.00\t5.00\t0.00\tok\nverdict\tok\n"},
        // Without checks the twelve lines alone, as the elastic method prints them.
        MethodRow{"CompatibilityWithoutChecks", "--method=compatibility -- -826 7250 2390 2730 10",
                  0, "tt\t",
                  "tt\t986.34\nfmst\t4278.15\nmmst\t3584.49\nfqt\t3452.15\n"
                  "mqt\t3665.51\nct\t1062.\nc2t\t838.\nh1t\t-826\nh2t\t7250\nvt\t1381.\n"},
        MethodRow{"UpliftOnTheBolts", "--method compatibility --check -- -4000 800 1520 1620 18", 4,
                  "tt\t",
                  "tt\t331.96\nfmst\t4000.00\nmmst\t800.00\nfqt\t.00\nmqt\t.00\nct\t.\n"
                  "c2t\t200.\nh1t\t-4000\nh2t\t800\nvt\t.\nmethod\tcompatibility\n"
                  "bolt\t331.96\t147.01\t2.26\tfail\nbearing\t0.00\t14.30\t0.00\tok\n"
                  "shear\t0.00\t0.00\t0.00\tok\nequilibrium\t0.00\t5.00\t0.00\tok\n"
                  "verdict\tfail\n"},
        MethodRow{"ElasticNamesItsMethod", "--method elastic --check 1000 1000 1520 1620 18", 0,
                  "vt\t",
                  "vt\t622.\nmethod\telastic\nbolt\t112.00\t147.01\t0.76\tok\n"
                  "bearing\t3.20\t14.30\t0.22\tok\nshear\t0.00\t622.00\t0.00\tok\n"
                  "equilibrium\t0.80\t5.00\t0.16\tok\nverdict\tok\n"},
        // Bolt by the elastic T, bearing by the compatibility σ, shear by its smaller C; the
        // method line names the envelope, whose texts are the elastic ones here.
        MethodRow{"EnvelopeKeepsTheElasticTexts",
                  "--method envelope --shear 600 1000 1000 1520 1620 18", 4, "vt\t",
                  "vt\t622.\nmethod\tenvelope\nbolt\t112.00\t147.01\t0.76\tok\n"
                  "bearing\t5.90\t14.30\t0.41\tok\nshear\t600.00\t566.72\t1.06\tfail\n"
                  "equilibrium\t0.80\t5.00\t0.16\tok\nverdict\tfail\n"},
        // The search misses equilibrium by 111 %: the compatibility texts are shown.
        MethodRow{"EnvelopeLeavesOutAnUnbalancedElastic",
                  "--method envelope --check -- -826 7250 2390 2730 10", 4, "vt\t",
                  "vt\t1381.\nmethod\tenvelope\nbolt\t986.34\t147.01\t6.71\tfail\n"
                  "bearing\t24.55\t14.30\t1.72\tfail\nshear\t0.00\t1380.86\t0.00\tok\n"
                  "equilibrium\t0.00\t5.00\t0.00\tok\nverdict\tfail\n"},
        MethodRow{"NoEquilibriumIsRefused", "--method compatibility -- -100 0 1520 1620 0", 3,
                  "应变", "应变协调法无平衡解：没有锚栓，底板不能承受拉力或纯弯矩\n"}),
    [](const testing::TestParamInfo<MethodRow>& info) { return std::string(info.param.name); });

TEST(Json, MethodAndBoltForces) {
    const auto j = nlohmann::json::parse(
        run("--json --method compatibility --modular-ratio 6.8666666666666667 1000 1000 1520 "
            "1620 18")
            .out);
    EXPECT_EQ(j["method"], "compatibility");
    ASSERT_EQ(j["bolt_forces"].size(), 18u);
    EXPECT_NEAR(j["bolt_forces"][0].get<double>(), 63.11, 0.005);
    double sum = 0;
    for (const auto& force : j["bolt_forces"])
        sum += force.get<double>();
    EXPECT_NEAR(sum, 416.80, 0.005);
    EXPECT_EQ(j["results"]["tt"], "63.11");
}

TEST(CsvChecks, EnvelopeNamesTheMethodOfEachRow) {
    const CliResult r = run("--method envelope --csv -",
                            "P,M,d,D,n\n1000,1000,1520,1620,18\n-826,7250,2390,2730,10\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(r.out.find("message,method\n")),
              "message,method\n"
              "1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,393.,676.,"
              "987.52,994.1,622.,,elastic\n"
              "-826,7250,2390,2730,10,ok,314.,24.55,986.34,4278.15,3584.49,3452.15,3665.51,1062.,"
              "838.,-826,7250,1381.,,compatibility\n");
}

TEST(Json, ParsesBackWithEverything) {
    const CliResult r = run("--json --method elastic --shear 700 1000 1000 1520 1620 18");
    EXPECT_EQ(r.status, 4);
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["input"]["P"], "1000");
    EXPECT_EQ(j["status"], "ok");
    EXPECT_EQ(j["results"]["xt"], "904.");
    EXPECT_EQ(j["results"]["vt"], "622.");
    EXPECT_EQ(j["results"].size(), 12u);
    EXPECT_EQ(j["design"]["bolt"], "M36");
    EXPECT_EQ(j["design"]["V"], 700.0);
    ASSERT_EQ(j["checks"].size(), 4u);
    EXPECT_EQ(j["checks"][0]["name"], "bolt");
    EXPECT_EQ(j["checks"][0]["capacityText"], "147.01");
    EXPECT_EQ(j["checks"][2]["ok"], false);
    EXPECT_NE(j["checks"][2]["remark"].get<std::string>().find("抗剪键"), std::string::npos);
    EXPECT_EQ(j["verdict"], "fail");
    EXPECT_EQ(j["refined"]["status"], "solved");
    EXPECT_NEAR(j["refined"]["forceSum"].get<double>(), 1000, 1e-6);

    const auto steel = nlohmann::json::parse(
        run("--json --method elastic --tube 1020x16 1000 1000 1520 1620 18").out);
    ASSERT_EQ(steel["checks"].size(), 15u);
    EXPECT_EQ(steel["checks"][4]["name"], "plate");
    EXPECT_EQ(steel["checks"][4]["demandText"], "143.76");
    EXPECT_EQ(steel["design"]["detailing"]["tube"], "1020x16");
}

TEST(Json, RefusalAndFailure) {
    const CliResult refused = run("--json --method elastic -- -1000 0 1520 1620 18");
    EXPECT_EQ(refused.status, 3);
    const auto jr = nlohmann::json::parse(refused.out);
    EXPECT_EQ(jr["status"], "refused");
    EXPECT_EQ(jr["message"], "底板全截面受拉");
    EXPECT_FALSE(jr.contains("checks"));
    const CliResult failed = run("--json --method elastic -- -8000 1000 1000 1620 18");
    EXPECT_EQ(failed.status, 1);
    const auto jf = nlohmann::json::parse(failed.out);
    EXPECT_EQ(jf["status"], "error");
    EXPECT_EQ(jf["results"]["xt"], ".");
    EXPECT_EQ(jf["message"], "计算中出现除以零");
    // Texts that are not UTF-8 still give valid JSON.
    EXPECT_NO_THROW(nlohmann::json::parse(run("--json $'\\xff' 1 2 3 4").out));
}

TEST(CsvChecks, ColumnsAndTheGoverningSummary) {
    const std::string input = "\xEF\xBB\xBFname,P,M,d,D,n,V\r\n"
                              "1.3G+1.5Q,1000,1000,1520,1620,18,100\r\n"
                              "wind,5000,5000,1520,1620,18,\r\n"
                              "tension,-1000,0,1520,1620,18,0\r\n"
                              "bad,1000,1000,1520,1620,18,x\r\n"
                              "no bolts,1000,1000,1520,1620,0,\r\n";
    const CliResult r = run("--method elastic --check --shear 50 --csv -", input);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "name,P,M,d,D,n,status,xt,qmaxt,tt,fmst,mmst,fqt,mqt,ct,c2t,h1t,h2t,vt,message,V,"
              "bolt_ratio,bearing_ratio,shear_ratio,equilibrium_ratio,verdict\n"
              "1.3G+1.5Q,1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,1555.01,610.46,"
              "393.,676.,987.52,994.1,622.,,100,0.76,0.22,0.16,0.16,ok\n"
              "wind,5000,5000,1520,1620,18,ok,904.,16.10,561.00,2842.50,1921.64,7823.63,3071.36,"
              "393.,676.,4981.13,4993,3129.,,50,3.82,1.13,0.02,0.05,fail\n"
              "tension,-1000,0,1520,1620,18,refused,,,,,,,,,,,,,底板全截面受拉,0,,,,,\n"
              "bad,1000,1000,1520,1620,18,error,,,,,,,,,,,,,「剪力 V(kN)」不是有效的数字,x,,,,,\n"
              "no bolts,1000,1000,1520,1620,0,error,,,,,,,,,,,,,"
              "「锚栓个数」应为正整数（输入为 0），不能作设计验算,50,,,,,\n");
    EXPECT_EQ(r.err, "最不利 锚栓抗拉：第 2 行（wind），利用率 3.82，不满足\n"
                     "最不利 混凝土承压：第 2 行（wind），利用率 1.13，不满足\n"
                     "最不利 抗剪：第 1 行（1.3G+1.5Q），利用率 0.16，满足\n"
                     "最不利 平衡校核：第 1 行（1.3G+1.5Q），利用率 0.16，满足\n"
                     "3 个荷载组合未得出验算结果，不计入最不利（首个：第 3 行（tension），"
                     "底板全截面受拉）\n");
}

TEST(CsvChecks, SteelPartsAddTheirColumns) {
    const CliResult r =
        run("--method elastic --infill --tube 1020x16 --csv -", "P,M,d,D,n\n1000,1000,1520,1620,18\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(",equilibrium_ratio,plate_ratio,plate_inside_ratio,cap_ratio,"
                         "cap_weld_ratio,stiffener_ratio,stiffener_weld_ratio,"
                         "stiffener_plate_weld_ratio,column_weld_ratio,tube_ratio,anchorage_ratio,"
                         "detailing_ratio,verdict\n"),
              std::string::npos);
    EXPECT_NE(r.out.find(",0.16,0.49,0.00,0.83,0.09,0.22,0.42,0.19,0.75,0.33,0.83,0.96,ok\n"),
              std::string::npos);
    EXPECT_NE(r.err.find("最不利 锚栓顶板：第 1 行，利用率 0.83，满足\n"), std::string::npos);
    // The checks this design does not make (no seismic factor, no shear key) are not listed.
    EXPECT_EQ(r.err.find("无可验算"), std::string::npos) << r.err;
    // A check the same in every combination names none.
    EXPECT_NE(r.err.find("最不利 锚固长度：与荷载无关，各荷载组合相同，利用率 0.83，满足\n"),
              std::string::npos)
        << r.err;
}

TEST(CsvChecks, WithoutDesignOptionsNameIsEchoedAndNoCheckColumns) {
    const CliResult r = run("--csv -", "P\tM\td\tD\tn\tname\n1000\t1000\t1520\t1620\t18\tG\n");
    EXPECT_EQ(r.out, "name,P,M,d,D,n,status,xt,qmaxt,tt,fmst,mmst,fqt,mqt,ct,c2t,h1t,h2t,vt,"
                     "message\nG,1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,383.64,"
                     "1555.01,610.46,393.,676.,987.52,994.1,622.,\n");
    EXPECT_EQ(r.err, "");
}

} // namespace
