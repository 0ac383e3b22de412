#pragma once

#include "analysis/fem/basefem.h"

#include <QWidget>

#include <memory>

class QProgressBar;

// The tab 计算简图's two maps of the plate finite-element method (contact pressure, plate
// von Mises stress), drawn as the report draws them; while the model is computed, a busy bar
// with the iteration.
class FemMapsWidget : public QWidget {
    Q_OBJECT
  public:
    explicit FemMapsWidget(QWidget* parent = nullptr);

    void showMaps(std::shared_ptr<const tarvel::fem::FemSolution> solution);
    void showRunning(const QString& text);
    // No maps: the reason is shown instead (a refusal, a failure).
    void showNothing(const QString& reason);
    bool hasMaps() const { return solution_ != nullptr; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::shared_ptr<const tarvel::fem::FemSolution> solution_;
    QString reason_;
    QProgressBar* bar_;
};
