#include "design/compatibilitycolumn.h"

#include "analysis/compatibility.h"

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

CompatibilityColumn::CompatibilityColumn(QGridLayout* grid, int column) {
    auto* head = new QLabel("应变协调法");
    head->setObjectName("compatibilityHead");
    head->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    head->setStyleSheet("font-weight: bold");
    grid->addWidget(head, 0, column);
    static const char* const names[] = {"compatibilityQmax",  "compatibilityT",
                                        "compatibilityC",     "compatibilityF",
                                        "compatibilityForce", "compatibilityMoment"};
    for (std::size_t row = 0; row < values_.size(); ++row) {
        values_[row] = new QLabel;
        values_[row]->setObjectName(names[row]);
        values_[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values_[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(values_[row], static_cast<int>(row) + 1, column);
    }
}

void CompatibilityColumn::show(const tarvel::InputTexts& inputs, const tarvel::DesignInput& design) {
    clear();
    try {
        const tarvel::DesignData data = tarvel::resolveDesign(design);
        tarvel::TextSink sink;
        const tarvel::CompatibilityState s =
            tarvel::calculateCompatibility(inputs, data.ae, data.nE, sink);
        if (s.regime == tarvel::CompatibilityState::Regime::NoEquilibrium) {
            values_[0]->setText("无平衡解");
            values_[0]->setToolTip(QString::fromStdString(s.message));
            return;
        }
        const double values[] = {s.sigmaMax,
                                 s.T,
                                 s.C / newtonsPerKilonewton,
                                 s.F / newtonsPerKilonewton,
                                 (s.C - s.F) / newtonsPerKilonewton,
                                 (s.Mc + s.Mb) / newtonMillimetresPerKilonewtonMetre};
        for (std::size_t i = 0; i < values_.size(); ++i)
            values_[i]->setText(two(values[i]));
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
