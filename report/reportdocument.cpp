#include "reportdocument.h"

#include "checks/bearingarea.h"
#include "checks/methods.h"
#include "core/number.h"
#include "femmap.h"
#include "femreport.h"
#include "plasticdiagram.h"
#include "project/designinputs.h"
#include "reporterror.h"
#include "reportfont.h"
#include "resultdiagram.h"
#include "sizing/basemass.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QObject>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QUrl>

#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <variant>

namespace tarvel::report {

namespace {

const QString figureResource = QStringLiteral(":/tarvel_report/figure.png");
const QString figureName = QStringLiteral("tarvel-figure");
const QString plasticName = QStringLiteral("tarvel-plastic");
// The plastic state's figure across the page.
constexpr double plasticWidthMm = 150;
const QString diagramName = QStringLiteral("tarvel-diagram");
const QString femMapsName = QStringLiteral("tarvel-fem-maps");
const QString femMapsCaption =
    QStringLiteral("接触压力（左）与底板折算应力（右），N/mm²；× 为最大应力处");
// The browser's picture of the plate finite-element maps, px across: sharp at print size.
constexpr int femMapsImageWidth = 2400;

// Printed sizes of the two pictures.
constexpr double figureWidthMm = 100;
constexpr double figureAspect = 381.0 / 229.0;
constexpr double diagramWidthMm = 150;
// Qt's layout counts an image's HTML size at 96 dpi.
constexpr double htmlDpi = 96;
constexpr double mmPerInch = 25.4;

constexpr int diagramObjectType = QTextFormat::UserObject + 1;
constexpr int femMapsObjectType = QTextFormat::UserObject + 2;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
QString esc(const QString& s) {
    return s.toHtmlEscaped();
}
QString esc(const std::string& s) {
    return q(s).toHtmlEscaped();
}

// A number as typed in a table of materials: shortest form, no exponent for ordinary values.
QString plain(double v) {
    return QString::number(v, 'g', 10);
}
// A coefficient with at least one decimal (1.0, 0.4, 1.25).
QString coefficient(double v) {
    QString s = plain(v);
    if (!s.contains(QLatin1Char('.')) && !s.contains(QLatin1Char('e'))) s += QStringLiteral(".0");
    return s;
}
QString two(double v) {
    return q(twoDecimals(v));
}

// A result text on Tarvel's own pages: "478." reads 478.
QString own(const std::string& formText) {
    return esc(pageText(formText));
}

// A load as typed, unless it carries more decimals than the check table gives (an imported
// M = √(Mx² + My²) has sixteen digits): then with two.
constexpr int loadDecimals = 2;
QString load(const std::string& typed) {
    const std::size_t point = typed.find('.');
    const bool longer = typed.find_first_of("eE") != std::string::npos ||
                        (point != std::string::npos &&
                         typed.find_first_not_of("0123456789", point + 1) == std::string::npos &&
                         typed.size() - point - 1 > loadDecimals);
    try {
        if (longer) return two(textToNumber(typed));
    } catch (const TarvelError&) {
        // A text that is no number is shown as typed; its row says why it failed.
    }
    return esc(typed);
}

// A symbol with an optional subscript and superscript: sym("N", "t", "a") is N_t^a.
QString sym(const QString& base, const QString& sub = {}, const QString& sup = {}) {
    QString s = QStringLiteral("<i>%1</i>").arg(base);
    if (!sub.isEmpty()) s += QStringLiteral("<sub>%1</sub>").arg(sub);
    if (!sup.isEmpty()) s += QStringLiteral("<sup>%1</sup>").arg(sup);
    return s;
}

QString row(std::initializer_list<QString> cells, bool header = false) {
    QString r = QStringLiteral("<tr>");
    for (const QString& c : cells)
        r += header ? QStringLiteral("<th>%1</th>").arg(c) : QStringLiteral("<td>%1</td>").arg(c);
    return r + QStringLiteral("</tr>\n");
}

QString table(const QString& cls, const QString& rows) {
    // The leading rows of headings are the table's head, which a page break repeats.
    qsizetype headEnd = 0;
    while (rows.mid(headEnd).startsWith(QStringLiteral("<tr><th"))) {
        const qsizetype next = rows.indexOf(QStringLiteral("</tr>"), headEnd);
        if (next < 0) break;
        headEnd = next + 5;
        while (headEnd < rows.size() && rows[headEnd] == QLatin1Char('\n'))
            ++headEnd;
    }
    const QString body =
        headEnd > 0
            ? QStringLiteral("<thead>%1</thead>\n%2").arg(rows.left(headEnd), rows.mid(headEnd))
            : rows;
    return QStringLiteral("<table class=\"%1\" width=\"100%\" border=\"1\" cellspacing=\"0\" "
                          "cellpadding=\"4\">\n%2</table>\n")
        .arg(cls, body);
}

struct ResultRow {
    ResultBox box;
    const char* name;
    QString symbol;
    const char* unit;
};

// The window's captions, with the check panel's values named after their labels.
std::array<ResultRow, resultBoxCount> resultRows() {
    return {{
        {ResultBox::xt, "底板压力长度", sym("x"), "mm"},
        {ResultBox::qmaxt, "底板边缘应力", sym("σ", "max"), "N/mm²"},
        {ResultBox::tt, "锚栓最大拉力", sym("T"), "kN"},
        {ResultBox::fmst, "锚栓合力", sym("F"), "kN"},
        {ResultBox::mmst, "锚栓合力弯矩", sym("M", "b"), "kN·m"},
        {ResultBox::fqt, "底板压应力合力", sym("C"), "kN"},
        {ResultBox::mqt, "底板压应力合力弯矩", sym("M", "c"), "kN·m"},
        {ResultBox::ct, "底板合力力臂", sym("c"), "mm"},
        {ResultBox::c2t, "锚栓合力力臂", sym("c", "2"), "mm"},
        {ResultBox::h1t, "竖向力之和 C − F", sym("ΣN"), "kN"},
        {ResultBox::h2t, "弯矩之和 M<sub>c</sub> + M<sub>b</sub>", sym("ΣM"), "kN·m"},
        {ResultBox::vt, "底板抗剪承载力", sym("V", "u"), "kN"},
    }};
}

QString styleSheet(HtmlTarget target) {
    QString css = QStringLiteral(
        "h1 { font-size: 18pt; text-align: center; margin-bottom: 6pt; }\n"
        "h2 { font-size: 13pt; margin-top: 12pt; margin-bottom: 4pt; }\n"
        "p { margin-top: 2pt; margin-bottom: 4pt; }\n"
        "table { border-collapse: collapse; margin-bottom: 6pt; }\n"
        "th { background-color: #e8edf3; font-weight: bold; }\n"
        "td, th { border: 1px solid #777777; padding: 3px 5px; vertical-align: top; }\n"
        "table.info td { border: 1px solid #999999; }\n"
        "td.num { text-align: right; white-space: nowrap; }\n"
        ".ok { color: #1d6b2a; font-weight: bold; }\n"
        ".fail { color: #b02a1e; font-weight: bold; }\n"
        ".caption { text-align: center; font-size: 9.5pt; color: #333333; }\n"
        ".remark { font-size: 9.5pt; color: #444444; }\n"
        ".verdict { font-size: 14pt; }\n"
        // Thirteen columns of figures: small enough that no number breaks across lines.
        "table.cases td, table.cases th { font-size: 7.5pt; padding: 2px 2px; }\n"
        // Rows tight enough that the inputs with the steel parts fit one page.
        "table.input td, table.input th { padding: 1px 5px; }\n");
    if (target == HtmlTarget::Browser) {
        css += QStringLiteral(
            "@page { size: A4 portrait; margin: 18mm 16mm 20mm 16mm;\n"
            "  @bottom-center { content: \"第 \" counter(page) \" 页 共 \" counter(pages) \" 页\"; "
            "font-size: 9pt; } }\n"
            "html { background: #f0f0f0; }\n"
            "body { font-family: 'WenQuanYi Zen Hei', 'Noto Sans CJK SC', 'Microsoft YaHei', "
            "sans-serif; font-size: 10.5pt; line-height: 1.45; color: #111111; background: white;"
            " max-width: 178mm; margin: 0 auto; padding: 12mm 16mm; }\n"
            "table { width: 100%; }\n"
            "tr, figure, svg, img { page-break-inside: avoid; break-inside: avoid; }\n"
            "h2 { page-break-after: avoid; break-after: avoid; }\n"
            "figure { margin: 6pt 0; text-align: center; }\n"
            "footer { margin-top: 16pt; font-size: 9pt; color: #555555; text-align: center; }\n"
            "@media print { html { background: none; } body { max-width: none; margin: 0; "
            "padding: 0; } }\n");
    }
    return css;
}

QString header(const ReportData& d) {
    const ReportInfo& i = d.info;
    QString rows;
    rows += row(
        {QStringLiteral("工程名称"), esc(i.project), QStringLiteral("构件编号"), esc(i.member)});
    rows += row({QStringLiteral("设计"), esc(i.designer), QStringLiteral("校对"), esc(i.checker)});
    rows += row({QStringLiteral("日期"), d.reportDate().toString(QStringLiteral("yyyy-MM-dd")),
                 QStringLiteral("计算程序"), esc(d.programLine())});
    return QStringLiteral("<h1>圆钢管柱脚计算书</h1>\n") + table(QStringLiteral("info"), rows);
}

// The analysis the texts come from, and for the rigid-plate analysis its equations.
QString methodSection(const ReportCase& c) {
    const MethodDefinition& method = methodDefinition(c.design.method);
    if (!method.reportText) return {};
    QString out = QStringLiteral("<p>分析方法：%1。").arg(QString::fromUtf8(method.title));
    const QString shown = QString::fromUtf8(methodTitle(c.outcome.shownMethod));
    // With both methods' results tabulated, the texts are no longer one method's alone.
    out +=
        c.outcome.otherResult
            ? QString::fromUtf8(method.reportText)
                  .replace(
                      QStringLiteral("下列计算结果取{shown}。"),
                      QStringLiteral("第 4 节并列两种方法的计算结果，图 2 按%1绘制。").arg(shown))
            : QString::fromUtf8(method.reportText).replace(QStringLiteral("{shown}"), shown);
    out += QStringLiteral("</p>\n");
    if (!c.outcome.methodRemark.empty())
        out += QStringLiteral("<p class=\"remark\">%1。</p>\n").arg(esc(c.outcome.methodRemark));
    out += femModelHtml(c.outcome);
    if (!method.reportsCompatibility) return out;
    return out +
           QStringLiteral(
               "<p>应变协调法（刚性底板）：截面保持平面，中和轴 y<sub>n</sub>、曲率 k；"
               "混凝土仅受压，σ = k·(y − y<sub>n</sub>)（y &gt; y<sub>n</sub>，直径 d 的圆内）；"
               "锚栓仅受拉，T<sub>i</sub> = n<sub>E</sub>·A<sub>e</sub>·k·(y<sub>n</sub> − "
               "a<sub>i</sub>)"
               "（a<sub>i</sub> &lt; y<sub>n</sub>），n<sub>E</sub> = E<sub>s</sub>/E<sub>c</sub>"
               " = %1。平衡：C − F = P，M<sub>c</sub> + ΣT<sub>i</sub>·(−a<sub>i</sub>) = M。"
               "圆弓形 y ≥ y<sub>n</sub>（φ = arccos(y<sub>n</sub>/R)）：A = R²(φ − sinφ·cosφ)，"
               "∫y dA = (2/3)R³sin³φ，∫y² dA = (R⁴/4)(φ − sinφ·cosφ + 2sin³φ·cosφ)。"
               "两式之比消去 k，y<sub>n</sub> 为一个方程的根，以区间法（TOMS 748）求得；"
               "x = R − y<sub>n</sub>，σ<sub>max</sub> = k·x。</p>\n")
               .arg(QString::number(c.outcome.checks.data.nE, 'f', 4));
}

QString basis(const ReportCase& c) {
    return QStringLiteral(
               "<h2>1 设计依据</h2>\n"
               "<p>《钢结构设计标准》GB 50017-2017；《混凝土结构设计规范》GB 50010-2010。</p>\n"
               "<p>计算方法：圆形底板支承于直径为 d 的圆形混凝土受压面上，n 个锚栓均匀布置在直径为 "
               "D "
               "的锚栓中心圆上。先按直径 d "
               "的实心圆截面作弹性预验算：全截面受拉时不予计算，否则由边缘"
               "应力得到受压区长度 x，此后 x 保持不变。然后以边缘应力 σ<sub>max</sub> 从 0.1 N/mm² "
               "起"
               "按 0.1 递增试算：受压区内压应力按线性分布、以 0.1 mm 宽的条带积分得到压应力合力 C "
               "及其"
               "弯矩 M<sub>c</sub>；最外侧锚栓（1 号锚栓）拉力 T 自 1 kN 至 1002 kN "
               "试算，其余受拉锚栓"
               "按其至中和轴距离与 1 号锚栓的比例受力，得到锚栓合力 F 及其弯矩 "
               "M<sub>b</sub>；取竖向力"
               "最接近平衡的状态为结果。符号与正负号：轴力 P 以受压为正、受拉为负；弯矩 M 取正值；"
               "受压边在图示右侧，中和轴距底板中心 d/2 − x，位于受压边对侧的锚栓受拉。</p>\n") +
           methodSection(c);
}

// A formula of the engine's checks in markup: {N|t|a} → N_t^a as HTML.
QString formulaHtml(const std::string& formula) {
    const QString f = q(formula);
    QString out;
    qsizetype i = 0;
    while (i < f.size()) {
        const qsizetype open = f.indexOf(QLatin1Char('{'), i);
        const qsizetype close = open < 0 ? -1 : f.indexOf(QLatin1Char('}'), open);
        if (close < 0) {
            out += f.mid(i).toHtmlEscaped();
            break;
        }
        out += f.mid(i, open - i).toHtmlEscaped();
        const QStringList parts = f.mid(open + 1, close - open - 1).split(QLatin1Char('|'));
        out += sym(parts.value(0).toHtmlEscaped(), parts.value(1).toHtmlEscaped(),
                   parts.value(2).toHtmlEscaped());
        i = close + 1;
    }
    return out;
}

QString inputRow(const char* kind, const QString& what, const QString& symbol, const QString& value,
                 const char* unit) {
    return row({QString::fromUtf8(kind), what, symbol, value, QString::fromUtf8(unit)});
}

// The rows of what the checks derived from a design input, below its own row or in place of
// it: a bolt's area, a grade's strength, the steel parts as the checks read them.
QString derivedRows(const ReportCase& c, std::string_view key) {
    const DesignData& m = c.outcome.checks.data;
    const auto& r = inputRow;
    if (key == "bolt")
        return r("材料", QStringLiteral("锚栓有效截面面积"), sym("A", "e"),
                 QString::number(m.ae, 'f', 1), "mm²");
    if (key == "steel")
        return r("材料",
                 QStringLiteral("锚栓钢材 %1 抗拉强度设计值").arg(QString::fromUtf8(m.steel.name)),
                 sym("f", "t", "a"), plain(m.steel.tensileDesign), "N/mm²");
    if (key == "pedestal" && m.input.pedestal)
        return r("材料",
                 QStringLiteral("局部受压提高系数 √(A<sub>b</sub>/A<sub>l</sub>) = min(3d, B)/d"),
                 sym("β", "l"), two(effectiveBetaL(m.input, textToNumber(c.outcome.inputs[2]))),
                 "");
    if (key == "concrete")
        return r(
            "材料",
            QStringLiteral("混凝土 %1 轴心抗压强度设计值").arg(QString::fromUtf8(m.concrete.name)),
            sym("f", "c"), plain(m.concrete.compressiveDesign), "N/mm²");
    const auto& t = c.outcome.checks.detailing;
    if (!t) return {};
    const auto f = [](const PlateSteel& steel, double thickness) {
        return plain(strengthAt(steel, thickness).f);
    };
    if (key == "tube")
        return r("构造",
                 QStringLiteral("钢管 外径×壁厚（%1，f = %2 N/mm²）")
                     .arg(QString::fromUtf8(t->tubeSteel.name), f(t->tubeSteel, t->tw)),
                 sym("D", "t") + QStringLiteral("×") + sym("t", "w"),
                 plain(t->Dt) + QStringLiteral("×") + plain(t->tw), "mm");
    if (key == "plate")
        return r("构造",
                 QStringLiteral("底板厚度（%1，f = %2 N/mm²）")
                     .arg(QString::fromUtf8(t->plateSteel.name), f(t->plateSteel, t->tp)),
                 sym("t", "p"), plain(t->tp), "mm");
    if (key == "stiffener")
        return r("构造", QStringLiteral("加劲肋 厚×高"),
                 sym("t", "s") + QStringLiteral("×") + sym("h", "s"),
                 plain(t->ts) + QStringLiteral("×") + plain(t->hs), "mm");
    if (key == "cap")
        return r("构造", QStringLiteral("锚栓顶板 厚×宽"),
                 sym("t", "c") + QStringLiteral("×") + sym("b", "c"),
                 plain(t->tc) + QStringLiteral("×") + plain(t->bc), "mm");
    if (key == "shearKey" && t->hasKey)
        return r("构造", QStringLiteral("抗剪键 宽×高×厚"),
                 sym("b", "k") + QStringLiteral("×") + sym("h", "k") + QStringLiteral("×") +
                     sym("t", "k"),
                 plain(t->bk) + QStringLiteral("×") + plain(t->hk) + QStringLiteral("×") +
                     plain(t->tk),
                 "mm");
    if (key == "electrode")
        return r("构造", QStringLiteral("焊条 %1").arg(QString::fromUtf8(t->electrode.name)),
                 sym("f", "f", "w"), plain(t->electrode.filletStrength), "N/mm²");
    return {};
}

// The rows of the design inputs of one group of the input table, in the order of their list.
QString designRows(const ReportCase& c, ReportGroup group) {
    static const char* const kinds[] = {"", "荷载", "材料", "构造"};
    // The inputs as the checks took them: names as listed, the detailing as read.
    DesignInput in = c.outcome.checks.data.input;
    if (const auto& t = c.outcome.checks.detailing) in.detailing = t->input;
    // A flag that puts a word in place of an input's value (the butt weld for the fillet's
    // leg) takes that input's row.
    auto replacedByWord = [&in](const DesignInputEntry& e) {
        for (const DesignInputEntry& w : designInputs())
            if (w.word && &w != &e && w.part == e.part && std::string_view(w.key) == e.key &&
                writesInput(w, in))
                return true;
        return false;
    };
    QString rows;
    for (const DesignInputEntry& e : designInputs()) {
        if (e.reportGroup != group || !partPresent(in, e.part)) continue;
        // With a pedestal β_l is its own, derived below the pedestal's row.
        const bool betaFromPedestal = std::string_view(e.key) == "betaL" && in.pedestal;
        if (e.label && writesInput(e, in) && !replacedByWord(e) && !betaFromPedestal) {
            const InputValue value = e.get(in);
            QString text;
            if (const std::string* s = std::get_if<std::string>(&value))
                text = q(*s);
            else if (e.reportOn && std::holds_alternative<bool>(value))
                text = QString::fromUtf8(e.reportOn);
            else if (const double* x = std::get_if<double>(&value))
                text = e.reportValue == ReportValue::load          ? load(numberToText(*x))
                       : e.reportValue == ReportValue::coefficient ? coefficient(*x)
                                                                   : plain(*x);
            rows += inputRow(kinds[static_cast<int>(group)], QString::fromUtf8(e.label),
                             formulaHtml(e.symbol), text, e.unit);
        }
        rows += derivedRows(c, e.key);
    }
    return rows;
}

QString inputs(const ReportCase& c) {
    const InputTexts& in = c.outcome.inputs;
    const DesignData& m = c.outcome.checks.data;
    const auto& r = inputRow;
    QString rows = row({QStringLiteral("类别"), QStringLiteral("项目"), QStringLiteral("符号"),
                        QStringLiteral("数值"), QStringLiteral("单位")},
                       true);
    rows += r("荷载", QStringLiteral("轴力（压为正，拉为负）"), sym("P"), load(in[0]), "kN");
    rows += r("荷载", QStringLiteral("弯矩"), sym("M"), load(in[1]), "kN·m");
    rows += designRows(c, ReportGroup::load);
    rows += r("几何", QStringLiteral("底板受压圆直径"), sym("d"), esc(in[2]), "mm");
    // The mass and the figure take the plate this wide.
    MassInput plate;
    plate.d = textToNumber(in[2]);
    plate.D = textToNumber(in[3]);
    plate.boltDiameter = m.bolt.diameter;
    rows += r("几何", QStringLiteral("底板外径 max(d, D + 3d<sub>b</sub>)"), sym("D", "out"),
              plain(baseMass(plate).outerDiameter), "mm");
    rows += r("几何", QStringLiteral("锚栓中心圆直径"), sym("D"), esc(in[3]), "mm");
    rows += r("几何", QStringLiteral("锚栓个数"), sym("n"), esc(in[4]), "个");
    rows += designRows(c, ReportGroup::material);
    if (c.outcome.checks.detailing) rows += designRows(c, ReportGroup::detailing);
    // Where the printed pages break is the pagination's (keepTogether).
    return QStringLiteral("<h2>2 输入</h2>\n") + table(QStringLiteral("input"), rows);
}

// The plate finite-element maps for a browser: a picture sharp at print size.
QString femMapsFigure(const ReportCase& c) {
    if (!c.outcome.fem) return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    femMapsImage(*c.outcome.fem, femMapsImageWidth).save(&buffer, "PNG");
    return QStringLiteral("<figure><img src=\"data:image/png;base64,%1\" alt=\"板有限元法\" "
                          "style=\"width:%2mm\"><p class=\"caption\">图 3　板有限元法：%3</p>"
                          "</figure>\n")
        .arg(QString::fromLatin1(png.toBase64()), plain(femMapsWidthMm), femMapsCaption);
}

QString pictures(HtmlTarget target, const ReportCase& c) {
    QString figure, diagram;
    const double figureHeightMm = figureWidthMm / figureAspect;
    const double diagramHeightMm = diagramWidthMm / diagramAspect;
    if (target == HtmlTarget::Browser) {
        figure = QStringLiteral("<img src=\"data:image/png;base64,%1\" alt=\"柱脚示意图\" "
                                "style=\"width:%2mm;height:%3mm\">")
                     .arg(QString::fromLatin1(figurePng().toBase64()), plain(figureWidthMm),
                          QString::number(figureHeightMm, 'f', 1));
        diagram = resultDiagramSvg(makeDiagramData(*c.analysis, c.outcome, c.design),
                                   plain(diagramWidthMm) + QStringLiteral("mm"),
                                   QString::number(diagramHeightMm, 'f', 1) + QStringLiteral("mm"));
        return QStringLiteral("<h2>3 计算简图</h2>\n<figure>%1<p class=\"caption\">图 1　柱脚示意"
                              "（以图示方向为正）</p></figure>\n<figure>%2<p class=\"caption\">"
                              "图 2　计算简图（受压边在右侧）</p></figure>\n")
                   .arg(figure, diagram) +
               femMapsFigure(c);
    }
    const auto px = [](double mm) {
        return QString::number(std::lround(mm / mmPerInch * htmlDpi));
    };
    return QStringLiteral(
               "<h2>3 计算简图</h2>\n"
               "<p align=\"center\"><img src=\"%1\" width=\"%2\" height=\"%3\"></p>\n"
               "<p class=\"caption\" align=\"center\">图 1　柱脚示意（以图示方向为正）</p>\n"
               "<p align=\"center\"><img src=\"%4\" width=\"%5\" height=\"%6\"></p>\n"
               "<p class=\"caption\" align=\"center\">图 2　计算简图（受压边在右侧）</p>\n")
               .arg(figureName, px(figureWidthMm), px(figureHeightMm), diagramName,
                    px(diagramWidthMm), px(diagramHeightMm)) +
           (c.outcome.fem
                ? QStringLiteral("<p align=\"center\"><img src=\"%1\" width=\"%2\" "
                                 "height=\"%3\"></p>\n<p class=\"caption\" align=\"center\">"
                                 "图 3　板有限元法：%4</p>\n")
                      .arg(femMapsName, px(femMapsWidthMm), px(femMapsWidthMm / femMapsAspect),
                           femMapsCaption)
                : QString());
}

// With the envelope both methods' results stand side by side, the elastic one first, so that
// each check's figure can be found under the method it names.
QString results(const ReportCase& c) {
    const ComputedCase& o = c.outcome;
    const bool both = o.otherResult.has_value();
    const bool elasticShown = o.shownMethod == AnalysisMethod::Elastic;
    const BaseResult* elastic = both && !elasticShown ? &*o.otherResult : &o.result;
    const BaseResult* rigid = both && elasticShown ? &*o.otherResult : &o.result;
    const auto title = [](AnalysisMethod m) { return QString::fromUtf8(methodTitle(m)); };
    QString rows =
        both ? row({QStringLiteral("名称"), QStringLiteral("符号"), title(AnalysisMethod::Elastic),
                    title(AnalysisMethod::Compatibility), QStringLiteral("单位")},
                   true)
             : row({QStringLiteral("名称"), QStringLiteral("符号"), QStringLiteral("数值"),
                    QStringLiteral("单位")},
                   true);
    for (const ResultRow& r : resultRows()) {
        const QString values =
            both ? QStringLiteral("<td class=\"num\">%1</td><td class=\"num\">%2</td>")
                       .arg(own((*elastic)[r.box]), own((*rigid)[r.box]))
                 : QStringLiteral("<td class=\"num\">%1</td>").arg(own(o.result[r.box]));
        rows += QStringLiteral("<tr><td>%1</td><td>%2</td>%3<td>%4</td></tr>\n")
                    .arg(QString::fromUtf8(r.name), r.symbol, values, QString::fromUtf8(r.unit));
    }
    QString note;
    if (both) {
        QStringList independent;
        for (const Check* check : o.checks.made())
            if (!checkDefinition(check->id).dependsOnMethod)
                independent << QString::fromUtf8(check->title);
        note = QStringLiteral("<p class=\"remark\">第 6、7 节每项验算的说明注明其数值取自哪一方法"
                              "%1。</p>\n")
                   .arg(independent.isEmpty()
                            ? QString()
                            : QStringLiteral("；%1与分析方法无关").arg(independent.join("、")));
    }
    return QStringLiteral("<h2>4 计算结果</h2>\n") + table(QStringLiteral("results"), rows) + note;
}

QString refinedText(const RefinedEquilibrium& r) {
    using Status = RefinedEquilibrium::Status;
    switch (r.status) {
    case Status::Solved:
        return QStringLiteral(
                   "精确平衡解（按弹性受压区长度 x 求解两平衡方程）：σ<sub>max</sub> = %1 "
                   "N/mm²，T = %2 kN，C = %3 kN，F = %4 kN。")
            .arg(two(r.qmax), two(r.T), two(r.C), two(r.F));
    case Status::NoEquilibrium:
        return QStringLiteral("精确平衡解：按弹性受压区长度，此荷载组合无平衡解（需 %1）。")
            .arg(r.qmax < 0 ? QStringLiteral("σ<sub>max</sub> &lt; 0")
                            : QStringLiteral("T &lt; 0"));
    case Status::ForceOnly:
        return QStringLiteral(
                   "精确平衡解：无受拉锚栓，σ<sub>max</sub> = %1 N/mm²，弯矩之和 %2 kN·m。")
            .arg(two(r.qmax), two(r.momentSum));
    case Status::Singular:
        break;
    }
    return {};
}

// The two rows of one method's equilibrium: its sums, each miss over its own state.
QString equilibriumRows(const InputTexts& in, const BaseResult& result, const QString& method) {
    const double P = textToNumber(in[0]), M = std::fabs(textToNumber(in[1]));
    const double h1 = textToNumber(result.h1t), h2 = textToNumber(result.h2t);
    const EquilibriumMisses m = equilibriumMisses(in, result);
    const QString prefix = method.isEmpty() ? QString() : method + QStringLiteral("：");
    QString rows = row({prefix + QStringLiteral("竖向力之和 ΣN = C − F"),
                        own(result.h1t) + QStringLiteral(" kN"),
                        QStringLiteral("P = ") + load(in[0]) + QStringLiteral(" kN"),
                        two(h1 - P) + QStringLiteral(" kN"),
                        QStringLiteral("max(|P|, C, F) = %1 kN").arg(two(m.forceReference)),
                        two(m.force) + QStringLiteral(" %")});
    rows += row({prefix + QStringLiteral("弯矩之和 ΣM = M<sub>c</sub> + M<sub>b</sub>"),
                 own(result.h2t) + QStringLiteral(" kN·m"),
                 QStringLiteral("M = ") + plain(M) + QStringLiteral(" kN·m"),
                 two(h2 - M) + QStringLiteral(" kN·m"),
                 QStringLiteral("max(M, (C + F)·d/2000) = %1 kN·m").arg(two(m.momentReference)),
                 two(m.moment) + QStringLiteral(" %")});
    return rows;
}

QString equilibrium(const ReportCase& c) {
    const ComputedCase& o = c.outcome;
    // A miss is taken against the largest force (moment) of the state, not the load alone:
    // the reference is printed beside it. The envelope that reads both methods' results
    // shows both misses; its check takes the larger.
    const bool both =
        o.otherResult && o.methodRemark.empty() && c.design.method == AnalysisMethod::Envelope;
    QString rows = row({QStringLiteral("项目"), QStringLiteral("计算值"), QStringLiteral("荷载"),
                        QStringLiteral("差值"), QStringLiteral("基准值"), QStringLiteral("相对差")},
                       true);
    if (!both) {
        rows += equilibriumRows(o.inputs, o.result, {});
    } else {
        const bool elasticShown = o.shownMethod == AnalysisMethod::Elastic;
        const BaseResult& elastic = elasticShown ? o.result : *o.otherResult;
        const BaseResult& rigid = elasticShown ? *o.otherResult : o.result;
        rows += equilibriumRows(o.inputs, elastic,
                                QString::fromUtf8(methodTitle(AnalysisMethod::Elastic)));
        rows += equilibriumRows(o.inputs, rigid,
                                QString::fromUtf8(methodTitle(AnalysisMethod::Compatibility)));
    }
    QString out =
        QStringLiteral("<h2>5 平衡校核</h2>\n") + table(QStringLiteral("equilibrium"), rows);
    if (both && o.hasChecks) {
        const Check& k = o.checks[CheckId::Equilibrium];
        out += QStringLiteral(
                   "<p class=\"remark\">包络的平衡校核取两种方法中较大的相对差 %1 %（%2）。</p>\n")
                   .arg(esc(k.demandText), esc(k.remark));
    }
    const QString refined = refinedText(o.checks.refined);
    if (!refined.isEmpty()) out += QStringLiteral("<p class=\"remark\">%1</p>\n").arg(refined);
    return out;
}

QString verdict(bool ok) {
    return ok ? QStringLiteral("<span class=\"ok\">满足</span>")
              : QStringLiteral("<span class=\"fail\">不满足</span>");
}

// The table of some checks: each with its formula, numbers, ratio, verdict and remark.
QString checkTable(const DesignChecks& k, bool steelParts) {
    // Widths so that the formulas keep their room; a remark gets a row of its own.
    QString rows = QStringLiteral(
        "<tr><th width=\"11%\">项目</th><th width=\"36%\">公式</th><th width=\"17%\">设计值</th>"
        "<th width=\"17%\">承载力/限值</th><th width=\"8%\">利用率</th>"
        "<th width=\"11%\">结论</th></tr>\n");
    for (const Check* made : k.made()) {
        const Check& check = *made;
        const CheckDefinition& def = checkDefinition(check.id);
        if (def.needsDetailing != steelParts) continue;
        const QString unit = QStringLiteral(" ") + QString::fromUtf8(def.unit);
        rows += QStringLiteral(
                    "<tr><td>%1</td><td>%2</td><td class=\"num\">%3</td><td class=\"num\">%4</td>"
                    "<td class=\"num\">%5</td><td>%6</td></tr>\n")
                    .arg(QString::fromUtf8(check.title), formulaHtml(check.formula),
                         q(check.demandText) + unit, q(check.capacityText) + unit,
                         esc(check.ratioText), verdict(check.ok));
        if (!check.remark.empty())
            rows += QStringLiteral(
                        "<tr><td></td><td colspan=\"5\" class=\"remark\">说明：%1</td></tr>\n")
                        .arg(esc(check.remark));
    }
    return table(steelParts ? QStringLiteral("steel") : QStringLiteral("checks"), rows);
}

QString checks(const ReportCase& c) {
    const DesignChecks& k = c.outcome.checks;
    QString out = QStringLiteral("<h2>6 设计验算</h2>\n") + checkTable(k, false);
    for (const std::string& g : k.geometryRemarks)
        out += QStringLiteral("<p class=\"remark\">注：%1。</p>\n").arg(esc(g));
    return out;
}

QString seismicWorking(HtmlTarget target, const ReportCase& c);

QString steelParts(HtmlTarget target, const ReportCase& c) {
    const DesignChecks& k = c.outcome.checks;
    const QString heading = QStringLiteral("<h2>7 板件验算</h2>\n");
    if (!k.detailing)
        return heading + QStringLiteral("<p>未输入构造参数：底板、锚栓顶板、加劲肋、焊缝、钢管及"
                                        "锚固长度未验算。</p>\n");
    return heading +
           QStringLiteral("<p class=\"remark\">单位 N、mm。底板区格按三边支承、外边自由的板计算"
                          "（b<sub>1</sub>/a<sub>1</sub> &lt; 0.3 或 n &lt; 3 时按悬臂板）；"
                          "锚栓顶板按两端支承于加劲肋的简支梁，T 作用于跨中；加劲肋及其焊缝取"
                          "受拉侧（V = T）与受压侧（底板反力）中较不利者；柱底焊缝偏保守地承受全部"
                          "P、M、V；β<sub>f</sub> = %1。</p>\n")
               .arg(plain(filletBetaF)) +
           checkTable(k, true) + seismicWorking(target, c);
}

// The seismic capacity worked: the plastic state and its figure.
QString seismicWorking(HtmlTarget target, const ReportCase& c) {
    const PlasticWorking w = plasticWorking(c.outcome);
    if (!w.made) return {};
    QString out = QStringLiteral("<h3>抗震极限承载力 M<sub>u,base</sub></h3>\n") + w.text;
    if (w.figure.isNull()) return out;
    const QString caption =
        QStringLiteral("图 3　塑性状态：受压区 f<sub>ck</sub> 与锚栓拉力（受压边在右侧）");
    if (target == HtmlTarget::Browser) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        w.figure.save(&buffer, "PNG");
        return out +
               QStringLiteral("<figure><img src=\"data:image/png;base64,%1\" alt=\"塑性状态\" "
                              "style=\"width:%2mm\"><p class=\"caption\">%3</p></figure>\n")
                   .arg(QString::fromLatin1(png.toBase64()), plain(plasticWidthMm), caption);
    }
    const int width = static_cast<int>(std::lround(plasticWidthMm / mmPerInch * htmlDpi));
    const int height = width * w.figure.height() / w.figure.width();
    return out + QStringLiteral("<p align=\"center\"><img src=\"%1\" width=\"%2\" height=\"%3\">"
                                "</p>\n<p class=\"caption\" align=\"center\">%4</p>\n")
                     .arg(plasticName)
                     .arg(width)
                     .arg(height)
                     .arg(caption);
}

QString conclusion(const ReportCase& c) {
    const DesignChecks& k = c.outcome.checks;
    QString out =
        QStringLiteral("<h2>8 结论</h2>\n<p class=\"verdict\">%1：%2</p>\n")
            .arg(k.ok ? QStringLiteral("各项验算均满足要求") : QStringLiteral("验算不通过"),
                 verdict(k.ok));
    if (k.ok) return out;
    QString advice;
    for (const Check* made : k.made()) {
        const Check& check = *made;
        if (check.ok) continue;
        QString what = esc(check.remark);
        if (check.id == CheckId::Equilibrium)
            what +=
                QStringLiteral("；此时计算结果不宜作为设计依据，宜调整底板直径 d、锚栓中心圆直径 D "
                               "或锚栓个数 n 后重新计算");
        advice += QStringLiteral("<li>%1：%2。</li>\n").arg(QString::fromUtf8(check.title), what);
    }
    return out + QStringLiteral("<p>修改建议：</p>\n<ul>\n%1</ul>\n").arg(advice);
}

QString caseVerdict(const ReportCase& c) {
    switch (c.outcome.status) {
    case CaseStatus::Ok:
        return verdict(c.outcome.checks.ok);
    case CaseStatus::Refused:
        return QStringLiteral("<span class=\"fail\">拒绝：%1</span>").arg(esc(c.outcome.message));
    case CaseStatus::Error:
        break;
    }
    return QStringLiteral("<span class=\"fail\">出错：%1</span>").arg(esc(c.outcome.message));
}

// For each check, the load case with its largest ratio (-1 for none).
std::array<int, checkCount> governingRows(const ReportData& d) {
    return governingCases(d.loadCases.size(),
                          [&d](std::size_t k) { return &d.loadCases[k].outcome; });
}

QString caseLabel(const ReportData& d, int k) {
    const QString name = d.loadCases[k].name.trimmed();
    return QStringLiteral("第 %1 行").arg(k + 1) +
           (name.isEmpty() ? QString() : QStringLiteral("「%1」").arg(esc(name)));
}

// Which combination a project report shows in full, and why.
QString mainCaseNote(const ReportData& d) {
    if (d.loadCases.empty() || d.mainIndex < 0) return {};
    const auto governing = governingRows(d);
    const DesignChecks& k = d.main.outcome.checks;
    int worst = -1;
    QStringList governs, same;
    for (int c = 0; c < checkCount; ++c) {
        const Check& check = k.checks[c];
        if (!check.checked) continue;
        if (!checkDefinition(check.id).dependsOnLoad) {
            same << QString::fromUtf8(check.title);
            continue;
        }
        if (worst < 0 || check.ratio > k.checks[worst].ratio) worst = c;
        if (governing[c] == d.mainIndex) governs << QString::fromUtf8(check.title);
    }
    if (worst < 0) return {};
    const QString unchosen = same.isEmpty()
                                 ? QString()
                                 : QStringLiteral("（%1与荷载无关，各组合相同，不参与选择）")
                                       .arg(same.join(QStringLiteral("、")));
    const QString governsText =
        governs.isEmpty()
            ? QString()
            : QStringLiteral("，是%1的最不利组合").arg(governs.join(QStringLiteral("、")));
    return QStringLiteral("<p>本计算书第 2～8 节详列荷载组合 %1：在随荷载变化的验算中，其%2利用率 "
                          "%3 为各荷载组合中最高%4%5。全部 %6 个荷载组合见第 9 节汇总。</p>\n")
        .arg(caseLabel(d, d.mainIndex), QString::fromUtf8(k.checks[worst].title),
             esc(k.checks[worst].ratioText), unchosen, governsText)
        .arg(d.loadCases.size());
}

QString loadCaseTable(const ReportData& d) {
    if (d.loadCases.empty()) return {};
    const auto governing = governingRows(d);
    // Every case shares the design: a check is made in all or in none. A check the same in
    // every combination gets no column: it is stated once below, and the columns fit the page.
    std::vector<CheckId> shown;
    QStringList same;
    for (const CheckDefinition& def : checkDefinitions()) {
        if (!checkApplies(def, d.loadCases.front().design)) continue;
        if (def.dependsOnLoad) {
            shown.push_back(def.id);
        } else if (d.main.outcome.status == CaseStatus::Ok && d.main.outcome.hasChecks) {
            same << QString::fromUtf8(def.title) + QStringLiteral(" ") +
                        esc(d.main.outcome.checks[def.id].ratioText);
        }
    }
    // Two tables, the figures with the verdict and the ratios, so that each fits the page's
    // width however many checks the design makes.
    QString rows = QStringLiteral("<tr><th>荷载组合</th><th>P<br>kN</th><th>M<br>kN·m</th>"
                                  "<th>V<br>kN</th><th>x<br>mm</th><th>σ<sub>max</sub><br>N/mm²"
                                  "</th><th>T<br>kN</th><th>C<br>kN</th><th>结论</th></tr>\n");
    QString ratios = QStringLiteral("<tr><th>荷载组合</th>");
    for (CheckId id : shown)
        ratios +=
            QStringLiteral("<th>%1</th>").arg(QString::fromUtf8(checkDefinition(id).shortTitle));
    ratios += QStringLiteral("</tr>\n");
    bool allOk = true;
    for (int k = 0; k < static_cast<int>(d.loadCases.size()); ++k) {
        const ReportCase& c = d.loadCases[k];
        const ComputedCase& o = c.outcome;
        const bool ok = o.status == CaseStatus::Ok;
        allOk = allOk && ok && o.checks.ok;
        // The governing ratio of each check is marked, and the case shown in full.
        const QString name = esc(c.name) + (k == d.mainIndex ? QStringLiteral("◆") : QString());
        const QString head =
            QStringLiteral("<tr><td style=\"white-space: nowrap\">%1</td>").arg(name);
        rows += head;
        // Figures never break inside a cell.
        for (const QString& cell :
             {load(o.inputs[0]), load(o.inputs[1]), load(numberToText(c.design.V)),
              own(o.result.xt), own(o.result.qmaxt), own(o.result.tt), own(o.result.fqt)})
            rows += QStringLiteral("<td class=\"num\">%1</td>").arg(cell);
        rows += QStringLiteral("<td>%1</td></tr>\n").arg(caseVerdict(c));
        ratios += head;
        for (CheckId id : shown) {
            QString r = ok ? esc(o.checks[id].ratioText) : QString();
            if (ok && governing[static_cast<int>(id)] == k) r = QStringLiteral("<b>%1▲</b>").arg(r);
            ratios += QStringLiteral("<td class=\"num\">%1</td>").arg(r);
        }
        ratios += QStringLiteral("</tr>\n");
    }
    return QStringLiteral("<h2>9 荷载组合汇总</h2>\n") + table(QStringLiteral("cases"), rows) +
           QStringLiteral("<p class=\"caption\">各荷载组合的验算利用率</p>\n") +
           table(QStringLiteral("cases"), ratios) +
           QStringLiteral("<p class=\"remark\">▲ 该项验算的最不利荷载组合；◆ 第 2～8 节详列的"
                          "荷载组合。%1</p>\n")
               .arg(same.isEmpty()
                        ? QString()
                        : QStringLiteral("与荷载无关、各荷载组合相同的验算（利用率）：%1。")
                              .arg(same.join(QStringLiteral("，")))) +
           QStringLiteral("<p class=\"verdict\">设计总体结论：%1</p>\n").arg(verdict(allOk));
}

// The diagram as an object of the text document, painted with QPainter where the layout
// puts it, so that it stays vectors in a PDF.
class DiagramObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    DiagramObject(DiagramData data, QObject* parent) : QObject(parent), data_(std::move(data)) {}

    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat&) override {
        const QPaintDevice* device = doc->documentLayout()->paintDevice();
        const double dpi = device ? device->logicalDpiX() : htmlDpi;
        const double w = diagramWidthMm / mmPerInch * dpi;
        return {w, w / diagramAspect};
    }
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat&) override {
        drawResultDiagram(*painter, rect, data_);
    }

  private:
    DiagramData data_;
};

