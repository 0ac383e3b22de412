#include "femreport.h"

#include "femmap.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextDocument>

namespace tarvel::report {

namespace {

// Qt's layout counts an object's size at 96 dpi when it has no device.
constexpr double screenDpi = 96;
constexpr double mmPerInch = 25.4;
constexpr double squareMillimetresPerSquareMetre = 1e6;

QString fixed(double v, int decimals) {
    return QString::number(v, 'f', decimals);
}

} // namespace

QString femModelHtml(const ComputedCase& o) {
    const fem::FemSolution* s = o.fem.get();
    if (!s) return {};
    return QStringLiteral(
               "<p>板有限元法的模型：底板按弹性薄板（DKT 三角形板单元，E<sub>s</sub> = 2.06×10⁵ "
               "N/mm²，ν = 0.3），直径 D<sub>out</sub> = max(d, D + 3d<sub>b</sub>)%12，厚 "
               "t<sub>p</sub>；钢管与加劲肋为一个刚体（竖向位移与两个转角），钢管壁中面圆上的"
               "底板与之固接，加劲肋底边上的底板竖向位移随之；混凝土为受压面内仅受压的 Winkler "
               "地基，k = E<sub>c</sub>/h<sub>e</sub>；锚栓为连接地面与刚体的仅受拉弹簧，"
               "k<sub>b</sub> = E<sub>s</sub>·A<sub>e</sub>/h<sub>e</sub>；接触区与受拉锚栓以"
               "有效集迭代求得，至两者不再变化。底板为刚性时本模型即应变协调法。底板验算取单元"
               "中心弯矩的表面折算应力 σ = 6/t<sub>p</sub>²·√(M<sub>x</sub>² − "
               "M<sub>x</sub>·M<sub>y</sub> + M<sub>y</sub>² + 3M<sub>xy</sub>²)。</p>\n"
               "<p>本例：h<sub>e</sub> = %1 mm，k = %2 N/mm³；网格尺寸 h = %3 mm（钢管壁、受压面"
               "边缘与加劲肋处加密），节点 %4 个，三角形单元 %5 个；迭代 %6 次收敛%13；接触面积 %7 "
               "m²；底板最大折算应力 %8 N/mm²，位于%9（x = %10 mm，y = ±%11 mm）。</p>\n")
        .arg(fixed(s->depth, 0), QString::number(s->foundationModulus, 'g', 4),
             QString::number(s->meshSize, 'g', 4), QString::number(s->nodes),
             QString::number(s->elements), QString::number(s->iterations),
             fixed(s->contactArea / squareMillimetresPerSquareMetre, 3), fixed(s->maxStress, 2),
             QString::fromStdString(s->maxStressPlace))
        .arg(fixed(s->maxStressX, 0), fixed(s->maxStressY, 0),
             s->holeRadius > 0
                 ? QString("，开中心孔 d<sub>h</sub> = %1 mm（孔边自由，承压面为环形）")
                       .arg(fixed(2 * s->holeRadius, 0))
                 : QString(),
             s->coarseIterations > 0
                 ? QString("（初始接触状态先在网格尺寸 %1 mm 的粗网格上迭代 %2 次求得）")
                       .arg(QString::number(2 * s->meshSize, 'g', 4))
                       .arg(s->coarseIterations)
                 : QString());
}

QImage femMapsImage(const fem::FemSolution& solution, int widthPx) {
    const int height = static_cast<int>(widthPx / femMapsAspect);
    QImage image(widthPx, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawFemMaps(painter, QRectF(0, 0, widthPx, height), solution);
    return image;
}

FemMapsObject::FemMapsObject(std::shared_ptr<const fem::FemSolution> solution, QObject* parent)
    : QObject(parent), solution_(std::move(solution)) {}

QSizeF FemMapsObject::intrinsicSize(QTextDocument* doc, int, const QTextFormat&) {
    const QPaintDevice* device = doc->documentLayout()->paintDevice();
    const double dpi = device ? device->logicalDpiX() : screenDpi;
    const double w = femMapsWidthMm / mmPerInch * dpi;
    return {w, w / femMapsAspect};
}

void FemMapsObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                               const QTextFormat&) {
    drawFemMaps(*painter, rect, *solution_);
}

} // namespace tarvel::report
