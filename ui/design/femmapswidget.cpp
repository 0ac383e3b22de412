#include "design/femmapswidget.h"

#include "femmap.h"

#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
// Room around the drawing, px.
constexpr int mapsMargin = 8;
} // namespace

FemMapsWidget::FemMapsWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(480, 200);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    bar_ = new QProgressBar;
    bar_->setObjectName("femProgress");
    bar_->setRange(0, 0);
    bar_->setTextVisible(true);
    bar_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(bar_);
}

void FemMapsWidget::showMaps(std::shared_ptr<const tarvel::fem::FemSolution> solution) {
    solution_ = std::move(solution);
    bar_->hide();
    update();
}

void FemMapsWidget::showRunning(const QString& text) {
    solution_.reset();
    reason_ = text;
    bar_->setFormat(text);
    bar_->show();
    update();
}

void FemMapsWidget::showNothing(const QString& reason) {
    solution_.reset();
    reason_ = reason;
    bar_->hide();
    update();
}

void FemMapsWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect().adjusted(mapsMargin, mapsMargin, -mapsMargin, -mapsMargin);
    if (solution_) {
        tarvel::report::drawFemMaps(painter, area, *solution_);
    } else {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, reason_);
    }
}
