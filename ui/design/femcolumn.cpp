#include "design/femcolumn.h"

#include "analysis/fem/basefem.h"
#include "design/statecolumn.h"

#include <QGridLayout>
#include <QLabel>

FemColumn::FemColumn(QGridLayout* grid, int column) {
    head_ = addStateHead(grid, column, "板有限元法", "femHead");
    values_ = addStateValues(grid, column, "fem");
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
    showState(values_, s);
    QString tip = QString("节点 %1 个，单元 %2 个，迭代 %3 次")
                      .arg(outcome.fem->nodes)
                      .arg(outcome.fem->elements)
                      .arg(outcome.fem->iterations);
    if (outcome.fem->coarseIterations > 0)
        tip += QString("（初值由粗网格迭代 %1 次求得）").arg(outcome.fem->coarseIterations);
    head_->setToolTip(tip);
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
