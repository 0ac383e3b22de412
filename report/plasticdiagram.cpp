#include "plasticdiagram.h"

#include "checks/plasticbase.h"
#include "core/number.h"
#include "reportfont.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <map>

namespace tarvel::report {

namespace {

// The figure in pixels: wide and low, as an elevation is.
constexpr int figureWidth = 1600;
constexpr int figureHeight = 600;
constexpr double margin = 120;
constexpr double plateY = 260;
constexpr double blockHeight = 110; // the height f_ck is drawn at
constexpr double boltArrow = 120;   // the arrow of a bolt at its ultimate force
constexpr double kN = 1000;

const QColor ink{0x20, 0x20, 0x20};
const QColor blockFill{0xf6, 0xd7, 0xb0};
const QColor tension{0xb0, 0x2a, 0x1e};

QString fixed(double v, int decimals) {
    return QString::number(v, 'f', decimals);
}

void arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const double len = std::hypot(to.x() - from.x(), to.y() - from.y());
    if (len <= 0) return;
    const QPointF u{(to.x() - from.x()) / len, (to.y() - from.y()) / len};
    const QPointF n{-u.y(), u.x()};
    const double h = std::min(18.0, len * 0.6), w = h * 0.4;
    p.setBrush(p.pen().color());
    p.drawPolygon(QPolygonF{{to, to - u * h + n * w, to - u * h - n * w}});
}

QImage drawFigure(const PlasticBase& base, const PlasticState& s, const std::vector<double>& forces,
                  double D) {
    QImage image(figureWidth, figureHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double reach = std::max(base.d, D) / 2;
    const double scale = (figureWidth - 2 * margin) / (2 * reach);
    auto X = [&](double x) { return figureWidth / 2.0 + x * scale; };
    const double R = base.d / 2;

    // The stress block: f_ck under the compressed part of the plate.
    const double from = std::clamp(s.axis, -R, R);
    p.setPen(QPen(ink, 2));
    p.setBrush(blockFill);
    p.drawRect(QRectF(QPointF(X(from), plateY + 12), QPointF(X(R), plateY + 12 + blockHeight)));
    for (double x = from + 40 / scale; x < R; x += 60 / scale)
        arrow(p, {X(x), plateY + 12 + blockHeight}, {X(x), plateY + 14});
    p.setBrush(Qt::NoBrush);
    // The plate.
    p.setPen(QPen(ink, 3));
    p.drawRect(QRectF(QPointF(X(-R), plateY), QPointF(X(R), plateY + 12)));
    // The neutral axis.
    QPen dashed(ink, 2, Qt::DashLine);
    p.setPen(dashed);
    p.drawLine(QPointF(X(s.axis), 40), QPointF(X(s.axis), figureHeight - 40));

    QFont font = reportFont(10);
    font.setPixelSize(26);
    p.setFont(font);
    p.setPen(ink);
    // The block may be narrow: its label is centred under it and may run past it.
    const double blockMiddle = (X(from) + X(R)) / 2;
    p.drawText(QRectF(blockMiddle - 300, plateY + 20 + blockHeight, 600, 40), Qt::AlignCenter,
               QStringLiteral("fck = %1 N/mm²，C = %2 kN")
                   .arg(QString::fromStdString(numberToText(base.fck)), fixed(s.C / kN, 1)));
    p.drawText(QRectF(X(s.axis) + 10, figureHeight - 130, 600, 36),
               Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("中和轴，距受压边 %1 mm").arg(fixed(s.depth, 1)));

    // The bolts by place: an arrow down for each place that pulls.
    std::map<long long, std::pair<double, int>> places; // x (0.1 mm) → force, count
    for (std::size_t i = 0; i < base.boltX.size(); ++i) {
        auto& place = places[std::llround(base.boltX[i] * 10)];
        place.first += forces[i];
        ++place.second;
    }
    p.setPen(QPen(tension, 3));
    int label = 0;
    for (const auto& [key, place] : places) {
        const double x = key / 10.0;
        const auto [force, count] = place;
        p.setPen(QPen(tension, 3));
        if (force <= 0) {
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(X(x), plateY - 14), 7, 7);
            continue;
        }
        const double length = boltArrow * force / (count * base.boltForce);
        arrow(p, {X(x), plateY - 20}, {X(x), plateY - 20 - std::max(length, 20.0)});
        p.setPen(tension);
        p.drawText(QRectF(X(x) - 80, plateY - 20 - boltArrow - 44 - (label % 2) * 30, 160, 30),
                   Qt::AlignCenter,
                   count > 1 ? QStringLiteral("%1×%2").arg(count).arg(fixed(force / count / kN, 0))
                             : fixed(force / kN, 0));
        ++label;
    }
    p.setPen(ink);
    p.drawText(QRectF(0, figureHeight - 50, figureWidth, 40), Qt::AlignCenter,
               QStringLiteral("锚栓拉力 kN（受压边在右侧；空心圆为不受力的锚栓）"));
    return image;
}

} // namespace

PlasticWorking plasticWorking(const ComputedCase& outcome) {
    PlasticWorking w;
    if (!outcome.hasChecks || !outcome.checks.detailing) return w;
    const Check& check = outcome.checks[CheckId::Seismic];
    if (!check.checked) return w;
    w.made = true;
    const DesignChecks& k = outcome.checks;
    const double P = textToNumber(outcome.inputs[0]);
    const double d = textToNumber(outcome.inputs[2]);
    const double D = textToNumber(outcome.inputs[3]);
    const int n = static_cast<int>(textToNumber(outcome.inputs[4]));
    const PlasticBase base = plasticBaseOf(k.data, d, D, n);
    const PlasticState s = plasticCapacity(base, P * kN);
    if (!s.balanced) {
        w.text = QStringLiteral("<p>没有平衡 P = %1 kN 的塑性状态：Mu,base = 0。</p>\n")
                     .arg(QString::fromStdString(outcome.inputs[0]).toHtmlEscaped());
        return w;
    }
    const std::vector<double> forces = plasticBoltForces(base, s);
    w.text = QStringLiteral(
                 "<p>按刚塑性分析：受压区混凝土取 f<sub>ck</sub> = %1 N/mm² 均匀分布，中和轴"
                 "受拉一侧的锚栓取 f<sub>u</sub><sup>a</sup>·A<sub>e</sub> = %2 kN；中和轴处"
                 "C − ΣT = P。中和轴距受压边 %3 mm，受压区面积 %4 mm²，C = %5 kN，受拉锚栓 %6 个，"
                 "ΣT = %7 kN；C 与各锚栓拉力对底板中心取矩，M<sub>u,base</sub> = %8 kN·m。</p>\n")
                 .arg(QString::fromStdString(numberToText(base.fck)), fixed(base.boltForce / kN, 2),
                      fixed(s.depth, 1), fixed(s.C / base.fck, 0), fixed(s.C / kN, 1))
                 .arg(s.boltsInTension)
                 .arg(fixed(s.T / kN, 1), fixed(s.Mu / 1e6, 2));
    w.figure = drawFigure(base, s, forces, D);
    return w;
}

} // namespace tarvel::report
