#include "resultdiagram.h"

#include "analysis/equilibrium.h"
#include "core/number.h"
#include "reportfont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvel::report {

namespace {

// The drawing is made in a box of these logical units and scaled to its target.
constexpr double boxWidth = 1000;
constexpr double boxHeight = boxWidth / diagramAspect;

using std::numbers::pi;

// Plan view: centre and the radius the larger circle is drawn at.
constexpr QPointF planCentre{500, 300};
constexpr double planRadius = 230;
// Elevation strip: top of the plate, its thickness and the height of σmax.
constexpr double plateTop = 660;
constexpr double plateThickness = 16;
constexpr double pressureHeight = 90;
constexpr double maxArrow = 80; // length of the arrow of bolt 1
// The plan's label of the neutral axis: its gap to the axis, and its height above the centre
// as a share of the plate's radius (clear of a hole's labels and of the bolt numbers).
constexpr double naLabelGap = 6;
constexpr double naLabelHeight = 0.62;

// Beyond these counts the labels would run into each other.
constexpr int maxBoltsWithForces = 24;
constexpr int maxNumberedBolts = 36;

const QColor ink{0x20, 0x20, 0x20};
const QColor grey{0x80, 0x80, 0x80};
const QColor compressedFill{0xcf, 0xe0, 0xf3};
const QColor pressureFill{0xf6, 0xd7, 0xb0};
const QColor tension{0xb0, 0x2a, 0x1e};

enum class Align { Left, Centre, Right };

struct Stroke {
    QColor color = ink;
    double width = 1.5;
    bool dashed = false;
};

// The few primitives the diagram needs, so that the PDF (QPainter) and the HTML (SVG) are
// drawn by one piece of geometry.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void line(QPointF a, QPointF b, const Stroke& s) = 0;
    virtual void polygon(const QPolygonF& points, const Stroke& s, const QColor& fill) = 0;
    virtual void circle(QPointF centre, double r, const Stroke& s, const QColor& fill) = 0;
    // Text vertically centred on `at`.
    virtual void text(QPointF at, const QString& text, double size, Align align,
                      const QColor& color = ink, bool bold = false) = 0;

    void arrow(QPointF from, QPointF to, const Stroke& s) {
        line(from, to, s);
        const double len = std::hypot(to.x() - from.x(), to.y() - from.y());
        if (len <= 0) return;
        const QPointF u{(to.x() - from.x()) / len, (to.y() - from.y()) / len};
        const QPointF nrm{-u.y(), u.x()};
        const double h = std::min(12.0, len * 0.6), w = h * 0.4;
        polygon(QPolygonF{{to, to - u * h + nrm * w, to - u * h - nrm * w}}, s, s.color);
    }
    // A dimension line with ticks, the text above it.
    void dimension(double x1, double x2, double y, const QString& label) {
        const Stroke thin{ink, 1.0};
        line({x1, y}, {x2, y}, thin);
        for (double x : {x1, x2}) {
            line({x, y - 7}, {x, y + 7}, thin);
            line({x - 5, y + 5}, {x + 5, y - 5}, thin);
        }
        text({(x1 + x2) / 2, y - 13}, label, 17, Align::Centre);
    }
};

class PainterCanvas : public Canvas {
  public:
    explicit PainterCanvas(QPainter& p) : p_(p) {}
    void line(QPointF a, QPointF b, const Stroke& s) override {
        p_.setPen(pen(s));
        p_.drawLine(a, b);
    }
    void polygon(const QPolygonF& points, const Stroke& s, const QColor& fill) override {
        p_.setPen(pen(s));
        p_.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
        p_.drawPolygon(points);
    }
    void circle(QPointF c, double r, const Stroke& s, const QColor& fill) override {
        p_.setPen(pen(s));
        p_.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
        p_.drawEllipse(c, r, r);
    }
    void text(QPointF at, const QString& t, double size, Align align, const QColor& color,
              bool bold) override {
        QFont font(reportFontFamily());
        font.setPixelSize(static_cast<int>(std::lround(size)));
        font.setBold(bold);
        p_.setFont(font);
        p_.setPen(color);
        const QFontMetricsF fm(font);
        const double w = fm.horizontalAdvance(t);
        double x = at.x();
        if (align == Align::Centre) x -= w / 2;
        if (align == Align::Right) x -= w;
        p_.drawText(QPointF{x, at.y() + (fm.ascent() - fm.descent()) / 2}, t);
    }

  private:
    static QPen pen(const Stroke& s) {
        QPen pen(s.color, s.width);
        if (s.dashed) pen.setDashPattern({8, 4, 2, 4});
        pen.setCapStyle(Qt::FlatCap);
        return pen;
    }
    QPainter& p_;
};

QString num(double v) {
    return QString::number(v, 'f', 2);
}

