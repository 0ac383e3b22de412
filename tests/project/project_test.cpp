// Project files: which version a project is written in, the detailing and the analysis method
// read back.

#include "project/project.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace tarvel;

namespace {

const char* const versionOne = R"({"format": "tarvel-project", "version": 1,
 "geometry": {"d": "1520", "D": "1620", "n": "18"},
 "design": {"bolt": "M36", "steel": "Q355", "concrete": "C30", "betaL": 1.0, "friction": 0.4},
 "loads": [{"name": "G", "P": "1000", "M": "1000"}]})";

TEST(ProjectFile, VersionOneStaysVersionOne) {
    const Project p = parseProject(versionOne);
    EXPECT_FALSE(p.design.detailing);
    const std::string saved = serializeProject(p);
    EXPECT_NE(saved.find("\"version\": 1"), std::string::npos);
    EXPECT_EQ(parseProject(saved), p);
    EXPECT_EQ(p.design.V, 0); // written before the shear was kept: none
    // The design shear is no reason for version 2: a version-1 reader ignores it.
    std::string text = versionOne;
    text.insert(text.find("\"friction\": 0.4") + 15, R"(, "V": -2000.5)");
    const Project sheared = parseProject(text);
    EXPECT_EQ(sheared.design.V, -2000.5);
    const std::string savedSheared = serializeProject(sheared);
    EXPECT_NE(savedSheared.find("\"version\": 1"), std::string::npos);
    EXPECT_EQ(parseProject(savedSheared), sheared);
}

TEST(ProjectFile, DetailingIsVersionTwoAndMissingKeysTakeTheDefaults) {
    std::string text = versionOne;
    text.insert(text.find("\"friction\": 0.4") + 15,
                R"(, "detailing": {"tube": "1020x16", "plate": 36, "electrode": "e43"})");
    const Project p = parseProject(text);
    ASSERT_TRUE(p.design.detailing);
    DetailingInput expected;
    expected.tube = "1020x16";
    expected.plate = 36;
    expected.electrode = "E43";
    EXPECT_EQ(*p.design.detailing, expected);
    const std::string saved = serializeProject(p);
    EXPECT_NE(saved.find("\"version\": 2"), std::string::npos);
    EXPECT_EQ(parseProject(saved), p);
}

TEST(ProjectFile, PedestalSeismicAndShearKeyRoundTrip) {
    Project p;
    p.design.pedestal = 2400;
    p.design.seismic = DesignInput::Seismic{1.2};
    p.design.detailing.emplace();
    p.design.detailing->tube = "1020x16";
    p.design.detailing->shearKey = "300x200x30";
    p.design.detailing->grout = 40;
    p.design.detailing->shearKeyWeld = 12;
    const std::string text = serializeProject(p);
    EXPECT_NE(text.find("\"seismic\": {\n      \"etaJ\": 1.2"), std::string::npos) << text;
    EXPECT_EQ(parseProject(text), p);
}

TEST(ProjectFile, FilledTubeAndButtWeldRoundTrip) {
    std::string text = versionOne;
    text.insert(text.find("\"friction\": 0.4") + 15,
                R"(, "detailing": {"tube": "1020x16", "weld": "full", "infill": true})");
    const Project p = parseProject(text);
    ASSERT_TRUE(p.design.detailing);
    EXPECT_TRUE(p.design.detailing->fullPenetration);
    EXPECT_TRUE(p.design.detailing->infill);
    EXPECT_EQ(parseProject(serializeProject(p)), p);
    // An annular plate keeps its hole with the detailing.
    Project holed = p;
    holed.design.plateHole = 800;
    EXPECT_EQ(parseProject(serializeProject(holed)), holed);
    text.replace(text.find("\"full\""), 6, "\"half\"");
    EXPECT_THROW(parseProject(text), TarvelError);
}

struct VersionRow {
    const char* name;
    AnalysisMethod method;
    std::optional<double> modularRatio;
    int version;
};

class ProjectMethod : public testing::TestWithParam<VersionRow> {};

