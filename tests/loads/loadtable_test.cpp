// Load tables as analysis programs export them and as engineers paste them.

#include "loads/loadtable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace tarvel;

namespace {

std::string fileBytes(const std::string& name) {
    std::ifstream file(std::string(TARVEL_TEST_DATA) + "/exports/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// name|P|M|V of each case, or the case's error.
std::vector<std::string> loads(const LoadTable& t) {
    std::vector<std::string> out;
    for (const LoadCase& c : t.cases)
        out.push_back(c.error.empty() ? c.name + "|" + c.inputs[0] + "|" + c.inputs[1] + "|" + c.V
                                      : "error: " + c.error);
    return out;
}

const std::array<std::string, 3> base{"1520", "1620", "18"};

// Exports of the same four combinations, axial force tension positive, read as the P, M, V
// table an engineer would type.
class ExportFiles : public testing::TestWithParam<const char*> {};

TEST_P(ExportFiles, ReadAsTheEquivalentPmvTable) {
    ReadOptions plain;
    plain.base = base;
    const LoadTable expected = readLoadCases(fileBytes("equivalent-pmv.csv"), plain);
    ReadOptions options = plain;
    options.tensionPositive = true;
    const LoadTable t = readLoadCases(fileBytes(GetParam()), options);
    ASSERT_EQ(t.error, "");
    EXPECT_TRUE(t.hasName && t.hasV);
    EXPECT_EQ(loads(t), loads(expected));
    ASSERT_EQ(t.cases.size(), expected.cases.size());
    for (std::size_t k = 0; k < t.cases.size(); ++k)
        EXPECT_EQ(t.cases[k].inputs, expected.cases[k].inputs) << k;
    // What was made of the columns is there to be shown.
    EXPECT_EQ(t.readAs.size(), 3u);
    EXPECT_NE(t.cases[0].note.find("√(600² + 800²) = 1000"), std::string::npos) << t.cases[0].note;
}

INSTANTIATE_TEST_SUITE_P(Table, ExportFiles,
                         testing::Values("gb18030-title-crlf.csv", "bom-tabs-newtons.tsv"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name;
                             for (const char* p = info.param; *p && *p != '.'; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                             return name;
                         });

struct HeaderRow {
    const char* name;
    std::string bytes;
    std::string expected; // name|P|M|V of the first case, "error: ..." of it, or the table's error
};

class Headers : public testing::TestWithParam<HeaderRow> {};

TEST_P(Headers, NamesUnitsAndResultants) {
    ReadOptions options;
    options.base = base;
    const LoadTable t = readLoadCases(GetParam().bytes, options);
    if (!t.error.empty()) {
        EXPECT_EQ("table: " + t.error, GetParam().expected);
        return;
    }
    ASSERT_FALSE(t.cases.empty());
    EXPECT_EQ(loads(t).front(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Headers,
    testing::Values(
        // Units move the decimal point, exactly.
        HeaderRow{"PAndNAreOneQuantity", "lc,P (N),N [MN],M\nA,1500,0.002,1\n",
                  "table: 列「P (N)」与列「N [MN]」都是 P，只能有一列"},
        HeaderRow{"NewtonsAndMeganewtons", "case,N (N),M,V（MN）\nA,1500,0,0.0025\n",
                  "A|1.5|0|2.5"},
        HeaderRow{"MomentUnitsAndSeparators", "P,Mx N·m,My [N-mm]\n1,3000,4000000\n", "|1|5|"},
        HeaderRow{"KiloNewtonMillimetresWithoutSeparator", "P,M (kNmm)\n1,2500\n", "|1|2.5|"},
        HeaderRow{"MeganewtonMetresWithStar", "P,M (MN*m)\n1,0.0015\n", "|1|1.5|"},
        HeaderRow{"CapitalisedUnit", "P (KN),M (KN·M)\n7,8\n", "|7|8|"},
        HeaderRow{"ExponentShifted", "P (N),M\n1.5e6,1\n", "|1500|1|"},
        HeaderRow{"SmallValueKeepsItsDigits", "P (N),M (N·mm)\n-0.5,7\n", "|-0.0005|0.000007|"},
        HeaderRow{"NamesWithoutRegardToCase", "COMBO,p,m,v\nA,1,2,3\n", "A|1|2|3"},
        HeaderRow{"ChineseNames", "荷载组合,轴力,弯矩,剪力\n甲,1,2,3\n", "甲|1|2|3"},
        HeaderRow{"ChineseNamesWithSymbols",
                  "工况号,轴力N,弯矩Mx,弯矩My,剪力Vx,剪力Vy\n9,1,6,8,0,2\n", "|1|10|2"},
        HeaderRow{"OtherColumnsIgnored", "序号,Story,组合,N,M\n1,F1,A,1,2\n", "A|1|2|"},
        HeaderRow{"ResultantNotExactlyRepresentable", "P,Mx,My\n1,1,1\n", "|1|1.4142135623730951|"},
        // Refusals name the column.
        HeaderRow{"UnknownUnit", "N (kg),M\n1,2\n",
                  "table: 列「N (kg)」的单位「kg」认不出（可用 N、kN、MN）"},
        HeaderRow{"ForceUnitOnMoment", "N,M (kN)\n1,2\n",
                  "table: 列「M (kN)」的单位「kN」认不出（可用 N·m、N·mm、kN·m、kN·mm、MN·m）"},
        HeaderRow{"OnlyMx", "N,Mx\n1,2\n",
                  "table: 只有列「Mx」，没有 My 列：M = √(Mx² + My²) 需要两列"},
        HeaderRow{"MAndItsComponents", "N,M,Mx,My\n1,2,3,4\n",
                  "table: 列「M」与列「Mx」重复：M 给一列，或由 Mx 与 My 两列合成"},
        HeaderRow{"NameOrUnit", "轴力 N,弯矩\n1,2\n",
                  "table: 列「轴力 N」既可读作 P，也可读作以 N 为单位的 P：请把单位写在括号里"},
        HeaderRow{"PartOfTheGeometry", "P,M,d\n1,2,3\n",
                  "table: 表头中有 d、D、n 中的一部分，缺少 n 列"},
        HeaderRow{"RowWithOnlyMx", "N,Mx,My\n1,2,\n", "error: 只有「Mx」，「My」为空：M 需要两者"},
        HeaderRow{"NoNumberToConvert", "N (N),M\nabc,1\n",
                  "error: 列「N (N)」的「abc」不是有效的数字"}),
    [](const testing::TestParamInfo<HeaderRow>& info) { return std::string(info.param.name); });

struct PasteRow {
    const char* name;
    std::string bytes;
    std::vector<std::string> loads; // name|P|M|V, or "error: ..."
    std::string geometry;           // d|D|n of the cases that give them, "" for none
};

// What the load table takes from a paste or an import: d, D, n optional, since a project has
// its own.
class PasteShapes : public testing::TestWithParam<PasteRow> {};

TEST_P(PasteShapes, ReadLikeTheLoadTable) {
    ReadOptions options;
    options.geometryOptional = true;
    const LoadTable t = readLoadCases(GetParam().bytes, options);
    ASSERT_EQ(t.error, "");
    EXPECT_EQ(loads(t), GetParam().loads);
    for (const LoadCase& c : t.cases) {
        if (!c.error.empty()) continue;
        EXPECT_EQ(c.hasGeometry ? c.inputs[2] + "|" + c.inputs[3] + "|" + c.inputs[4] : "",
                  GetParam().geometry);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PasteShapes,
    testing::Values(
        PasteRow{"TabsPAndM", "1000\t1000\r\n2000\t-500\r\n", {"|1000|1000|", "|2000|-500|"}, ""},
        PasteRow{"CommasPMV", "1000,1000,50\n", {"|1000|1000|50"}, ""},
        PasteRow{"NamePAndM", "风荷载,100,200\n", {"风荷载|100|200|"}, ""},
        PasteRow{"NamePMVWithEmptyV", "D\t4\t4\t\r\nE\t5\t5\t\r\n", {"D|4|4|", "E|5|5|"}, ""},
        PasteRow{"BlankAndEmptySpreadsheetRows",
                 "\n1000\t1000\r\n\t\r\n\r\n2000\t500\r\n",
                 {"|1000|1000|", "|2000|500|"},
                 ""},
        PasteRow{"HeaderWithUnitsAndName",
                 "名称\tP (kN)\tM (kN·m)\tV (kN)\r\n1.3G+1.5Q\t1000\t1000\t50\r\n",
                 {"1.3G+1.5Q|1000|1000|50"},
                 ""},
        PasteRow{
            "CalcRowsWithGeometry", "1000,1000,1520,1620,18,7\n", {"|1000|1000|7"}, "1520|1620|18"},
        PasteRow{"NamedRowWithGeometry",
                 "A,1000,1000,2000,2100,20,10\n",
                 {"A|1000|1000|10"},
                 "2000|2100|20"},
        PasteRow{"TextsKeptAsTyped", " 1e3 ,.5,9\n", {"| 1e3 |.5|9"}, ""},
        PasteRow{
            "SevenNumbersAreNoShape",
            "1,2,3,4,5,6,7\n",
            {"error: 该行有 7 个字段，认不出是哪些列（可用：P,M | P,M,V | 名称,P,M | 名称,P,M,V | "
             "P,M,d,D,n | P,M,d,D,n,V | 名称,P,M,d,D,n,V，或带表头）"},
            ""}),
    [](const testing::TestParamInfo<PasteRow>& info) { return std::string(info.param.name); });

} // namespace
