#pragma once

#include "checks/design.h"

#include <QString>

#include <array>

class QGridLayout;
class QLabel;

// The column 应变协调法 beside the exact equilibrium and the search: the rigid-plate state of
// the same inputs, whatever method the checks use, so that an engineer sees at once where the
// two analyses disagree.
class CompatibilityColumn {
  public:
    // Adds the heading and one value per row (σmax, T, C, F, ΣN, ΣM) to `grid` in `column`.
    CompatibilityColumn(QGridLayout* grid, int column);

    // The state of `inputs` with the bolt and concrete of `design`; a refusal shows its
    // reason in place of the values.
    void show(const tarvel::InputTexts& inputs, const tarvel::DesignInput& design);
    void clear();

  private:
    std::array<QLabel*, 6> values_{};
};
