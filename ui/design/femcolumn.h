#pragma once

#include "checks/design.h"

#include <QString>

#include <array>

class QGridLayout;
class QLabel;

// The column 板有限元法 beside the rigid-plate one, with the detailing on: the plate as a
// plate, so that the engineer sees how far the rigid-plate assumption carries.
class FemColumn {
  public:
    // Adds the heading and one value per row (σmax, T, C, F, ΣN, ΣM) to `grid` in `column`.
    FemColumn(QGridLayout* grid, int column);

    // The model's state; a refusal or failure shows its reason in place of the values.
    void show(const tarvel::ComputedCase& outcome);
    // The model is being computed: the heading says so and the values are cleared.
    void showRunning(const QString& text);
    // No detailing: the column is not there.
    void hide();

  private:
    void setVisible(bool visible);
    QLabel* head_;
    std::array<QLabel*, 6> values_{};
};
