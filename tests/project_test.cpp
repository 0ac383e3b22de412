// Project files: which version a project is written in, and the detailing read back.

#include "project.h"

#include <gtest/gtest.h>

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

} // namespace
