#pragma once

#include "resultdiagram.h"

#include <QWidget>

#include <optional>

// The result diagram of the last calculation (plan and elevation), drawn as the report
// draws it.
class DiagramWidget : public QWidget {
    Q_OBJECT
  public:
    explicit DiagramWidget(QWidget* parent = nullptr);

    void showDiagram(const tarvel::report::DiagramData& data);
    // Nothing to draw: the reason is shown instead (尚未计算, a refusal, a failure).
    void showNothing(const QString& reason);
    bool hasDiagram() const { return data_.has_value(); }
    const std::optional<tarvel::report::DiagramData>& diagram() const { return data_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<tarvel::report::DiagramData> data_;
    QString reason_;
};
