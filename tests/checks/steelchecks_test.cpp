// The checks of the steel parts against hand calculations (independent of the engine's code),
// and the detailing the engine refuses.

#include "checks/design.h"
#include "checks/methods.h"
#include "checks/plasticbase.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace tarvel;

namespace {

struct SteelRow {
    const char* name;
    InputTexts inputs;
    DetailingInput detailing;
    std::string concrete, steel;
    // check key → demand, capacity, ratio as shown
    std::map<std::string, std::string> expected;
};

void PrintTo(const SteelRow& r, std::ostream* os) {
    *os << r.name;
}

DetailingInput tube(const char* size, double plate = 30) {
    DetailingInput t;
    t.tube = size;
    t.plate = plate;
    return t;
}

// Every check of `row` made, and the expected ones as demand, capacity and ratio.
void expectChecks(const SteelRow& row, const DesignInput& design);

class SteelChecks : public testing::TestWithParam<SteelRow> {};

TEST_P(SteelChecks, AgainstHandValues) {
    const SteelRow& row = GetParam();
    DesignInput design;
    design.method = AnalysisMethod::Elastic; // worked from the elastic texts
    design.detailing = row.detailing;
    if (!row.concrete.empty()) design.concrete = row.concrete;
    if (!row.steel.empty()) design.steel = row.steel;
    expectChecks(row, design);
}

class NewSteelChecks : public testing::TestWithParam<SteelRow> {};

// The design's default method, the envelope: each check takes the larger of the two methods;
// a design shear of 600 kN (only the column weld's rows read it).
TEST_P(NewSteelChecks, AgainstHandValues) {
    const SteelRow& row = GetParam();
    DesignInput design;
    design.V = 600;
    design.detailing = row.detailing;
    expectChecks(row, design);
}

// The plate inside the tube, the welds of the stiffener's foot and of the cap plates, the
// column weld's peak shear and the fabricator's rules. Envelope of T 112.00, x 904, σ 3.20
// (elastic) and T 63.11, x 540, σ 5.90 (rigid plate); r_i = 494, R − r_t = 250.
INSTANTIATE_TEST_SUITE_P(
    Table, NewSteelChecks,
    testing::Values(
        // Rigid plate: q = 5.90 × 290/540 = 3.1685, M = 3.3/16 × q × 494² = 159479: 3.6 × f.
        // D_out = max(1520, 1620 + 108) = 1728, l_w = 354 − 20 = 334, V = 5.90 × 55414 N:
        // τ_f = 69.92; the cap weld takes T/2 = 56 kN over 1.4 × 10 × 220.
        SteelRow{"Defaults",
                 {"1000", "1000", "1520", "1620", "18"},
                 tube("1020x16"),
                 "",
                 "",
                 {{"plate_inside", "1063.19 295.00 3.60"},
                  {"stiffener_plate_weld", "69.92 200.00 0.35"},
                  {"cap_weld", "18.18 200.00 0.09"},
                  {"detailing", "15.41 16.00 0.96"}}},
        SteelRow{"InfillCarriesThePlateInside",
                 {"1000", "1000", "1520", "1620", "18"},
                 [] {
                     DetailingInput t = tube("1020x16");
                     t.infill = true;
                     return t;
                 }(),
                 "",
                 "",
                 {{"plate_inside", "0.00 295.00 0.00"}}},
        // The whole plate bears (x = d): q = σ = 2.80 (elastic), M = 140931 N·mm/mm.
        SteelRow{"WholePlateBears",
                 {"5000", "0", "1520", "1620", "18"},
                 tube("1020x16"),
                 "",
                 "",
                 {{"plate_inside", "939.54 295.00 3.18"}}},
        // V = 600 kN: τ_f = 2V/A_w = 44.58 with σ_f/β_f = 149.87 gives 156.36 (151.52 with V/A_w).
        SteelRow{"ColumnWeldPeakShear",
                 {"1000", "1000", "1520", "1620", "18"},
                 tube("1020x16"),
                 "",
                 "",
                 {{"column_weld", "156.36 200.00 0.78"}}},
        // 36 M36 on a 1620 circle: π·D/n = 141.37 < 4 × 36.
        SteelRow{"BoltSpacing",
                 {"1000", "1000", "1520", "1620", "36"},
                 tube("1020x16"),
                 "",
                 "",
                 {{"detailing", "144.00 141.37 1.02"}}},
        // A 20 mm fillet on a 16 mm wall: h_f ≤ 1.2 × 16 = 19.20.
        SteelRow{"FilletLegOnAThinWall",
                 {"1000", "1000", "1520", "1620", "18"},
                 [] {
                     DetailingInput t = tube("1020x16");
                     t.weld = 20;
                     return t;
                 }(),
                 "",
                 "",
                 {{"detailing", "20.00 19.20 1.04"}}},
        // --weld full: the tube's σ = 100.00 against f = 305 (τ = 2V/A = 23.78 against 175), and
        // the 20 mm leg's rules no longer apply.
        SteelRow{"ButtWeldOfTheTubesStrength",
                 {"1000", "1000", "1520", "1620", "18"},
                 [] {
                     DetailingInput t = tube("1020x16");
                     t.weld = 20;
                     t.fullPenetration = true;
                     return t;
                 }(),
                 "",
                 "",
                 {{"column_weld", "100.00 305.00 0.33"}, {"detailing", "15.41 16.00 0.96"}}},
        // Q390 at t_w = 20 is in the 40 mm band, f_y = 370: t_w ≥ 1020 × 370/23500 = 16.06.
        SteelRow{"TubeSlendernessByBand",
                 {"1000", "1000", "1520", "1620", "18"},
                 [] {
                     DetailingInput t = tube("1020x20");
                     t.tubeSteel = "Q390";
                     return t;
                 }(),
                 "",
                 "",
                 {{"detailing", "16.06 20.00 0.80"}}}),
    [](const auto& info) { return std::string(info.param.name); });

void expectChecks(const SteelRow& row, const DesignInput& design) {
    const ComputedCase out = computeCase(row.inputs, design);
    ASSERT_EQ(out.status, CaseStatus::Ok) << out.message;
    std::size_t applying = 0;
    for (const CheckDefinition& def : checkDefinitions())
        applying += checkApplies(def, design);
    ASSERT_EQ(out.checks.made().size(), applying);
    for (const auto& [key, want] : row.expected) {
        const Check* found = nullptr;
        for (const Check* c : out.checks.made())
            if (key == c->name) found = c;
        ASSERT_NE(found, nullptr) << key;
        EXPECT_EQ(found->demandText + " " + found->capacityText + " " + found->ratioText, want)
            << key;
    }
    // A failing check never prints demand ≤ capacity: the formula's last relation is the
    // verdict's (the detailing rules each have their own, below).
    for (const Check* c : out.checks.made()) {
        if (c->id == CheckId::Detailing) continue;
        const std::size_t le = c->formula.rfind(" ≤ "), gt = c->formula.rfind(" > ");
        const bool lastHolds = le != std::string::npos && (gt == std::string::npos || le > gt);
        EXPECT_EQ(lastHolds, c->ok) << c->name << ": " << c->formula;
    }
}

// Each row's values were worked by hand from T and σmax as shown (tt, qmaxt).
INSTANTIATE_TEST_SUITE_P(
    Table, SteelChecks,
    testing::Values(
        // T 112.00, σ 3.20; b1/a1 = 250/243.95 = 1.025: β between 1.0 and 1.1; tension side of
        // the stiffener governs (72.75 against 72.65 on the compression side).
        SteelRow{"Defaults",
                 {"1000", "1000", "1520", "1620", "18"},
                 tube("1020x16"),
                 "",
                 "",
                 {{"plate", "143.76 295.00 0.49"},
                  {"cap", "245.11 295.00 0.83"},
                  {"stiffener", "72.75 324.50 0.22"},
                  {"stiffener_weld", "84.41 200.00 0.42"},
                  {"column_weld", "149.87 200.00 0.75"},
                  {"tube", "100.00 305.00 0.33"},
                  {"anchorage", "828.00 1000.00 0.83"},
                  // t_w ≥ 1020 × 355/23500 = 15.41 governs the detailing rules.
                  {"detailing", "15.41 16.00 0.96"}}},
        // T = 0: only the compression side loads the stiffener and its welds.
        SteelRow{"CompressionSideOfTheStiffener",
                 {"5000", "0", "1520", "1620", "18"},
                 tube("1020x16"),
                 "",
                 "",
                 {{"plate", "125.79 295.00 0.43"},
                  {"cap", "0.00 295.00 0.00"},
                  {"stiffener", "63.57 324.50 0.20"},
                  {"stiffener_weld", "58.13 200.00 0.29"}}},
        // b1/a1 = 400/515.81 = 0.775: β = 0.087 + 0.75 × 0.010.
        SteelRow{"InterpolatedPanel",
                 {"1000", "1000", "1400", "1500", "8"},
                 tube("600x16"),
                 "",
                 "",
                 {{"plate", "670.73 295.00 2.27"},
                  {"stiffener", "336.07 324.50 1.04"},
                  {"tube", "273.61 305.00 0.90"}}},
        // b1/a1 = 110/373.41 < 0.3: a cantilever from the tube; t_p = 16 is still the thin band.
        SteelRow{"CantileverPanelThinBand",
                 {"1000", "1000", "1520", "1620", "12"},
                 tube("1300x16", 16),
                 "",
                 "",
                 {{"plate", "453.75 305.00 1.49"}, {"cap", "555.12 295.00 1.88"}}},
        // t_p = 41 mm is past the 40 mm band of Q355; b1/a1 = 510/112.48 = 4.53 takes
        // β = 0.133 (0.125 before the series values past 1.4: 15.24).
        SteelRow{"ThickPlateBandAndWidePanel",
                 {"1000", "800", "1520", "1620", "36"},
                 tube("500x16", 41),
                 "",
                 "",
                 {{"plate", "16.22 290.00 0.06"}, {"tube", "321.54 305.00 1.05"}}},
        // C50 and above share a column of the anchorage table; Q235 bolts.
        SteelRow{"AnchorageHighGrade",
                 {"1000", "1000", "1520", "1620", "18"},
                 tube("1020x16"),
                 "C60",
                 "Q235",
                 {{"anchorage", "504.00 1000.00 0.50"}}},
        // A 6 mm weld on a 30 mm plate: h_min = 8 governs the detailing rules.
        SteelRow{"WeldBelowMinimum",
                 {"1000", "1000", "1520", "1620", "18"},
                 [] {
                     DetailingInput t = tube("1020x16");
                     t.weld = 6;
                     return t;
                 }(),
                 "",
                 "",
                 {{"detailing", "8.00 6.00 1.33"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SteelChecks, DetailingRemarkNamesTheGoverningRule) {
    DesignInput design;
    design.method = AnalysisMethod::Elastic;
    design.detailing = tube("1020x16");
    design.detailing->weld = 6;
    const ComputedCase out = computeCase({"1000", "1000", "1520", "1620", "18"}, design);
    EXPECT_EQ(out.checks[CheckId::Detailing].remark, "控制：柱底焊脚 hf ≥ hmin，不满足构造要求");
    // Every rule with its relation; the failing one writes ">".
    const std::string formula = formulaPlain(out.checks[CheckId::Detailing].formula);
    EXPECT_EQ(formula.rfind("底板厚度 t_p ≥ 20 mm：20.00 ≤ 30.00 mm；柱底焊脚 h_f ≥ h_min：8.00 > "
                            "6.00 mm；加劲肋焊脚 h_fs ≥ h_min：6.00 ≤ 10.00 mm；",
                            0),
              0u)
        << formula;
    EXPECT_FALSE(out.checks.ok);
}

struct BadDetailingRow {
    const char* name;
    InputTexts inputs;
    DetailingInput detailing;
    ExpectedError error;
};

void PrintTo(const BadDetailingRow& r, std::ostream* os) {
    *os << r.name;
}

DetailingInput with(void (*change)(DetailingInput&)) {
    DetailingInput t = tube("1020x16");
    change(t);
    return t;
}

class BadDetailing : public testing::TestWithParam<BadDetailingRow> {};

// Refused before anything is computed, naming the input.
TEST_P(BadDetailing, IsRefusedNamingTheInput) {
    const BadDetailingRow& row = GetParam();
    DesignInput design;
    design.detailing = row.detailing;
    EXPECT_TRUE(
        throwsError([&] { checkDetailingFits(resolveDesign(design), row.inputs); }, row.error));
    const ComputedCase out = computeCase(row.inputs, design);
    EXPECT_EQ(out.status, CaseStatus::Error);
    EXPECT_TRUE(out.written.empty());
}

const InputTexts base{"1000", "1000", "1520", "1620", "18"};

INSTANTIATE_TEST_SUITE_P(
    Table, BadDetailing,
    testing::Values(
        BadDetailingRow{"MalformedTube",
                        base,
                        tube("1020"),
                        {ErrorKind::TypeMismatch, InputField::tube,
                         "「钢管 Dt×tw(mm)」应写成两个数，以 x 相连，如 1020x16"}},
        BadDetailingRow{"ZeroPlate",
                        base,
                        tube("1020x16", 0),
                        {ErrorKind::OutOfRange, InputField::plate,
                         "「底板厚度 tp(mm)」应大于 0 且不大于 100 mm"}},
        BadDetailingRow{"PlateOver100",
                        base,
                        tube("1020x16", 101),
                        {ErrorKind::OutOfRange, InputField::plate,
                         "「底板厚度 tp(mm)」应大于 0 且不大于 100 mm"}},
        BadDetailingRow{"TubeAsWideAsTheBearing",
                        base,
                        tube("1520x16"),
                        {ErrorKind::OutOfRange, InputField::tube,
                         "钢管外径 Dt = 1520 mm 应小于底板受压直径 d = 1520 mm"}},
        BadDetailingRow{"BoltCircleInsideTheTube",
                        {"1000", "1000", "1520", "1000", "18"},
                        tube("1020x16"),
                        {ErrorKind::OutOfRange, InputField::tube,
                         "锚栓中心圆直径 D = 1000 mm 应大于钢管外径 Dt = 1020 mm"}},
        BadDetailingRow{"WallTooThick",
                        base,
                        tube("60x30"),
                        {ErrorKind::OutOfRange, InputField::tube,
                         "「钢管 Dt×tw(mm)」的壁厚过大：2tw 应小于外径 Dt"}},
        BadDetailingRow{"NoClearSpan",
                        {"1000", "1000", "1520", "1620", "100"},
                        with([](DetailingInput& t) { t.stiffener = "50x400"; }),
                        {ErrorKind::OutOfRange, InputField::stiffener}},
        BadDetailingRow{"CapNoWiderThanTheHole",
                        base,
                        with([](DetailingInput& t) { t.cap = "30x41"; }),
                        {ErrorKind::OutOfRange, InputField::cap,
                         "「锚栓顶板 tc×bc(mm)」的宽度 bc = 41 mm 应大于锚栓孔径 d0 = 41 mm"}},
        BadDetailingRow{"StiffenerNoHigherThanItsWelds",
                        base,
                        with([](DetailingInput& t) { t.stiffener = "20x20"; }),
                        {ErrorKind::OutOfRange, InputField::stiffener,
                         "「加劲肋 ts×hs(mm)」的高度 hs = 20 mm 应大于两倍焊脚 2hfs = 20 mm"}},
        BadDetailingRow{"UnknownSteel",
                        base,
                        with([](DetailingInput& t) { t.plateSteel = "Q500"; }),
                        {ErrorKind::UnknownChoice, InputField::plateSteel,
                         "「板件钢材」没有“Q500”这一牌号，可选：Q235、Q355、Q390、Q420"}},
        BadDetailingRow{"UnknownElectrode",
                        base,
                        with([](DetailingInput& t) { t.electrode = "E60"; }),
                        {ErrorKind::UnknownChoice, InputField::electrode,
                         "「焊条」没有“E60”这一型号，可选：E43、E50、E55"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The connection's checks worked by hand, each with a row that a wrong formula fails.
struct ConnectionRow {
    const char* name;
    InputTexts inputs;
    DesignInput design;
    std::map<std::string, std::string> expected; // key → demand capacity ratio
};

void PrintTo(const ConnectionRow& r, std::ostream* os) {
    *os << r.name;
}

DesignInput connection(void (*change)(DesignInput&)) {
    DesignInput d;
    d.method = AnalysisMethod::Elastic; // worked on the elastic texts
    d.detailing = tube("1020x16");
    change(d);
    return d;
}

class ConnectionChecks : public testing::TestWithParam<ConnectionRow> {};

TEST_P(ConnectionChecks, AgainstHandValues) {
    const ConnectionRow& row = GetParam();
    const ComputedCase out = computeCase(row.inputs, row.design);
    ASSERT_EQ(out.status, CaseStatus::Ok) << out.message;
    for (const auto& [key, want] : row.expected) {
        const Check* found = nullptr;
        for (const Check* c : out.checks.made())
            if (key == c->name) found = c;
        ASSERT_NE(found, nullptr) << key;
        EXPECT_EQ(found->demandText + " " + found->capacityText + " " + found->ratioText, want)
            << key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConnectionChecks,
    testing::Values(
        // W_pc = (1020³ − 988³)/6 = 16,129,621 mm³, A = 50,466.5 mm², f_y = 355:
        // M_pc = 5,406.41 kN·m. f_ck = 20.1, f_u·A_e = 470 × 816.72 = 383.86 kN: the axis
        // 336.0 mm from the compressed edge with 13 bolts in tension gives 4,734.05 kN·m.
        ConnectionRow{"SeismicDefaults",
                      base,
                      connection([](DesignInput& d) { d.seismic.emplace(); }),
                      {{"seismic", "5947.05 4734.05 1.26"}}},
        // t_w = 20: Q235 takes f_y = 225; C40 f_ck = 26.8; M42 Q235 bolts 370 × A_e.
        ConnectionRow{"SeismicThickWallOtherMaterials",
                      {"3000", "1000", "1520", "1620", "18"},
                      connection([](DesignInput& d) {
                          d.detailing = tube("1020x20");
                          d.detailing->tubeSteel = "Q235";
                          d.concrete = "C40";
                          d.bolt = "M42";
                          d.steel = "Q235";
                          d.seismic = DesignInput::Seismic{1.2};
                      }),
                      {{"seismic", "4254.65 6134.35 0.69"}}},
        // |P|/A = 396.3 ≥ f_y: the column has no moment left to resist.
        ConnectionRow{"SeismicColumnYieldedByAxialForce",
                      {"20000", "1000", "1520", "1620", "18"},
                      connection([](DesignInput& d) { d.seismic.emplace(); }),
                      {{"seismic", "0.00 7239.69 0.00"}}},
        // σ_c = 600000/(300 × 150); M = 600 kN × 125 mm; σ = 6M/(300 × 30²) governs (f = 295
        // at 30 mm); the welds: l_w = 280, σ_f = M/(7 × 280 × 37), τ_f = V/(14 × 280).
        ConnectionRow{"ShearKey",
                      base,
                      connection([](DesignInput& d) {
                          d.V = 600;
                          d.detailing->shearKey = "300x200x30";
                      }),
                      {{"shear", "0.00 622.00 0.00"},
                       {"shear_key_bearing", "13.33 14.30 0.93"},
                       {"shear_key", "1666.67 295.00 5.65"},
                       {"shear_key_weld", "861.41 200.00 4.31"}}},
        // β_l = min(3 × 1520, 2400)/1520 = 1.58 raises both bearings.
        ConnectionRow{"ShearKeyOnPedestal",
                      base,
                      connection([](DesignInput& d) {
                          d.V = 600;
                          d.pedestal = 2400;
                          d.detailing->shearKey = "300x200x30";
                      }),
                      {{"bearing", "3.20 22.58 0.14"}, {"shear_key_bearing", "13.33 22.58 0.59"}}},
        // (1700 − 1620)/2 = 40 mm to the pedestal's edge against max(4 × 36, 150).
        ConnectionRow{"BoltsTooNearThePedestalEdge",
                      base,
                      connection([](DesignInput& d) { d.pedestal = 1700; }),
                      {{"bearing", "3.20 15.99 0.20"}, {"detailing", "150.00 40.00 3.75"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConnectionChecks, NoPlasticStateFailsSayingWhy) {
    DesignInput design = connection([](DesignInput& d) { d.seismic.emplace(); });
    design.concrete = "C20";
    // Above f_ck·A = 13.4 × 1,814,584 mm² = 24,315 kN no state balances.
    const ComputedCase out = computeCase({"25000", "100", "1520", "1620", "18"}, design);
    ASSERT_EQ(out.status, CaseStatus::Ok) << out.message;
    const Check& k = out.checks[CheckId::Seismic];
    EXPECT_FALSE(k.ok);
    EXPECT_EQ(k.capacityText, "0.00");
    EXPECT_NE(k.remark.find("无塑性平衡状态"), std::string::npos) << k.remark;
}

struct PlasticRow {
    const char* name;
    double P; // N
    double hole;
    bool balanced;
    double depth; // mm
    int bolts;
    double Mu; // kN·m
};

void PrintTo(const PlasticRow& r, std::ostream* os) {
    *os << r.name;
}

class PlasticCapacity : public testing::TestWithParam<PlasticRow> {};

// d = 1000, f_ck = 10, bolts of 100 kN at −400, 0, 0 and +400 (the two at 0 mirrored a hair
// apart, as the layout leaves them). C(0) = 10·π·500²/2 = 3,926,991 N.
TEST_P(PlasticCapacity, BoltsSwitchSidesAsTheAxisMoves) {
    const PlasticRow& row = GetParam();
    PlasticBase base;
    base.d = 1000;
    base.hole = row.hole;
    base.fck = 10;
    base.boltForce = 1e5;
    base.boltX = {-400, -1e-9, 1e-9, 400};
    const PlasticState s = plasticCapacity(base, row.P);
    ASSERT_EQ(s.balanced, row.balanced);
    if (!row.balanced) return;
    EXPECT_NEAR(s.depth, row.depth, 1e-3);
    EXPECT_EQ(s.boltsInTension, row.bolts);
    EXPECT_NEAR(s.Mu / 1e6, row.Mu, 1e-3);
    EXPECT_NEAR(s.C - s.T, row.P, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlasticCapacity,
    testing::Values(
        // Between C(0) − 300 kN and C(0) − 100 kN the axis stays on the two middle bolts, which
        // carry what balances: M_u = 10·(2/3)·500³ + 100 kN × 400 mm.
        PlasticRow{"AxisOnTheMiddleBolts", 3.8e6, 0, true, 500, 3, 873.3333},
        // More compression: the middle bolts pass to the compressed side.
        PlasticRow{"MiddleBoltsCompressed", 3.9e6, 0, true, 507.30118, 1, 873.06681},
        // Less: they pull at their full force and the axis passes them.
        PlasticRow{"MiddleBoltsInTension", 3.5e6, 0, true, 487.29955, 3, 872.52696},
        // Tension on all four: a sliver of concrete takes 50 kN.
        PlasticRow{"AllBoltsInTension", -3.5e5, 0, true, 24.25556, 4, 24.27336},
        // A hole of 400 takes its own segment out of C and of its moment.
        PlasticRow{"AnnulusAroundAHole", 2e6, 400, true, 341.51111, 3, 738.84705},
        PlasticRow{"AboveTheConcrete", 8e6, 0, false, 0, 0, 0},
        PlasticRow{"AboveTheBolts", -5e5, 0, false, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadConnectionRow {
    const char* name;
    DesignInput design;
    ExpectedError error;
};

void PrintTo(const BadConnectionRow& r, std::ostream* os) {
    *os << r.name;
}

class BadConnection : public testing::TestWithParam<BadConnectionRow> {};

TEST_P(BadConnection, IsRefusedNamingTheInput) {
    const BadConnectionRow& row = GetParam();
    const ComputedCase out = computeCase(base, row.design);
    EXPECT_EQ(out.status, CaseStatus::Error);
    EXPECT_TRUE(out.written.empty());
    EXPECT_TRUE(
        throwsError([&] { checkDetailingFits(resolveDesign(row.design), base); }, row.error));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadConnection,
    testing::Values(
        BadConnectionRow{"KeyOfTwoNumbers",
                         connection([](DesignInput& d) { d.detailing->shearKey = "300x200"; }),
                         {ErrorKind::TypeMismatch, InputField::shearKey,
                          "「抗剪键 bk×hk×tk(mm)」应写成三个数，以 x 相连，如 300x200x30"}},
        BadConnectionRow{"GroutAsDeepAsTheKey",
                         connection([](DesignInput& d) {
                             d.detailing->shearKey = "300x200x30";
                             d.detailing->grout = 200;
                         }),
                         {ErrorKind::OutOfRange, InputField::grout,
                          "「灌浆层厚度 g(mm)」应不小于 0 且小于抗剪键高度 hk = 200 mm"}},
        BadConnectionRow{"KeyNoWiderThanItsWelds",
                         connection([](DesignInput& d) { d.detailing->shearKey = "20x200x30"; }),
                         {ErrorKind::OutOfRange, InputField::shearKey,
                          "「抗剪键 bk×hk×tk(mm)」的宽度 bk = 20 mm 应大于两倍焊脚 2hfk = 20 mm"}},
        BadConnectionRow{
            "EtaAboveRange",
            connection([](DesignInput& d) { d.seismic = DesignInput::Seismic{1.6}; }),
            {ErrorKind::OutOfRange, InputField::etaJ, "「连接系数 ηj」应在 1.0 至 1.5 之间"}},
        BadConnectionRow{
            "SeismicWithoutTube",
            [] {
                DesignInput d;
                d.seismic.emplace();
                return d;
            }(),
            {ErrorKind::OutOfRange, InputField::etaJ, "抗震极限承载力验算需要钢管（构造参数）"}},
        BadConnectionRow{"PedestalSmallerThanThePlate",
                         connection([](DesignInput& d) { d.pedestal = 1500; }),
                         {ErrorKind::OutOfRange, InputField::pedestal,
                          "柱墩边长 B = 1500 mm 应不小于底板受压直径 d = 1520 mm"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