TEST_P(ProjectMethod, RoundTripsInTheOldestVersionThatHoldsIt) {
    Project p;
    p.design.method = GetParam().method;
    p.design.modularRatio = GetParam().modularRatio;
    p.loads = {{"G", "1000", "1000", ""}};
    const std::string text = serializeProject(p);
    EXPECT_NE(text.find("\"version\": " + std::to_string(GetParam().version)), std::string::npos)
        << text;
    EXPECT_EQ(parseProject(text), p);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProjectMethod,
    testing::Values(VersionRow{"EnvelopeByDefault", AnalysisMethod::Envelope, std::nullopt, 1},
                    VersionRow{"ElasticByGrade", AnalysisMethod::Elastic, std::nullopt, 2},
                    VersionRow{"Compatibility", AnalysisMethod::Compatibility, std::nullopt, 2},
                    VersionRow{"EnvelopeWithRatio", AnalysisMethod::Envelope, 8.5, 2},
                    VersionRow{"ElasticWithRatio", AnalysisMethod::Elastic, 8.5, 2}),
    [](const testing::TestParamInfo<VersionRow>& info) { return std::string(info.param.name); });

// The plate finite-element method's depth and mesh size are kept, in version 2.
TEST(ProjectFile, KeepsThePlateModelsDepthAndMesh) {
    Project p;
    p.design.femDepth = 1200;
    p.design.femMesh = 12.5;
    const std::string text = serializeProject(p);
    EXPECT_NE(text.find("\"version\": 2"), std::string::npos) << text;
    EXPECT_EQ(parseProject(text), p);
}

struct BadMethodRow {
    const char* name;
    const char* design; // the fields after friction
    const char* message;
};

class ProjectBadMethod : public testing::TestWithParam<BadMethodRow> {};

TEST_P(ProjectBadMethod, NamesTheField) {
    const std::string text =
        std::string(R"({"format": "tarvel-project", "version": 2, "geometry": {"d": "1520",
        "D": "1620", "n": "18"}, "design": {"bolt": "M36", "steel": "Q355", "concrete": "C30",
        "betaL": 1, "friction": 0.4)") +
        GetParam().design + R"(}, "loads": []})";
    try {
        parseProject(text);
        FAIL() << "accepted";
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::BadProjectFile);
        EXPECT_STREQ(e.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProjectBadMethod,
    testing::Values(
        BadMethodRow{
            "UnknownMethod", R"(, "method": "plastic")",
            "项目文件中「design.method」应为 elastic、compatibility、envelope 或 fem，而不是“"
            "plastic”"},
        BadMethodRow{"MethodNotText", R"(, "method": 2)", "项目文件中「design.method」应为文字"},
        BadMethodRow{"FemMeshOutOfRange", R"(, "femMesh": 1)",
                     "项目文件中「design.femMesh」应在 2 至 100 mm 之间"},
        BadMethodRow{"RatioOutOfRange", R"(, "modularRatio": 0.5)",
                     "项目文件中的验算输入有误：「模量比 nE」应在 1 至 50 之间"},
        BadMethodRow{"PedestalSmallerThanThePlate", R"(, "pedestal": 1000)",
                     "项目文件中的验算输入有误：柱墩边长 B = 1000 mm 应不小于底板受压直径 d = "
                     "1520 mm"},
        BadMethodRow{"SeismicWithoutTube", R"(, "seismic": {"etaJ": 1.1})",
                     "项目文件中的验算输入有误：抗震极限承载力验算需要钢管（构造参数）"},
        BadMethodRow{"EtaNotNumber", R"(, "seismic": {"etaJ": "1.1"})",
                     "项目文件中「design.seismic.etaJ」应为数值"},
        BadMethodRow{
            "GroutAsDeepAsTheKey",
            R"(, "detailing": {"tube": "1020x16", "shearKey": "300x200x30", "grout": 200})",
            "项目文件中的验算输入有误：「灌浆层厚度 g(mm)」应不小于 0 且小于抗剪键高度 hk = "
            "200 mm"}),
    [](const testing::TestParamInfo<BadMethodRow>& info) { return std::string(info.param.name); });

} // namespace
