#include "design/diagramwidget.h"

#include <QPainter>

namespace {
// Room around the drawing, px.
constexpr int diagramMargin = 8;
} // namespace

DiagramWidget::DiagramWidget(QWidget* parent) : QWidget(parent), reason_("尚未计算") {
    setMinimumSize(400, 360);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void DiagramWidget::showDiagram(const tarvel::report::DiagramData& data) {
    data_ = data;
    update();
}

void DiagramWidget::showNothing(const QString& reason) {
    data_.reset();
    reason_ = reason;
    update();
}

void DiagramWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area =
        rect().adjusted(diagramMargin, diagramMargin, -diagramMargin, -diagramMargin);
    if (data_) {
        tarvel::report::drawResultDiagram(painter, area, *data_);
    } else {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, reason_);
    }
}
