// The sizing against a brute-force enumeration of every combination of every part over small
// ranges, each design judged by the project's own checks; and the sizing ranges a project
// keeps.

#include "checks/methods.h"
#include "core/number.h"
#include "project/project.h"
#include "sizing/basemass.h"
#include "sizing/sizing.h"
#include "sizing/sizingmethod.h"

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

// A transmission-pole base sized with the envelope: many designs lie on the edge of the
// bearing check, where the two methods disagree. The list, its length and every count must
// not depend on the threads or on the run.
Project poleProject() {
    Project p;
    p.design.bolt = "M42";
    p.design.V = 60;
    p.design.method = AnalysisMethod::Envelope;
    p.design.detailing.emplace();
    DetailingInput& t = *p.design.detailing;
    t.tube = "630x12";
    t.stiffener = "16x225";
    t.cap = "28x180";
    t.plate = 20;
    t.weld = 20;
    t.stiffenerWeld = 16;
    t.anchorage = 970;
    p.loads = {{"W1", "300", "900", "60"},       {"W2", "250", "950", "55"},
               {"W3", "420", "800", ""},         {"D1", "500", "300", "20"},
               {"U1", "-150", "700", "70"},      {"E1", "320", "884.59", "60.21"},
               {"E2", "280", "901.39", "53.85"}, {"E3", "-100", "640.31", "42.43"}};
    return p;
}

std::string listed(const SizingResult& r) {
    std::string out = std::to_string(r.designs.size()) + " listed, " +
                      std::to_string(r.unconfirmed) + " unconfirmed, " + std::to_string(r.refused) +
                      " refused, " + std::to_string(r.failed) + " failed, rejected";
    for (std::size_t c : r.rejectedBy)
        out += " " + std::to_string(c);
    for (const SizedDesign& d : r.designs)
        out += "\n" + std::to_string(d.mass.total) + " " + std::to_string(int(d.d)) + "/" +
               std::to_string(int(d.D)) + " " + d.bolt + " tp" + std::to_string(int(d.tp)) + " " +
               stiffenerText(d) + " " + capText(d) + " " + std::to_string(int(d.hf)) + "/" +
               std::to_string(int(d.hfs));
    return out;
}

// The plate model for each of thousands of geometries would take hours, and without the
// project's parts it has no plate at all: a project by it is searched with the envelope's
// demands, its designs then confirmed by the model.
TEST(SizingMethod, PlateFemProjectSearchesWithTheEnvelope) {
    Project p = poleProject();
    p.design.method = AnalysisMethod::Fem;
    const SizingMethod fem = sizingMethodFor(p.design);
    p.design.method = AnalysisMethod::Envelope;
    const SizingMethod envelope = sizingMethodFor(p.design);
    const InputTexts inputs{"300", "900", "760", "880", "24"};
    const BoltSize bolt = boltSizes()[8]; // M42
    const CaseDemands a = fem.compute(inputs, bolt), b = envelope.compute(inputs, bolt);
    ASSERT_EQ(a.status, CaseStatus::Ok) << a.message;
    EXPECT_EQ(a.T, b.T);
    EXPECT_EQ(a.sigma, b.sigma);
    EXPECT_EQ(a.shearCapacity, b.shearCapacity);
}

// A method that reads half the bearing demand: its designs fail the project's own checks
// by the dozen, more than the spares kept, and the list must still be full.
SizingMethod underestimatingBearing() {
    const SizingMethod own = sizingMethodFor(poleProject().design);
    return {true, [own](const InputTexts& inputs, const BoltSize& bolt) {
                CaseDemands d = own.compute(inputs, bolt);
                d.sigma /= 2;
                return d;
            }};
}

struct RepeatRow {
    const char* name;
    bool underestimates;
};

void PrintTo(const RepeatRow& r, std::ostream* os) {
    *os << r.name;
}

class SizingRepeated : public testing::TestWithParam<RepeatRow> {};

