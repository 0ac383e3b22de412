// Draws the window's figure, assets/figure.png: a 381 x 229 monochrome image, black lines on
// white. Left half: elevation of the column base with the loads, the bearing pressure and the
// dimensions; right half: plan of the base with 18 bolts. Coordinates are image pixels.
//
//   tarvel_figure assets/figure.png

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QtMath>

#include <cstdio>

namespace {

constexpr int width = 381;
constexpr int height = 229;

void line(QPainter& p, int x1, int y1, int x2, int y2) {
    p.drawLine(x1, y1, x2, y2);
}

// A solid arrowhead whose tip is at (x, y), pointing in the direction (dx, dy).
void arrowhead(QPainter& p, double x, double y, double dx, double dy, double length = 6,
               double half = 2.5) {
    const double norm = std::hypot(dx, dy);
    dx /= norm;
    dy /= norm;
    const QPointF tip(x, y);
    const QPointF base(x - dx * length, y - dy * length);
    const QPointF side(-dy * half, dx * half);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({tip, base + side, base - side}));
    p.setBrush(Qt::NoBrush);
}

void text(QPainter& p, int left, int top, int w, int h, const QString& s, int pixelSize) {
    QFont font("WenQuanYi Zen Hei");
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.drawText(QRect(left, top, w, h), Qt::AlignCenter, s);
}

// Dimension line with arrowheads at both ends.
void dimension(QPainter& p, int x1, int x2, int y) {
    line(p, x1, y, x2, y);
    arrowhead(p, x1, y, -1, 0, 5, 2);
    arrowhead(p, x2, y, 1, 0, 5, 2);
}

void dashDot(QPainter& p, int x1, int y1, int x2, int y2) {
    QPen pen(Qt::black, 1);
    pen.setDashPattern({8, 2, 1, 2});
    p.setPen(pen);
    line(p, x1, y1, x2, y2);
    p.setPen(QPen(Qt::black, 1));
}

void elevation(QPainter& p) {
    const QPen thin(Qt::black, 1);
    p.setPen(thin);
    // Tube column: heavy walls, a thin top with a break mark at its middle.
    p.fillRect(29, 28, 2, 116 - 28, Qt::black);
    p.fillRect(142, 28, 2, 116 - 28, Qt::black);
    line(p, 29, 28, 80, 28);
    line(p, 80, 28, 83, 24);
    line(p, 83, 24, 89, 32);
    line(p, 89, 32, 92, 28);
    line(p, 92, 28, 143, 28);
    // Base plate.
    p.fillRect(21, 116, 152 - 21 + 1, 2, Qt::black);
    // Stiffeners with their cap plates.
    line(p, 6, 79, 37, 79);
    line(p, 6, 81, 37, 81);
    line(p, 6, 79, 6, 90);
    line(p, 6, 90, 21, 115);
    line(p, 37, 81, 41, 115);
    line(p, 135, 79, 167, 79);
    line(p, 135, 81, 167, 81);
    line(p, 167, 79, 167, 90);
    line(p, 167, 90, 152, 115);
    line(p, 135, 81, 131, 115);
    // Anchor bolts with washer and nut on the cap plate, down to the lowest dimension line.
    for (int x : {16, 156}) {
        p.fillRect(x, 75, 2, 214 - 75 + 1, Qt::black);
        p.drawRect(x - 5, 77, 11, 1); // washer, 12 pixels wide
        p.drawRect(x - 3, 72, 7, 4);  // nut
    }
    // Axial force P and moment M.
    text(p, 82, 46, 10, 16, "P", 16);
    line(p, 86, 62, 86, 115);
    arrowhead(p, 86.5, 115.5, 0, 1);
    QPainterPath arc;
    arc.moveTo(68, 96);
    arc.cubicTo(72, 76, 100, 76, 104, 97);
    p.drawPath(arc);
    arrowhead(p, 104.5, 98.5, 0.25, 1);
    text(p, 104, 72, 13, 16, "M", 14);
    // Bearing pressure: a triangle from the apex at x = 76 to the plate's right end.
    const int apex = 76, right = 152, depth = 150;
    auto slope = [&](int x) { return 118 + (x - apex) * (depth - 118) / double(right - apex); };
    line(p, apex, 118, right, depth);
    line(p, right, 118, right, depth);
    for (int x : {97, 108, 123, 137, 152}) {
        line(p, x, static_cast<int>(slope(x)), x, 119);
        arrowhead(p, x + 0.5, 118.5, 0, -1, 5, 2);
    }
    // Dimensions x, d and D with their letters above the lines.
    line(p, apex, 118, apex, 165);
    dimension(p, apex, right, 161);
    text(p, 109, 148, 10, 12, "x", 13);
    line(p, 21, 118, 21, 185);
    line(p, right, 150, right, 185);
    dimension(p, 21, right, 181);
    text(p, 81, 168, 10, 12, "d", 13);
    p.fillRect(16, 212, 157 - 16 + 2, 2, Qt::black);
    arrowhead(p, 17, 212.5, -1, 0, 5, 2.5);
    arrowhead(p, 157, 212.5, 1, 0, 5, 2.5);
    text(p, 80, 198, 12, 13, "D", 13);
    // Bolt tension T on the left bolt.
    arrowhead(p, 17, 164, 0, 1, 7, 3.5);
    text(p, 0, 139, 10, 16, "T", 15);
}

void plan(QPainter& p) {
    const QPointF centre(286.5, 117.5);
    dashDot(p, 178, 117, width - 1, 117);
    dashDot(p, 286, 15, 286, 222);
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(centre, 47, 47);
    p.drawEllipse(centre, 68, 68);
    auto at = [&](double degrees, double radius) {
        const double a = qDegreesToRadians(degrees);
        return QPointF(centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a));
    };
    for (int k = 0; k < 18; ++k) {
        const double angle = 10 + 20 * k;
        // The pair of radial stiffener plates either side of the bolt.
        for (double side : {-6.5, 6.5})
            p.drawLine(at(angle + side, 47), at(angle + side, 68));
        // The cap plate and the bolt.
        QPolygonF cap(
            {at(angle - 4.5, 52), at(angle + 4.5, 52), at(angle + 4, 64), at(angle - 4, 64)});
        p.drawPolygon(cap);
        p.drawEllipse(at(angle, 58), 2, 2);
        // The tick outside the plate.
        p.drawLine(at(angle, 74), at(angle, 84));
    }
    // The angle between the two bolts either side of the horizontal centre line.
    p.drawLine(centre, at(170, 58));
    p.drawLine(centre, at(190, 58));
    // The label with its leader to the bolt at 70 degrees.
    text(p, 320, 21, 40, 17, QString::fromUtf8("锚栓xn"), 13);
    line(p, 322, 39, 360, 39);
    p.drawLine(QPointF(322, 39), at(70, 62));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvel_figure OUTPUT.png\n");
        return 2;
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        elevation(p);
        plan(p);
    }
    const QImage mono =
        image.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither);
    return mono.save(argv[1], "PNG") ? 0 : 1;
}