QString escapeXml(const QString& s) {
    return s.toHtmlEscaped();
}

class SvgCanvas : public Canvas {
  public:
    void line(QPointF a, QPointF b, const Stroke& s) override {
        out += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5/>\n")
                   .arg(num(a.x()), num(a.y()), num(b.x()), num(b.y()), stroke(s));
    }
    void polygon(const QPolygonF& points, const Stroke& s, const QColor& fill) override {
        QString pts;
        for (const QPointF& p : points)
            pts += num(p.x()) + ',' + num(p.y()) + ' ';
        out += QStringLiteral("<polygon points=\"%1\" fill=\"%2\" %3/>\n")
                   .arg(pts.trimmed(), colour(fill), stroke(s));
    }
    void circle(QPointF c, double r, const Stroke& s, const QColor& fill) override {
        out += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\" %5/>\n")
                   .arg(num(c.x()), num(c.y()), num(r), colour(fill), stroke(s));
    }
    void text(QPointF at, const QString& t, double size, Align align, const QColor& color,
              bool bold) override {
        const char* anchor = align == Align::Left     ? "start"
                             : align == Align::Centre ? "middle"
                                                      : "end";
        out += QStringLiteral("<text x=\"%1\" y=\"%2\" dy=\"0.35em\" font-size=\"%3\" "
                              "text-anchor=\"%4\" fill=\"%5\"%6>%7</text>\n")
                   .arg(num(at.x()), num(at.y()), num(size), QLatin1String(anchor), color.name(),
                        bold ? QStringLiteral(" font-weight=\"bold\"") : QString(), escapeXml(t));
    }
    QString out;

  private:
    static QString colour(const QColor& c) {
        return c.isValid() ? c.name() : QStringLiteral("none");
    }
    static QString stroke(const Stroke& s) {
        return QStringLiteral("stroke=\"%1\" stroke-width=\"%2\"%3")
            .arg(s.color.name(), num(s.width),
                 s.dashed ? QStringLiteral(" stroke-dasharray=\"8 4 2 4\"") : QString());
    }
};

// Places a label radially outside a point of a circle, aligned away from the centre.
void radialText(Canvas& c, double angle, double radius, const QString& t, double size,
                const QColor& color) {
    const QPointF at = planCentre + QPointF{radius * std::cos(angle), -radius * std::sin(angle)};
    const double cs = std::cos(angle);
    const Align align = cs > 0.35 ? Align::Left : cs < -0.35 ? Align::Right : Align::Centre;
    c.text(at, t, size, align, color);
}

