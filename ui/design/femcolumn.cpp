#include "design/femcolumn.h"

#include "analysis/fem/basefem.h"

#include <QGridLayout>
#include <QLabel>

namespace {

// From the engine's N and N·mm to the kN and kN·m of the other columns.
constexpr double newtonsPerKilonewton = 1000;
constexpr double newtonMillimetresPerKilonewtonMetre = 1e6;

QString two(double v) {
    return QString::fromStdString(tarvel::twoDecimals(v));
}

} // namespace

FemColumn::FemColumn(QGridLayout* grid, int column) {
    head_ = new QLabel("板有限元法");
    head_->setObjectName("femHead");
    head_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    head_->setStyleSheet("font-weight: bold");
    grid->addWidget(head_, 0, column);
    static const char* const names[] = {"femQmax", "femT", "femC", "femF", "femForce", "femMoment"};
    for (std::size_t row = 0; row < values_.size(); ++row) {
        values_[row] = new QLabel;
        values_[row]->setObjectName(names[row]);
        values_[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values_[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(values_[row], static_cast<int>(row) + 1, column);
    }
    setVisible(false);
}

void FemColumn::show(const tarvel::ComputedCase& outcome) {
    setVisible(true);
    head_->setToolTip({});
    for (QLabel* label : values_) {
        label->clear();
        label->setToolTip({});
    }
    if (outcome.status != tarvel::CaseStatus::Ok || !outcome.fem) {
        values_[0]->setText(outcome.status == tarvel::CaseStatus::Refused ? "无平衡解" : "—");
        values_[0]->setToolTip(QString::fromStdString(outcome.message));
        return;
    }
    const tarvel::CompatibilityState& s = outcome.fem->state;
    const double values[] = {s.sigmaMax,
                             s.T,
                             s.C / newtonsPerKilonewton,
                             s.F / newtonsPerKilonewton,
                             (s.C - s.F) / newtonsPerKilonewton,
                             (s.Mc + s.Mb) / newtonMillimetresPerKilonewtonMetre};
    for (std::size_t i = 0; i < values_.size(); ++i)
        values_[i]->setText(two(values[i]));
    head_->setToolTip(QString("节点 %1 个，单元 %2 个，迭代 %3 次")
                          .arg(outcome.fem->nodes)
                          .arg(outcome.fem->elements)
                          .arg(outcome.fem->iterations));
}

void FemColumn::showRunning(const QString& text) {
    setVisible(true);
    for (QLabel* label : values_)
        label->clear();
    values_[0]->setText("计算中…");
    values_[0]->setToolTip(text);
}

void FemColumn::hide() {
    setVisible(false);
}

void FemColumn::setVisible(bool visible) {
    head_->setVisible(visible);
    for (QLabel* label : values_)
        label->setVisible(visible);
}
