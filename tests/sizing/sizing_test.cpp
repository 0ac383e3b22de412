// The sizing against a brute-force enumeration of every combination of every part over small
// ranges, each design judged by the project's own checks; and the sizing ranges a project
// keeps.

#include "project/project.h"
#include "sizing/basemass.h"
#include "sizing/sizing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

using namespace tarvel;

namespace {

struct BruteRow {
    const char* name;
    std::string tube, plateSteel, electrode;
    std::vector<ProjectLoad> loads;
};

void PrintTo(const BruteRow& r, std::ostream* os) {
    *os << r.name;
}

// Small ranges: 8 geometries, 3 bolts and 3 × 3 × 3 × 2 × 2 × 2 part choices each. The plate
// of 16 mm is below the detailing minimum, so the choice is among the thicker parts.
SizingRanges smallRanges() {
    SizingRanges r;
    r.bolts = {"M30", "M36", "M42"};
    r.counts = {8, 12};
    r.d = SizingRange{720, 760, 40};
    r.offset = {80, 120, 40};
    r.thicknesses = {16, 25, 36};
    r.stiffenerHeights = {200, 300, 100};
    r.welds = {6, 10};
    return r;
}

Project projectOf(const BruteRow& row) {
    Project p;
    p.design.detailing.emplace();
    p.design.detailing->tube = row.tube;
    p.design.detailing->plateSteel = row.plateSteel;
    p.design.detailing->electrode = row.electrode;
    p.design.detailing->cap = "20x200";
    p.loads = row.loads;
    return p;
}

struct Lightest {
    double mass = 0;
    std::vector<std::string> designs; // "d D n bolt" of every design of that mass
};

// Every design of the ranges through computeCase-style checks; the lightest that passes.
std::optional<Lightest> bruteForce(const Project& project, const SizingRanges& r) {
    const DetailingInput base = *project.design.detailing;
    const Detailing tube = readDetailing(base);
    std::optional<Lightest> best;
    for (double d = r.d->min; d <= r.d->max; d += r.d->step)
        for (double off = r.offset.min; off <= r.offset.max; off += r.offset.step)
            for (int n : r.counts) {
                const double D = d + off;
                // The calculation of each combination, once per geometry.
                std::vector<InputTexts> inputs;
                std::vector<TextSink> sinks(project.loads.size());
                bool computed = true;
                for (std::size_t k = 0; k < project.loads.size(); ++k) {
                    const ProjectLoad& l = project.loads[k];
                    inputs.push_back({l.P, l.M, std::to_string(int(d)), std::to_string(int(D)),
                                      std::to_string(n)});
                    try {
                        computed =
                            computed && calculate(inputs[k], sinks[k], {}, '.', 1) == Outcome::Done;
                    } catch (const TarvelError&) {
                        computed = false;
                    }
                }
                if (!computed) continue;
                for (const std::string& bolt : r.bolts) {
                    DesignInput design = project.design;
                    design.bolt = bolt;
                    const double db = resolveDesign(design).bolt.diameter;
                    const double la =
                        std::ceil(anchorageFactor(design.steel, design.concrete) * db / 10) * 10;
                    for (double tp : r.thicknesses)
                        for (double ts : r.thicknesses)
                            for (double tc : r.thicknesses)
                                for (double hs = r.stiffenerHeights.min;
                                     hs <= r.stiffenerHeights.max; hs += r.stiffenerHeights.step)
                                    for (double hf : r.welds)
                                        for (double hfs : r.welds) {
                                            const double mass = baseMass({d, D, n, db, tube.Dt, tp,
                                                                          ts, hs, tc, tube.bc, la})
                                                                    .total;
                                            if (best && mass > best->mass) continue;
                                            DetailingInput& t = *design.detailing;
                                            t = base;
                                            t.plate = tp;
                                            t.stiffener = std::to_string(int(ts)) + "x" +
                                                          std::to_string(int(hs));
                                            t.cap = std::to_string(int(tc)) + "x" +
                                                    std::to_string(int(tube.bc));
                                            t.weld = hf;
                                            t.stiffenerWeld = hfs;
                                            t.anchorage = la;
                                            bool ok = true;
                                            for (std::size_t k = 0; ok && k < project.loads.size();
                                                 ++k) {
                                                DesignInput dk = design;
                                                dk.V = project.loads[k].V.empty()
                                                           ? 0
                                                           : std::stod(project.loads[k].V);
                                                try {
                                                    ok = checkDesign(analyze(inputs[k]), inputs[k],
                                                                     sinks[k].result(), dk)
                                                             .ok;
                                                } catch (const TarvelError&) {
                                                    ok = false; // the parts do not fit
                                                }
                                            }
                                            if (!ok) continue;
                                            const std::string name = std::to_string(int(d)) + " " +
                                                                     std::to_string(int(D)) + " " +
                                                                     std::to_string(n) + " " + bolt;
                                            if (!best || mass < best->mass)
                                                best = Lightest{mass, {}};
                                            best->designs.push_back(name);
                                        }
                }
            }
    return best;
}

class BruteForce : public testing::TestWithParam<BruteRow> {};

TEST_P(BruteForce, AgreesOnTheLightestDesign) {
    const Project project = projectOf(GetParam());
    const SizingRanges ranges = smallRanges();
    const SizingResult result = sizeBase(project, ranges);
    const std::optional<Lightest> expected = bruteForce(project, ranges);
    EXPECT_EQ(result.unconfirmed, 0u);
    EXPECT_EQ(result.tried, 8u * 3u);
    if (!expected) {
        EXPECT_TRUE(result.designs.empty());
        EXPECT_EQ(result.rejected(), result.tried);
        return;
    }
    ASSERT_FALSE(result.designs.empty());
    const SizedDesign& first = result.designs.front();
    EXPECT_EQ(first.mass.total, expected->mass);
    const std::string name = std::to_string(int(first.d)) + " " + std::to_string(int(first.D)) +
                             " " + std::to_string(first.n) + " " + first.bolt;
    EXPECT_NE(std::find(expected->designs.begin(), expected->designs.end(), name),
              expected->designs.end())
        << name;
    for (std::size_t k = 1; k < result.designs.size(); ++k)
        EXPECT_LE(result.designs[k - 1].mass.total, result.designs[k].mass.total);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BruteForce,
    testing::Values(
        BruteRow{"ModerateLoads",
                 "610x12",
                 "Q355",
                 "E50",
                 {{"1", "800", "300", "50"}, {"2", "300", "450", ""}, {"3", "1500", "200", "80"}}},
        BruteRow{"SofterSteelWeakerWelds",
                 "610x12",
                 "Q235",
                 "E43",
                 {{"1", "600", "380", ""}, {"2", "1200", "150", "60"}}},
        BruteRow{"NothingPasses", "610x12", "Q355", "E50", {{"1", "200", "2000", ""}}}),
    [](const testing::TestParamInfo<BruteRow>& info) { return std::string(info.param.name); });

TEST(SizingRangesOfAProject, SavedAsVersionTwoAndReadBack) {
    Project p;
    p.loads = {{"1", "1000", "1000", ""}};
    p.sizing = SizingRanges{};
    p.sizing->bolts = {"M30", "M36"};
    p.sizing->offset = {80, 200, 40};
    const std::string text = serializeProject(p);
    EXPECT_EQ(projectFileVersion(p), 2);
    EXPECT_EQ(parseProject(text), p);
    EXPECT_FALSE(parseProject(text).sizing->d.has_value()); // d stays with the tube
}

} // namespace
