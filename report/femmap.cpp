#include "femmap.h"

#include "reportfont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

namespace tarvel::report {

namespace {

// One map is drawn in a box of these logical units and scaled to its target.
constexpr double boxWidth = 600;
constexpr double boxHeight = boxWidth / femMapAspect;
// The plan: its centre and the radius the plate's edge is drawn at.
constexpr QPointF planCentre{255, 262};
constexpr double planRadius = 185;
// The colour scale: its left edge, top, bottom and width.
constexpr double scaleLeft = 500;
constexpr double scaleTop = 90;
constexpr double scaleBottom = 450;
constexpr double scaleWidth = 22;
constexpr int scaleTicks = 5;
// Beyond this many bolts their force labels would run into each other.
constexpr int maxLabelledBolts = 24;
constexpr double kN = 1000;

const QColor ink{0x20, 0x20, 0x20};
const QColor outsideBearing{0xe4, 0xe4, 0xe4}; // plate beyond the bearing edge: no pressure
const QColor noContact{0xff, 0xff, 0xff};      // bearing area the plate lifts off
const QColor tubeColour{0x30, 0x30, 0x30};
const QColor boltPulled{0xb0, 0x2a, 0x1e};

// A blue-to-red scale (blue, cyan, green, yellow, red) for a share in [0, 1].
QColor scaleColour(double share) {
    static constexpr std::array<std::array<int, 3>, 5> stops{{{0x31, 0x36, 0x95},
                                                              {0x45, 0x9d, 0xc8},
                                                              {0x66, 0xbd, 0x63},
                                                              {0xfe, 0xe0, 0x8b},
                                                              {0xd7, 0x30, 0x27}}};
    const double s = std::clamp(share, 0.0, 1.0) * (stops.size() - 1);
    const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(s), stops.size() - 2);
    const double f = s - static_cast<double>(i);
    auto mix = [&](int c) {
        return static_cast<int>(std::lround(stops[i][c] + f * (stops[i + 1][c] - stops[i][c])));
    };
    return QColor(mix(0), mix(1), mix(2));
}

QFont fontOf(double pixels, bool bold = false) {
    QFont font(reportFontFamily());
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    font.setBold(bold);
    return font;
}

void text(QPainter& p, QPointF at, const QString& t, double pixels, Qt::Alignment align,
          bool bold = false) {
    const QFont font = fontOf(pixels, bold);
    p.setFont(font);
    p.setPen(ink);
    const QFontMetricsF fm(font);
    const double w = fm.horizontalAdvance(t);
    double x = at.x();
    if (align & Qt::AlignHCenter) x -= w / 2;
    if (align & Qt::AlignRight) x -= w;
    p.drawText(QPointF{x, at.y() + (fm.ascent() - fm.descent()) / 2}, t);
}

const std::vector<double>& valuesOf(const fem::FemSolution& s, FemMapKind kind) {
    return kind == FemMapKind::Pressure ? s.pressure : s.vonMises;
}

double largest(const std::vector<double>& v) {
    double m = 0;
    for (double x : v)
        m = std::max(m, x);
    return m;
}

// The map's own drawing in the logical box.
void drawBox(QPainter& p, const fem::FemSolution& s, FemMapKind kind) {
    const std::vector<double>& values = valuesOf(s, kind);
    const double top = largest(values);
    const double scale = s.plateRadius > 0 ? planRadius / s.plateRadius : 1;
    // x towards the compressed edge to the right, y up.
    auto at = [&](double x, double y) {
        return QPointF{planCentre.x() + x * scale, planCentre.y() - y * scale};
    };

    text(p, {boxWidth / 2, 22}, femMapTitle(s, kind), 20, Qt::AlignHCenter, true);

    // The elements, each with its mirror below the axis. A pen of the fill's own colour hides
    // the seams antialiasing leaves between neighbours.
    for (std::size_t t = 0; t < s.mesh.triangles.size(); ++t) {
        QColor fill;
        if (kind == FemMapKind::Pressure && !s.bearing[t])
            fill = outsideBearing;
        else if (kind == FemMapKind::Pressure && values[t] <= 0)
            fill = noContact;
        else
            fill = scaleColour(top > 0 ? values[t] / top : 0);
        p.setPen(QPen(fill, 0.6));
        p.setBrush(fill);
        for (double sign : {1.0, -1.0}) {
            QPolygonF tri;
            for (int v : s.mesh.triangles[t]) {
                const auto& n = s.mesh.nodes[static_cast<std::size_t>(v)];
                tri << at(n.x, sign * n.y);
            }
            p.drawPolygon(tri);
        }
    }

    // The plan over it: plate edge, bearing edge, hole, tube, stiffeners, bolts.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.5));
    p.drawEllipse(planCentre, planRadius, planRadius);
    QPen dashed(ink, 1.0);
    dashed.setDashPattern({6, 4});
    p.setPen(dashed);
    const double rb = s.bearingRadius * scale;
    if (s.bearingRadius < s.plateRadius) p.drawEllipse(planCentre, rb, rb);
    p.setPen(QPen(ink, 1.5));
    if (s.holeRadius > 0) {
        const double rh = s.holeRadius * scale;
        p.setBrush(Qt::white);
        p.drawEllipse(planCentre, rh, rh);
        p.setBrush(Qt::NoBrush);
    }
    const double rt = s.tubeRadius * scale;
    p.setPen(QPen(tubeColour, 3.0));
    p.drawEllipse(planCentre, rt, rt);
    p.setPen(QPen(tubeColour, 2.0));
    for (double a : s.stiffenerAngles)
        p.drawLine(at(s.tubeRadius * std::cos(a), s.tubeRadius * std::sin(a)),
                   at(s.plateRadius * std::cos(a), s.plateRadius * std::sin(a)));
    const std::vector<double>& forces = s.state.boltForces;
    const bool labels = static_cast<int>(s.boltX.size()) <= maxLabelledBolts;
    for (std::size_t b = 0; b < s.boltX.size(); ++b) {
        const double force = b < forces.size() ? forces[b] : 0;
        const QPointF c = at(s.boltX[b], s.boltY[b]);
        p.setPen(QPen(ink, 1.2));
        p.setBrush(force > 0 ? boltPulled : Qt::white);
        p.drawEllipse(c, 5.5, 5.5);
        if (!labels || force <= 0) continue;
        // The force beyond the plate's edge, along the bolt's radius.
        const double r = std::hypot(s.boltX[b], s.boltY[b]);
        const double ux = r > 0 ? s.boltX[b] / r : 0, uy = r > 0 ? s.boltY[b] / r : 0;
        const QPointF label{planCentre.x() + ux * (planRadius + 24),
                            planCentre.y() - uy * (planRadius + 16)};
        text(p, label, QString::number(force, 'f', 2), 14,
             ux < -0.3  ? Qt::AlignRight
             : ux > 0.3 ? Qt::AlignLeft
                        : Qt::AlignHCenter);
    }
    if (kind == FemMapKind::VonMises && s.maxStress > 0) {
        // The largest stress, and its mirror.
        p.setPen(QPen(ink, 1.5));
        p.setBrush(Qt::NoBrush);
        for (double sign : {1.0, -1.0}) {
            const QPointF c = at(s.maxStressX, sign * s.maxStressY);
            p.drawLine(c + QPointF{-7, -7}, c + QPointF{7, 7});
            p.drawLine(c + QPointF{-7, 7}, c + QPointF{7, -7});
        }
    }

    // The scale: its bar and five values, N/mm².
    const int steps = 64;
    const double h = (scaleBottom - scaleTop) / steps;
    for (int i = 0; i < steps; ++i) {
        const QColor c = scaleColour((i + 0.5) / steps);
        p.setPen(QPen(c, 0.6));
        p.setBrush(c);
        p.drawRect(QRectF{scaleLeft, scaleBottom - (i + 1) * h, scaleWidth, h});
    }
    p.setPen(QPen(ink, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF{scaleLeft, scaleTop, scaleWidth, scaleBottom - scaleTop});
    for (int i = 0; i < scaleTicks; ++i) {
        const double share = static_cast<double>(i) / (scaleTicks - 1);
        const double y = scaleBottom - share * (scaleBottom - scaleTop);
        p.drawLine(QPointF{scaleLeft + scaleWidth, y}, QPointF{scaleLeft + scaleWidth + 5, y});
        text(p, {scaleLeft + scaleWidth + 8, y},
             QString::number(share * top, 'f', top < 10 ? 2 : 1), 13, Qt::AlignLeft);
    }
    text(p, {scaleLeft + scaleWidth / 2, scaleTop - 18}, QStringLiteral("N/mm²"), 14,
         Qt::AlignHCenter);
    if (kind == FemMapKind::Pressure) {
        p.setPen(QPen(ink, 1.0));
        p.setBrush(noContact);
        p.drawRect(QRectF{scaleLeft, scaleBottom + 14, scaleWidth, 12});
        text(p, {scaleLeft - 4, scaleBottom + 20}, QStringLiteral("脱开"), 13, Qt::AlignRight);
    }
    // Which way the moment turns the base.
    text(p, {planCentre.x(), boxHeight - 14}, QStringLiteral("受压边在右侧；锚栓旁为拉力 (kN)"), 13,
         Qt::AlignHCenter);
}

} // namespace

QString femMapTitle(const fem::FemSolution& s, FemMapKind kind) {
    const double top = largest(valuesOf(s, kind));
    return (kind == FemMapKind::Pressure ? QStringLiteral("接触压力，最大 %1 N/mm²")
                                         : QStringLiteral("底板折算应力，最大 %1 N/mm²"))
        .arg(QString::number(top, 'f', 2));
}

void drawFemMap(QPainter& painter, const QRectF& target, const fem::FemSolution& solution,
                FemMapKind kind) {
    const double k = std::min(target.width() / boxWidth, target.height() / boxHeight);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.center().x() - boxWidth * k / 2,
                      target.center().y() - boxHeight * k / 2);
    painter.scale(k, k);
    drawBox(painter, solution, kind);
    painter.restore();
}

void drawFemMaps(QPainter& painter, const QRectF& target, const fem::FemSolution& solution) {
    const double h = std::min(target.height(), target.width() / femMapsAspect);
    const double w = h * femMapAspect;
    const double left = target.center().x() - w;
    const double top = target.center().y() - h / 2;
    drawFemMap(painter, QRectF{left, top, w, h}, solution, FemMapKind::Pressure);
    drawFemMap(painter, QRectF{left + w, top, w, h}, solution, FemMapKind::VonMises);
}

} // namespace tarvel::report
