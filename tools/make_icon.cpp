// Draws Tarvel's icon as PNGs: the base of a circular steel-tube column seen from above, a
// round base plate, the tube standing on it and a ring of eight anchor bolts. The geometry is
// that of assets/icons/io.github.tarvel.Tarvel.svg, in its 256 x 256 units, scaled to each
// size. Run it to redraw the PNGs beside the SVG:
//
//   tarvel_icon assets/icons
//
// writes OUTDIR/io.github.tarvel.Tarvel-N.png for N = 16, 32, 48, 128 and 256.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>
#include <QtMath>

#include <cstdio>

namespace {

constexpr double units = 256; // the SVG's view box
constexpr QPointF centre(128, 128);

void draw(QPainter& p) {
    // Base plate.
    p.setPen(QPen(QColor(0x37, 0x47, 0x4f), 16));
    p.setBrush(QColor(0xcf, 0xd8, 0xdc));
    p.drawEllipse(centre, 116, 116);
    // Column tube: a ring of mean radius 34 and wall 20.
    p.setPen(QPen(QColor(0x02, 0x77, 0xbd), 20));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 34, 34);
    // Anchor bolts: eight on a circle of radius 80, the first at the top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x26, 0x32, 0x38));
    for (int k = 0; k < 8; ++k) {
        const double a = qDegreesToRadians(45.0 * k);
        p.drawEllipse(QPointF(centre.x() + 80 * std::sin(a), centre.y() - 80 * std::cos(a)), 19,
                      19);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvel_icon OUTDIR\n");
        return 2;
    }
    for (int size : {16, 32, 48, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(size / units, size / units);
            draw(p);
        }
        const QString path = QString("%1/io.github.tarvel.Tarvel-%2.png").arg(argv[1]).arg(size);
        if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "tarvel_icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
