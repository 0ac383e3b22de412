#pragma once

// What the report says of the plate finite-element method: its model and assumptions, the
// mesh, the iterations and the largest plate stress, and its two maps, as vectors in a PDF and
// as a picture in a browser's HTML.

#include "analysis/fem/basefem.h"
#include "checks/design.h"

#include <QImage>
#include <QObject>
#include <QSizeF>
#include <QString>
#include <QTextObjectInterface>

#include <memory>

namespace tarvel::report {

// The printed width of the maps, mm.
inline constexpr double femMapsWidthMm = 170;

// The paragraph on the model of a case computed by it (HTML); empty for a case without one.
QString femModelHtml(const ComputedCase& outcome);

// The maps as a picture `widthPx` wide, for a browser.
QImage femMapsImage(const fem::FemSolution& solution, int widthPx);

// The maps as an object of a text document, painted where the layout puts it, so that they
// stay vectors (sharp when printed) in a PDF.
class FemMapsObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    FemMapsObject(std::shared_ptr<const fem::FemSolution> solution, QObject* parent);
    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat&) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat&) override;

  private:
    std::shared_ptr<const fem::FemSolution> solution_;
};

} // namespace tarvel::report
