#pragma once

#include "checks/design.h"

#include <QObject>

class QDoubleSpinBox;
class QFormLayout;

// The plate finite-element method's two inputs under 分析方法: the depth h_e of the concrete
// and the bolts, and the mesh size h, each 默认 at 0. They count only for 板有限元法, so they
// are enabled only while it is the method.
class FemBoxes : public QObject {
    Q_OBJECT
  public:
    // Adds the two rows to `form`.
    FemBoxes(QFormLayout* form, QObject* parent = nullptr);

    void apply(tarvel::DesignInput& design) const;
    void setFrom(const tarvel::DesignInput& design); // without `changed`
    void setMethod(tarvel::AnalysisMethod method);

  signals:
    void changed(); // the user changed a value

  private:
    void settle(QDoubleSpinBox* box, double least);

    QFormLayout* form_;
    QDoubleSpinBox* depth_;
    QDoubleSpinBox* mesh_;
};