void drawPlan(Canvas& c, const DiagramData& d, double scale) {
    const double rd = d.d / 2 * scale, rD = d.D / 2 * scale;
    const double outer = std::max(rd, rD);
    const Stroke axis{grey, 1.0, true};
    c.line({planCentre.x() - outer - 30, planCentre.y()},
           {planCentre.x() + outer + 30, planCentre.y()}, axis);
    c.line({planCentre.x(), planCentre.y() - outer - 30},
           {planCentre.x(), planCentre.y() + outer + 18}, axis);

    // The compressed zone: the part of the bearing circle beyond the neutral axis.
    const double xn = d.neutralAxis();
    if (d.fullCompression() || d.d <= 0) {
        c.circle(planCentre, rd, Stroke{ink, 1.0}, compressedFill);
    } else {
        const double half = std::acos(std::clamp(xn / (d.d / 2), -1.0, 1.0));
        QPolygonF zone;
        constexpr int arcSteps = 72;
        for (int i = 0; i <= arcSteps; ++i) {
            const double t = -half + 2 * half * i / arcSteps;
            zone << planCentre + QPointF{rd * std::cos(t), -rd * std::sin(t)};
        }
        c.polygon(zone, Stroke{ink, 0.8}, compressedFill);
    }
    c.circle(planCentre, rd, Stroke{ink, 2.0}, QColor());
    c.circle(planCentre, rD, Stroke{ink, 1.0, true}, QColor());
    // The central hole bears nothing: the bearing is the annulus around it.
    if (d.hole > 0) {
        const double rh = d.hole / 2 * scale;
        c.circle(planCentre, rh, Stroke{ink, 1.4}, QColor(Qt::white));
        c.text(planCentre + QPointF{0, -rh * 0.35}, QStringLiteral("中心孔"), 14, Align::Centre,
               grey);
        c.text(planCentre + QPointF{0, rh * 0.35 + 14}, QStringLiteral("dh = %1").arg(d.hole), 14,
               Align::Centre, grey);
    }

    if (!d.fullCompression()) {
        const double nx = planCentre.x() + xn * scale;
        const double half = std::sqrt(std::max(0.0, rd * rd - xn * scale * xn * scale));
        const Stroke naStroke{tension, 1.6, true};
        c.line({nx, planCentre.y() - half - 24}, {nx, planCentre.y() + half + 24}, naStroke);
        // Beside the axis inside the plate, on the wider side: above it the forces of the bolts
        // next to the axis would overwrite it.
        const bool leftOfAxis = xn > 0;
        c.text({nx + (leftOfAxis ? -naLabelGap : naLabelGap), planCentre.y() - rd * naLabelHeight},
               QStringLiteral("中和轴"), 17, leftOfAxis ? Align::Right : Align::Left, tension);
    }
    const double zoneMid = d.fullCompression() ? 0 : (xn + d.d / 2) / 2;
    c.text(planCentre + QPointF{zoneMid * scale, rd * 0.45}, QStringLiteral("受压区"), 18,
           Align::Centre);

    // Bolts: numbered inside the bolt circle, the force of each bolt in tension outside it.
    const int numberEvery = (d.n + maxNumberedBolts - 1) / std::max(1, maxNumberedBolts);
    const double boltR = std::clamp(rD * pi / std::max(1, d.n) * 0.3, 2.5, 8.0);
    for (const DiagramBolt& b : d.bolts) {
        const QPointF at = planCentre + QPointF{b.x * scale, -b.y * scale};
        const bool pulled = b.force > 0;
        c.circle(at, boltR, Stroke{pulled ? tension : ink, 1.2},
                 pulled ? tension : QColor(Qt::white));
        const double angle = std::atan2(b.y, b.x);
        if (b.number == 1 || (b.number - 1) % std::max(1, numberEvery) == 0)
            radialText(c, angle + pi, -(rD - boltR - 14), QString::number(b.number), 13, grey);
        if (b.number == 1)
            radialText(c, angle, rD + boltR + 8, QStringLiteral("T = %1 kN").arg(d.tText), 16,
                       tension);
        else if (pulled && d.n <= maxBoltsWithForces)
            radialText(c, angle, rD + boltR + 8, num(b.force), 13, tension);
    }

    // Diameters below the plan.
    const double y0 = planCentre.y() + outer + 42;
    c.dimension(planCentre.x() - rd, planCentre.x() + rd, y0, QStringLiteral("d = %1").arg(d.d));
    c.dimension(planCentre.x() - rD, planCentre.x() + rD, y0 + 44,
                QStringLiteral("D = %1").arg(d.D));
    c.text({20, 30}, QStringLiteral("平面（锚栓编号、拉力 kN）"), 18, Align::Left, ink, true);
    c.text({boxWidth - 20, 30}, QStringLiteral("受压边 →"), 16, Align::Right);
    c.text({boxWidth - 20, 54}, QStringLiteral("n = %1").arg(d.n), 16, Align::Right);
}

void drawElevation(Canvas& c, const DiagramData& d, double scale) {
    const double cx = planCentre.x();
    const double half = std::max(d.d, d.D) / 2 * scale + 14;
    const double bottom = plateTop + plateThickness;
    c.text({20, plateTop - 44}, QStringLiteral("立面（底板压应力与锚栓拉力）"), 18, Align::Left,
           ink, true);
    c.polygon(QPolygonF{QRectF{cx - half, plateTop, 2 * half, plateThickness}}, Stroke{ink, 1.5},
              QColor(0xd0, 0xd0, 0xd0));

    // Linear bearing pressure: σmax at the compressed edge, 0 at the neutral axis.
    const double right = d.d / 2, xn = d.neutralAxis();
    const double left = std::max(xn, -d.d / 2);
    auto depth = [&](double x) { return d.x > 0 ? pressureHeight * (x - xn) / d.x : 0.0; };
    const QPointF r0{cx + right * scale, bottom}, r1{cx + right * scale, bottom + depth(right)};
    const QPointF l0{cx + left * scale, bottom}, l1{cx + left * scale, bottom + depth(left)};
    c.polygon(QPolygonF{{l0, r0, r1, l1}}, Stroke{ink, 1.2}, pressureFill);
    constexpr int pressureArrows = 6;
    for (int i = 1; i <= pressureArrows; ++i) {
        const double x = left + (right - left) * i / (pressureArrows + 0.3);
        if (depth(x) < 14) continue;
        c.arrow({cx + x * scale, bottom + depth(x)}, {cx + x * scale, bottom + 1},
                Stroke{ink, 1.0});
    }
    c.text({r1.x() + 8, r1.y()}, QStringLiteral("σmax = %1 N/mm²").arg(d.sigmaText), 16,
           Align::Left);
    if (!d.fullCompression()) {
        c.line({cx + xn * scale, plateTop - 20}, {cx + xn * scale, bottom + pressureHeight + 20},
               Stroke{tension, 1.4, true});
        c.text({cx + xn * scale, plateTop - 30}, QStringLiteral("中和轴"), 15, Align::Centre,
               tension);
    }
    c.dimension(cx + std::max(xn, -d.d / 2 - d.x) * scale, cx + right * scale,
                bottom + pressureHeight + 40, QStringLiteral("x = %1").arg(d.xText));

    // Bolt forces pull the plate down; bolts at one place in elevation share one arrow.
    std::vector<const DiagramBolt*> shown;
    for (const DiagramBolt& b : d.bolts) {
        const bool seen = std::any_of(shown.begin(), shown.end(), [&](const DiagramBolt* o) {
            return std::fabs(o->x - b.x) * scale < 1.0;
        });
        if (!seen) shown.push_back(&b);
    }
    for (const DiagramBolt* b : shown) {
        const double x = cx + b->x * scale;
        c.line({x, plateTop - 22}, {x, bottom + 6}, Stroke{grey, 2.0});
        if (b->force > 0 && d.T > 0) {
            const double len = std::max(18.0, maxArrow * b->force / d.T);
            c.arrow({x, bottom}, {x, bottom + len}, Stroke{tension, 1.8});
        }
    }
    if (!d.bolts.empty()) {
        const double x = cx + d.bolts.front().x * scale;
        c.text({x - 8, bottom + maxArrow + 22}, QStringLiteral("T = %1 kN").arg(d.tText), 16,
               Align::Left, tension);
    }
}

