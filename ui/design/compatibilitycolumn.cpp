#include "design/compatibilitycolumn.h"

#include "analysis/compatibility.h"
#include "design/statecolumn.h"

#include <QGridLayout>
#include <QLabel>

CompatibilityColumn::CompatibilityColumn(QGridLayout* grid, int column) {
    addStateHead(grid, column, "应变协调法", "compatibilityHead");
    values_ = addStateValues(grid, column, "compatibility");
}

void CompatibilityColumn::show(const tarvel::InputTexts& inputs,
                               const tarvel::DesignInput& design) {
    clear();
    try {
        const tarvel::DesignData data = tarvel::resolveDesign(design);
        tarvel::TextSink sink;
        const tarvel::CompatibilityState s =
            tarvel::calculateCompatibility(inputs, data.ae, data.nE, sink, '.', design.plateHole);
        if (s.regime == tarvel::CompatibilityState::Regime::NoEquilibrium) {
            values_[0]->setText("无平衡解");
            values_[0]->setToolTip(QString::fromStdString(s.message));
            return;
        }
        showState(values_, s);
    } catch (const tarvel::TarvelError& e) {
        values_[0]->setText("—");
        values_[0]->setToolTip(QString::fromUtf8(e.what()));
    }
}

void CompatibilityColumn::clear() {
    for (QLabel* label : values_) {
        label->clear();
        label->setToolTip({});
    }
}