TEST_P(SizingRepeated, SameFullListWithAnyThreads) {
    const Project project = poleProject();
    SizingRanges r;
    r.bolts = {"M42"};
    // 24 M42 need a circle of π·D/24 ≥ 4 d_b, and a 630×12 tube a butt weld.
    r.counts = {24};
    r.d = SizingRange{1200, 1300, 10};
    r.offset = {60, 120, 10};
    r.stiffenerHeights = {200, 600, 25};
    r.welds = {6, 8, 10, 12, 14, 16, 18, 20, 22, 24};
    constexpr int top = 5;
    std::optional<std::string> first;
    for (unsigned threads : {1u, 2u, 8u, 2u}) {
        SizingOptions options;
        options.top = top;
        options.threads = threads;
        if (GetParam().underestimates) options.method = underestimatingBearing();
        const SizingResult result = sizeBase(project, r, options);
        EXPECT_EQ(result.designs.size(), std::size_t{top}) << threads << " threads";
        // The project's own method judges each combination as its checks do.
        if (!GetParam().underestimates) {
            EXPECT_EQ(result.unconfirmed, 0u) << threads << " threads";
        }
        if (!first)
            first = listed(result);
        else
            EXPECT_EQ(listed(result), *first) << threads << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SizingRepeated,
                         testing::Values(RepeatRow{"ProjectsEnvelope", false},
                                         RepeatRow{"MethodUnderestimatingBearing", true}),
                         [](const testing::TestParamInfo<RepeatRow>& info) {
                             return std::string(info.param.name);
                         });

// The envelope's demands as the sizing asks them (the elastic half kept for the geometry and
// shared by the bolt sizes) are the project's own checks, bolt after bolt, with a solid
// plate and with a central hole, which the elastic method does not take.
struct EnvelopeDemandRow {
    const char* name;
    InputTexts inputs;
    double plateHole;
};

void PrintTo(const EnvelopeDemandRow& r, std::ostream* os) {
    *os << r.name;
}

class EnvelopeDemands : public testing::TestWithParam<EnvelopeDemandRow> {};

TEST_P(EnvelopeDemands, AreTheChecksOfComputeCase) {
    const EnvelopeDemandRow& row = GetParam();
    DesignInput design;
    design.method = AnalysisMethod::Envelope;
    design.plateHole = row.plateHole;
    const SizingMethod method = sizingMethodFor(design);
    for (const char* bolt : {"M30", "M36", "M30"}) {
        const BoltSize size =
            *std::find_if(boltSizes().begin(), boltSizes().end(),
                          [&](const BoltSize& b) { return b.name == std::string(bolt); });
        const CaseDemands got = method.compute(row.inputs, size);
        DesignInput d = design;
        d.bolt = bolt;
        d.V = 1; // as the sizing asks: the smaller friction capacity of the two methods
        const ComputedCase want = computeCase(row.inputs, d, 1, true);
        ASSERT_EQ(got.status, want.status) << bolt;
        EXPECT_EQ(got.message, want.message) << bolt;
        if (want.status != CaseStatus::Ok) continue;
        EXPECT_EQ(got.T, want.checks[CheckId::Bolt].demand) << bolt;
        EXPECT_EQ(got.sigma, want.checks[CheckId::Bearing].demand) << bolt;
        EXPECT_EQ(got.shearCapacity, want.checks[CheckId::Shear].capacity) << bolt;
        EXPECT_EQ(got.miss, want.checks[CheckId::Equilibrium].demand) << bolt;
        EXPECT_EQ(got.edges[1].sigma, want.otherResult ? textToNumber(want.otherResult->qmaxt) : 0)
            << bolt;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, EnvelopeDemands,
    testing::Values(EnvelopeDemandRow{"Default", {"1000", "1000", "1520", "1620", "18"}, 0},
                    EnvelopeDemandRow{"Uplift", {"-300", "900", "900", "1000", "12"}, 0},
                    EnvelopeDemandRow{"FullTension", {"-3000", "10", "900", "1000", "12"}, 0},
                    EnvelopeDemandRow{"CentralHole", {"1000", "1000", "1520", "1620", "18"}, 300}),
    [](const testing::TestParamInfo<EnvelopeDemandRow>& info) {
        return std::string(info.param.name);
    });

} // namespace

namespace {

// No fillet of the list both carries the pole's 630×12 tube and fits its wall (h_f ≤ 14.4):
// the sizing takes a full-penetration butt weld instead of finding nothing.
TEST(SizingColumnWeld, ButtWeldPastTheFillets) {
    SizingRanges r;
    r.bolts = {"M42"};
    r.counts = {24};
    r.d = SizingRange{1200, 1300, 10};
    r.offset = {60, 120, 10};
    r.welds = {6, 8, 10, 12, 14, 16};
    const SizingResult result = sizeBase(poleProject(), r, {});
    ASSERT_FALSE(result.designs.empty());
    for (const SizedDesign& d : result.designs)
        EXPECT_TRUE(d.fullPenetration) << weldText(d);
}

} // namespace