void drawDiagram(Canvas& c, const DiagramData& d) {
    const double extent = std::max(d.d, d.D) / 2;
    const double scale = extent > 0 ? planRadius / extent : 1;
    drawPlan(c, d, scale);
    drawElevation(c, d, scale);
}

} // namespace

DiagramData makeDiagramData(const Analysis& a, const BaseResult& result) {
    DiagramData d;
    d.d = a.input.d;
    d.D = a.input.D;
    d.n = a.input.n;
    d.x = a.check.x0;
    // The figure is Tarvel's own: no trailing point of the form's whole-number pattern.
    d.xText = QString::fromStdString(pageText(result.xt));
    d.sigmaText = QString::fromStdString(pageText(result.qmaxt));
    d.tText = QString::fromStdString(pageText(result.tt));
    d.sigmaMax = textToNumber(result.qmaxt);
    d.T = textToNumber(result.tt);
    const std::vector<float> forces = boltForces(a, static_cast<int>(std::lround(d.T)));
    for (int i = 1; i <= a.layout.count; ++i) {
        // The layout's angle, from bolt 1 at the tension edge round the circle.
        const double theta = ((i - 1) * 360.0 / d.n + 180) * pi / 180;
        DiagramBolt b;
        b.number = i;
        b.x = a.layout.a[i];
        b.y = d.D / 2 * std::sin(theta);
        b.force = i < static_cast<int>(forces.size()) ? forces[i] : 0;
        d.bolts.push_back(b);
    }
    return d;
}

DiagramData makeDiagramData(const Analysis& a, const ComputedCase& outcome) {
    DiagramData d = makeDiagramData(a, outcome.result);
    if (outcome.shownMethod == AnalysisMethod::Elastic) return d;
    // Another method's state: its own compression length and the force of every bolt.
    try {
        d.x = textToNumber(outcome.result.xt);
    } catch (const TarvelError&) {
        d.x = 0;
    }
    for (DiagramBolt& b : d.bolts) {
        const std::size_t i = static_cast<std::size_t>(b.number - 1);
        b.force = i < outcome.boltForces.size() ? outcome.boltForces[i] : 0;
    }
    return d;
}

DiagramData makeDiagramData(const Analysis& a, const ComputedCase& outcome,
                            const DesignInput& design) {
    DiagramData d = makeDiagramData(a, outcome);
    d.hole = design.plateHole;
    return d;
}

void drawResultDiagram(QPainter& painter, const QRectF& target, const DiagramData& data) {
    painter.save();
    const double scale = std::min(target.width() / boxWidth, target.height() / boxHeight);
    painter.translate(target.center());
    painter.scale(scale, scale);
    painter.translate(-boxWidth / 2, -boxHeight / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    PainterCanvas canvas(painter);
    drawDiagram(canvas, data);
    painter.restore();
}

QString resultDiagramSvg(const DiagramData& data, const QString& width, const QString& height) {
    SvgCanvas canvas;
    drawDiagram(canvas, data);
    QString size = QStringLiteral("width=\"%1\"").arg(width);
    if (!height.isEmpty()) size += QStringLiteral(" height=\"%1\"").arg(height);
    return QStringLiteral("<svg viewBox=\"0 0 %1 %2\" %3 "
                          "font-family=\"'WenQuanYi Zen Hei', sans-serif\" role=\"img\" "
                          "aria-label=\"计算简图\">\n%4</svg>\n")
        .arg(num(boxWidth), num(boxHeight), size, canvas.out);
}

} // namespace tarvel::report
