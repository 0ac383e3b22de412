// The calculation report: what a reader finds in the PDF (through poppler's pdftotext,
// pdffonts, pdfinfo and pdfimages) and in the HTML, and how the writer fails.

#include "analysis/equilibrium.h"
#include "checks/methods.h"
#include "reportdata.h"
#include "reportdocument.h"
#include "reporterror.h"
#include "reportwriter.h"
#include "resultdiagram.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <string>
#include <vector>

using namespace tarvel;
using namespace tarvel::report;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The cases here were worked on the elastic method's texts.
DesignInput elastic(DesignInput design = {}) {
    design.method = AnalysisMethod::Elastic;
    return design;
}

ReportData reportFor(const InputTexts& inputs, DesignInput design = {},
                     std::vector<ReportCase> loadCases = {}) {
    ReportData d;
    d.info = {QStringLiteral("测试工程"), QStringLiteral("GZ-7"), QStringLiteral("设计人"),
              QStringLiteral("校对人")};
    d.version = QStringLiteral("9.8.7");
    // A row of the plate finite-element method keeps it, as does a plate with a hole (which
    // the elastic method refuses); the others' figures are the elastic method's.
    const bool ownMethod = design.method == AnalysisMethod::Fem || design.plateHole > 0;
    d.main = makeReportCase(inputs, ownMethod ? design : elastic(design));
    d.loadCases = std::move(loadCases);
    return d;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The PDF's text without white space: pdftotext breaks a line where the page wraps it and
// drops the spaces between CJK and digits.
QString pdfText(const QString& pdf) {
    QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

QString bare(const char* s) {
    return QString::fromUtf8(s).remove(QLatin1Char(' '));
}

int pageCount(const QString& pdf) {
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

struct ContentCase {
    const char* name;
    InputTexts inputs;
    DesignInput design;
    std::vector<const char*> present; // in the PDF's text and in the HTML
    std::vector<const char*> absent;
    int pages;
};

void PrintTo(const ContentCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<const char*> defaultTexts{
    // The twelve results, without the form's trailing point ("904", not "904.").
    "904", "3.20", "112.00", "567.49", "383.64", "1555.01", "610.46", "393", "676", "987.52",
    "994.1", "622",
    // The check lines.
    "816.7 × 180 / 1000 = 147.01 kN", "147.01", "0.76", "14.30", "0.22", "622.00", "0.16", "满足",
    "锚栓", "圆钢管柱脚计算书", "GB 50017-2017", "GB 50010-2010", "测试工程", "GZ-7", "设计人",
    "校对人", "Tarvel 9.8.7", "-12.48 kN", "-5.90 kN·m",
    // Each miss beside what it is taken against.
    "max(|P|, C, F) = 1555.01 kN", "max(M, (C + F)·d/2000) = 1613.10 kN·m"};

class ReportContent : public testing::TestWithParam<ContentCase> {
  protected:
    QTemporaryDir dir;
};

TEST_P(ReportContent, PdfAndHtmlHoldTheTexts) {
    const ContentCase& c = GetParam();
    const ReportData data = reportFor(c.inputs, c.design);
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    const QString html = dir.filePath(QStringLiteral("r.html"));
    writeReport(data, pdf);
    writeReport(data, html);

    const QString text = pdfText(pdf);
    const QString page = QString::fromUtf8(readFile(html));
    for (const char* s : c.present) {
        EXPECT_TRUE(text.contains(bare(s))) << "PDF lacks " << s;
        EXPECT_TRUE(page.contains(QString::fromUtf8(s))) << "HTML lacks " << s;
    }
    for (const char* s : c.absent) {
        EXPECT_FALSE(text.contains(bare(s))) << "PDF has " << s;
        EXPECT_FALSE(page.contains(QString::fromUtf8(s))) << "HTML has " << s;
    }
    EXPECT_EQ(pageCount(pdf), c.pages);
    for (int p = 1; p <= c.pages; ++p)
        EXPECT_TRUE(text.contains(QStringLiteral("第%1页共%2页").arg(p).arg(c.pages))) << p;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportContent,
    testing::Values(
        ContentCase{"DefaultCase", defaultInputs, {}, defaultTexts, {"不满足"}, 3},
        ContentCase{"BoltAndBearingFail",
                    {"5000", "5000", "1520", "1620", "18"},
                    {},
                    {"3.82", "1.13", "不满足", "宜加大锚栓规格", "提高混凝土强度等级", "修改建议"},
                    {},
                    3},
        ContentCase{"ShearNeedsAKey",
                    defaultInputs,
                    [] {
                        DesignInput d;
                        d.V = 700;
                        return d;
                    }(),
                    {"700.00", "1.13", "不满足", "抗剪键"},
                    {},
                    3},
        ContentCase{"NoEquilibrium",
                    {"-826", "7250", "2390", "2730", "10"},
                    {},
                    {"不满足", "搜索未找到锚栓拉力", "精确平衡解", "1350.76", "22.20"},
                    {"满足：满足"},
                    3},
        ContentCase{"SteelParts",
                    defaultInputs,
                    [] {
                        DesignInput d;
                        d.detailing = DetailingInput{};
                        d.detailing->tube = "1020x16";
                        return d;
                    }(),
                    {"板件验算", "143.76", "245.11", "72.75", "84.41", "149.87", "100.00", "828.00",
                     "1020×16", "底板厚度"},
                    {"未验算"},
                    5},
        // Every input the checks took has its row: the hole, the pedestal and
        // its β_l in place of the typed one, the butt weld in place of a leg.
        ContentCase{"InputsOfTheDetailing",
                    defaultInputs,
                    [] {
                        DesignInput d;
                        d.detailing = DetailingInput{};
                        d.detailing->tube = "1020x16";
                        d.detailing->fullPenetration = true;
                        d.plateHole = 500;
                        d.pedestal = 2400;
                        return d;
                    }(),
                    {"底板中心孔直径", "方形柱墩边长", "min(3d, B)/d", "全熔透对接焊缝"},
                    {"柱底角焊缝焊脚", "局部受压提高系数</td>"},
                    6},
        // The plate as a plate: its model, mesh and iterations, the plate check
        // on its stress, and its maps.
        ContentCase{"PlateFem",
                    defaultInputs,
                    [] {
                        DesignInput d;
                        d.detailing = DetailingInput{};
                        d.detailing->tube = "1020x16";
                        d.method = AnalysisMethod::Fem;
                        return d;
                    }(),
                    {"分析方法：板有限元法", "DKT", "节点 7537 个", "迭代 2 次",
                     "粗网格上迭代 4 次", "96.96", "243.61", "最大应力位于钢管壁处",
                     "板有限元法：接触压力（左）"},
                    {"应变协调法（刚性底板）"},
                    6}),
    [](const auto& info) { return std::string(info.param.name); });

// Every page is well filled: with the steel parts the inputs follow the basis on page 1
// rather than leave it nearly empty, and no page holds a few stray rows.
TEST(ReportPdf, PagesAreFilled) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    DesignInput design;
    design.detailing = DetailingInput{};
    design.detailing->tube = "1020x16";
    writeReport(reportFor(defaultInputs, design), pdf);
    const int pages = pageCount(pdf);
    for (int p = 1; p <= pages; ++p) {
        const QString page = QString::number(p);
        const QString text = run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-f"), page, QStringLiteral("-l"), page,
                                  QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        // Lines of text beside the footer's one.
        const int lines =
            static_cast<int>(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
        EXPECT_GE(lines, p == 1 ? 25 : 10) << "page " << p << ":\n" << text.toStdString();
    }
    const QString first = run(QStringLiteral("pdftotext"),
                              {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                               QStringLiteral("1"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(first.contains(QStringLiteral("2 输入"))) << first.toStdString();
}

TEST(ReportPdf, EmbedsTheCjkFontAndKeepsTheDiagramAsVectors) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    writeReport(reportFor(defaultInputs), pdf);
    const QString fonts = run(QStringLiteral("pdffonts"), {pdf});
    bool embedded = false;
    for (const QString& line : fonts.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("WenQuanYiZenHei")))
            embedded = line.simplified().split(QLatin1Char(' ')).contains(QLatin1String("yes"));
    EXPECT_TRUE(embedded) << fonts.toStdString();
    // The only raster image is the window's figure, stored losslessly.
    const QStringList images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(images.size(), 3) << images.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(images[2].contains(QLatin1String(" 381 "))) << images[2].toStdString();
    EXPECT_FALSE(images[2].contains(QLatin1String("jpeg")));
}

TEST(ReportHtml, IsSelfContained) {
    const QString page = QString::fromUtf8(reportHtmlFile(reportFor(defaultInputs)));
    EXPECT_TRUE(page.contains(QLatin1String("<html lang=\"zh-CN\">")));
    EXPECT_TRUE(page.contains(QLatin1String("@page")));
    EXPECT_TRUE(page.contains(QLatin1String("src=\"data:image/png;base64,")));
    EXPECT_TRUE(page.contains(QLatin1String("<svg")));
    for (const char* external : {"http:", "https:", "href=", "url(", "<link", "<script", "file:"})
        EXPECT_FALSE(page.contains(QLatin1String(external), Qt::CaseInsensitive)) << external;
}

TEST(ReportPrinter, PrintsThePagesWithTheirFooters) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    const ReportData data = reportFor(defaultInputs);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    prepareReportPrinter(&printer, data);
    printReport(&printer, data);
    ASSERT_EQ(pageCount(pdf), 3);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("第3页共3页")));
    EXPECT_TRUE(text.contains(QStringLiteral("1555.01")));
}

// A report that cannot be written: the reason in Chinese, and no file made or replaced.
struct FailureCase {
    const char* name;
    InputTexts inputs;
    const char* file;   // relative to a fresh folder; "@" marks a folder of that name
    const char* reason; // part of the message
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(ReportFailure, SaysWhyAndLeavesTheFileAlone) {
    const FailureCase& c = GetParam();
    QTemporaryDir dir;
    QString name = QString::fromUtf8(c.file);
    QString path;
    const QByteArray old("an earlier report");
    if (name.startsWith(QLatin1Char('@'))) {
        name.remove(0, 1);
        ASSERT_TRUE(QDir(dir.path()).mkdir(name));
        path = dir.filePath(name);
    } else {
        path = dir.filePath(name);
        QFile f(path);
        // A file of that name exists beforehand, where its folder does.
        if (f.open(QIODevice::WriteOnly)) f.write(old);
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    try {
        writeReport(reportFor(c.inputs), path);
        FAIL() << "no error";
    } catch (const ReportError& e) {
        EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason))) << e.what();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (QFileInfo(path).isFile()) {
        EXPECT_EQ(readFile(path), old);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportFailure,
    testing::Values(
        FailureCase{"RefusedCase", {"-1000", "0", "1520", "1620", "18"}, "r.pdf", "底板全截面受拉"},
        FailureCase{
            "RefusedCaseHtml", {"-1000", "0", "1520", "1620", "18"}, "r.html", "底板全截面受拉"},
        FailureCase{"FailedCase", {"1000", "1000", "abc", "1620", "18"}, "r.pdf", "计算失败"},
        FailureCase{"UnknownSuffix", defaultInputs, "r.docx", "文件类型应为 .pdf 或 .html"},
        FailureCase{"MissingFolder", defaultInputs, "no/such/folder/r.pdf", "不存在"},
        FailureCase{"PathIsAFolder", defaultInputs, "@r.pdf", "文件夹"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultDiagram, BoltForcesFollowTheKeptTension) {
    const Analysis a = analyze(defaultInputs);
    const ComputedCase o = computeCase(defaultInputs, {});
    const DiagramData d = makeDiagramData(a, o.result);
    ASSERT_EQ(d.bolts.size(), 18u);
    EXPECT_DOUBLE_EQ(d.bolts[0].force, 112.0);
    EXPECT_NEAR(d.bolts[0].x, -810.0, 1e-9);
    for (const DiagramBolt& b : d.bolts) {
        // Only bolts beyond the neutral axis pull, and the outermost pulls most.
        EXPECT_EQ(b.force > 0, b.x < d.neutralAxis()) << b.number;
        EXPECT_LE(b.force, d.bolts[0].force) << b.number;
        // Bolts k and n + 2 − k mirror each other about the plane of bending.
        const DiagramBolt& mirror = d.bolts[(d.n + 1 - b.number) % d.n];
        EXPECT_NEAR(b.force, mirror.force, 1e-3) << b.number;
        EXPECT_NEAR(b.y, -mirror.y, 1e-6) << b.number;
    }
    const QString svg = resultDiagramSvg(d);
    EXPECT_TRUE(svg.contains(QStringLiteral("T = 112.00 kN")));
    EXPECT_TRUE(svg.contains(QStringLiteral("中和轴")));
}

TEST(ProjectReport, TablesEveryLoadCaseWithTheOverallVerdict) {
    std::vector<ReportCase> cases{
        makeReportCase(defaultInputs, elastic(), QStringLiteral("组合1")),
        makeReportCase({"5000", "5000", "1520", "1620", "18"}, elastic(), QStringLiteral("组合2")),
        makeReportCase({"-1000", "0", "1520", "1620", "18"}, elastic(), QStringLiteral("组合3")),
        makeReportCase({"1000", "1000", "1520", "1620", "x"}, {}, QStringLiteral("组合4"))};
    const int governing = governingCase(cases);
    ASSERT_EQ(governing, 1);
    ReportData data = reportFor({"5000", "5000", "1520", "1620", "18"}, {}, cases);
    const QString page = QString::fromUtf8(reportHtmlFile(data));
    EXPECT_TRUE(page.contains(QStringLiteral("荷载组合汇总")));
    for (const char* s : {"组合1", "组合2", "组合3", "组合4", "拒绝：底板全截面受拉", "出错：",
                          "设计总体结论：<span class=\"fail\">不满足"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(s))) << s;
}

// A transmission pole's base whose anchorage and detailing ratios are 1.00 in every case: the
// case shown in full is chosen by the checks that depend on the load.
DesignInput poleDesign() {
    DesignInput design;
    design.bolt = "M42";
    design.concrete = "C30";
    design.betaL = 1.0;
    design.friction = 0.4;
    design.method = AnalysisMethod::Envelope;
    DetailingInput t;
    t.tube = "630x12";
    t.plate = 20;
    t.stiffener = "16x225";
    t.cap = "28x180";
    t.weld = 20;
    t.stiffenerWeld = 16;
    t.anchorage = 970;
    design.detailing = t;
    return design;
}

struct GoverningCase {
    const char* name;
    std::vector<InputTexts> loads; // W1 300/900, W2 250/950 on 920/980/24
    int expected;
};

void PrintTo(const GoverningCase& c, std::ostream* os) {
    *os << c.name;
}

class LoadIndependentTie : public testing::TestWithParam<GoverningCase> {};

TEST_P(LoadIndependentTie, ChoosesByTheLoadDependentChecks) {
    const GoverningCase& g = GetParam();
    std::vector<ReportCase> cases;
    for (const InputTexts& in : g.loads)
        cases.push_back(makeReportCase(in, poleDesign(), QString::fromStdString(in[0])));
    for (const ReportCase& c : cases) {
        ASSERT_TRUE(c.ok());
        ASSERT_EQ(c.outcome.checks[CheckId::Anchorage].ratioText, "1.00");
        // The 20 mm fillet on the 12 mm wall: 20/(1.2 × 12), in every combination alike.
        ASSERT_EQ(c.outcome.checks[CheckId::Detailing].ratioText, "1.39");
    }
    EXPECT_EQ(governingCase(cases), g.expected);
    ReportData data = reportFor(g.loads[g.expected], poleDesign(), cases);
    data.main = cases[g.expected]; // by the project's method, the envelope
    data.mainIndex = g.expected;
    const QString page = QString::fromUtf8(reportHtml(data, HtmlTarget::Browser).toUtf8());
    // The opening sentence says the choice leaves the load-independent checks out.
    EXPECT_TRUE(page.contains(QStringLiteral("随荷载变化的验算中")));
    EXPECT_TRUE(page.contains(QStringLiteral("锚固长度、构造与荷载无关")));
    // Both methods' results side by side; each check names the method of its figure.
    EXPECT_TRUE(page.contains(QStringLiteral("<th>弹性受压区法</th><th>应变协调法</th>")));
    EXPECT_TRUE(page.contains(QStringLiteral("说明：与分析方法无关")));
    // D_out = max(920, 980 + 3 × 42).
    EXPECT_TRUE(page.contains(QStringLiteral("<td>1106</td>")));
    // The summary's columns are the load-dependent checks, so that it fits the page: the
    // others are stated once, and no row is marked as governing them.
    EXPECT_FALSE(page.contains(QStringLiteral("<th>锚固</th>")));
    EXPECT_TRUE(
        page.contains(QStringLiteral("各荷载组合相同的验算（利用率）：锚固长度 1.00，构造 1.39")));
}

const InputTexts w1{"300", "900", "920", "980", "24"}, w2{"250", "950", "920", "980", "24"};

INSTANTIATE_TEST_SUITE_P(Orders, LoadIndependentTie,
                         testing::Values(GoverningCase{"TieFirst", {w1, w2}, 1},
                                         GoverningCase{"GoverningFirst", {w2, w1}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