// Swaps a placeholder image (`name`) for the vector object of `type`.
void insertObject(QTextDocument& doc, const QString& name, int type) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().isImageFormat() || f.charFormat().toImageFormat().name() != name)
                continue;
            QTextCursor cursor(&doc);
            cursor.setPosition(f.position());
            cursor.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
            QTextCharFormat object;
            object.setObjectType(type);
            cursor.insertText(QString(QChar::ObjectReplacementCharacter), object);
            return;
        }
    }
}

} // namespace

QByteArray figurePng() {
    QFile file(figureResource);
    if (!file.open(QIODevice::ReadOnly)) throw ReportError(QStringLiteral("程序内缺少柱脚示意图"));
    return file.readAll();
}

QString reportHtml(const ReportData& data, HtmlTarget target) {
    requireReportable(data);
    const ReportCase& c = data.main;
    QString body = header(data) + mainCaseNote(data) + basis(c) + inputs(c) + pictures(target, c) +
                   results(c) + equilibrium(c) + checks(c) + steelParts(target, c) + conclusion(c) +
                   loadCaseTable(data);
    if (target == HtmlTarget::Browser)
        body += QStringLiteral("<footer>%1</footer>\n").arg(esc(data.programLine()));
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<title>圆钢管柱脚计算书%1</title>\n<style>\n%2</style>\n</head>\n<body>\n%3"
               "</body>\n</html>\n")
        .arg(data.info.project.isEmpty() ? QString()
                                         : QStringLiteral(" — ") + esc(data.info.project),
             styleSheet(target), body);
}

std::unique_ptr<QTextDocument> makeReportDocument(const ReportData& data, QPaintDevice* device) {
    requireReportable(data);
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(device);
    doc->setDefaultFont(reportFont(10.5));
    doc->setDocumentMargin(0);
    doc->addResource(QTextDocument::ImageResource, QUrl(figureName), QImage::fromData(figurePng()));
    if (const PlasticWorking w = plasticWorking(data.main.outcome); !w.figure.isNull())
        doc->addResource(QTextDocument::ImageResource, QUrl(plasticName), w.figure);
    doc->documentLayout()->registerHandler(
        diagramObjectType,
        new DiagramObject(makeDiagramData(*data.main.analysis, data.main.outcome, data.main.design),
                          doc.get()));
    if (data.main.outcome.fem)
        doc->documentLayout()->registerHandler(femMapsObjectType,
                                               new FemMapsObject(data.main.outcome.fem, doc.get()));
    doc->setHtml(reportHtml(data, HtmlTarget::TextDocument));
    insertObject(*doc, diagramName, diagramObjectType);
    if (data.main.outcome.fem) insertObject(*doc, femMapsName, femMapsObjectType);
    return doc;
}

} // namespace tarvel::report

#include "reportdocument.moc"
