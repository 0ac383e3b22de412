#pragma once

#include "checks/detailing.h"

#include <QGroupBox>

#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

// 构造参数: the tube and the steel parts of the base. Its check box turns the checks of the
// steel parts on; while it is off nothing about them is claimed.
class DetailingPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit DetailingPanel(QWidget* parent = nullptr);

    // The detailing typed, or nothing while the panel is off.
    std::optional<tarvel::DetailingInput> detailing() const;
    void setDetailing(const std::optional<tarvel::DetailingInput>& detailing);
    // The plate's central hole, mm (0: none); 0 while the panel is off, since it needs the tube.
    double plateHole() const;
    void setPlateHole(double hole);
    // Whether a failure belongs to one of the panel's fields.
    static bool owns(tarvel::InputField field);
    // The failure of a field, naming the number at fault where the field holds two ("-28x180"
    // for 锚栓顶板: its thickness tc), and an empty field as missing.
    QString describe(const tarvel::TarvelError& error) const;

  signals:
    void changed(); // the user changed a field or turned the panel on or off

  private:
    void fill(const tarvel::DetailingInput& detailing);

    QLineEdit* tube_;
    QComboBox* tubeSteel_;
    QDoubleSpinBox* plate_;
    QComboBox* plateSteel_;
    QLineEdit* stiffener_;
    QLineEdit* cap_;
    QDoubleSpinBox* weld_;
    QDoubleSpinBox* stiffenerWeld_;
    QComboBox* electrode_;
    QDoubleSpinBox* anchorage_;
    QDoubleSpinBox* hole_;
    QCheckBox* infill_;
    QCheckBox* fullWeld_;  // the column weld a full-penetration butt weld
    bool filling_ = false; // setDetailing is not a change by the user
};
