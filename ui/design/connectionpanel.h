#pragma once

#include "checks/design.h"

#include <QGroupBox>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;

// 柱墩、抗剪键与抗震: the pedestal (β_l computed from it), the shear key under the plate and the
// seismic capacity of the connection, each turned on by its own box. The key and the seismic
// check belong to a tube's base: they take effect with the detailing.
class ConnectionPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit ConnectionPanel(QWidget* parent = nullptr);

    // Writes the pedestal, the seismic check and (into the detailing, when there is one) the
    // shear key as typed.
    void apply(tarvel::DesignInput& design) const;
    void setFrom(const tarvel::DesignInput& design);
    // The bearing diameter of the last calculation, for the β_l shown.
    void setBearingDiameter(double d);

  signals:
    void changed(); // the user changed a field or a box

  private:
    void showBetaL();

    QCheckBox* pedestalOn_;
    QDoubleSpinBox* pedestal_;
    QLabel* betaL_;
    QCheckBox* keyOn_;
    QLineEdit* key_;
    QDoubleSpinBox* grout_;
    QDoubleSpinBox* keyWeld_;
    QCheckBox* seismicOn_;
    QDoubleSpinBox* etaJ_;
    double d_ = 0;
    bool filling_ = false; // setFrom is not a change by the user
};
