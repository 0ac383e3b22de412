#include "design/statecolumn.h"

#include "checks/design.h"

#include <QGridLayout>
#include <QLabel>

namespace {

constexpr double newtonsPerKilonewton = 1000;
constexpr double newtonMillimetresPerKilonewtonMetre = 1e6;

} // namespace

QLabel* addStateHead(QGridLayout* grid, int column, const QString& title, const char* objectName) {
    auto* head = new QLabel(title);
    head->setObjectName(objectName);
    head->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    head->setStyleSheet("font-weight: bold");
    grid->addWidget(head, 0, column);
    return head;
}

StateLabels addStateValues(QGridLayout* grid, int column, const char* prefix) {
    static const char* const names[] = {"Qmax", "T", "C", "F", "Force", "Moment"};
    StateLabels labels{};
    for (std::size_t row = 0; row < labels.size(); ++row) {
        labels[row] = new QLabel;
        labels[row]->setObjectName(QString(prefix) + names[row]);
        labels[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        labels[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(labels[row], static_cast<int>(row) + 1, column);
    }
    return labels;
}

void showState(const StateLabels& labels, const tarvel::CompatibilityState& s) {
    const double values[] = {s.sigmaMax,
                             s.T,
                             s.C / newtonsPerKilonewton,
                             s.F / newtonsPerKilonewton,
                             (s.C - s.F) / newtonsPerKilonewton,
                             (s.Mc + s.Mb) / newtonMillimetresPerKilonewtonMetre};
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i]->setText(QString::fromStdString(tarvel::twoDecimals(values[i])));
}
