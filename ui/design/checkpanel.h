#pragma once

#include "ui_checkpanel.h"

#include "checks/design.h"

#include <QWidget>

#include <memory>
#include <vector>

class CompatibilityColumn;
class QLabel;

// What the checks of one calculation show: the status line and the verdict, the check table,
// what the equilibrium check is taken against, the exact equilibrium beside the search and the
// rigid-plate column, and the geometry remarks. It computes nothing but that column.
class CheckPanel : public QWidget {
    Q_OBJECT
  public:
    explicit CheckPanel(QWidget* parent = nullptr);
    ~CheckPanel() override;

    // Columns of the check table.
    enum Column {
        ItemColumn,
        DemandColumn,
        CapacityColumn,
        RatioColumn,
        VerdictColumn,
        RemarkColumn,
        columnCount
    };

    // A method and the texts of its result.
    struct MethodResult {
        tarvel::AnalysisMethod method;
        tarvel::BaseResult result;
    };
    // `result` holds the search's texts, shown beside the exact equilibrium; `methods` the
    // results the checks read (both methods' with the envelope, the elastic one first), whose
    // equilibrium misses are shown under the table.
    void showChecks(const tarvel::DesignChecks& checks, const tarvel::InputTexts& inputs,
                    const tarvel::BaseResult& result, const std::vector<MethodResult>& methods);
    // No verdict: the message says why, and every value is cleared.
    void showNothing(const QString& message);
    // The line above the table: which calculation and method the checks are of.
    void setStatus(const QString& text);
    // The rigid-plate state of the inputs, whatever the method of the checks.
    void showCompatibility(const tarvel::InputTexts& inputs, const tarvel::DesignInput& design);

  private:
    void fitTable();

    Ui::CheckPanel ui_;
    QLabel* equilibriumBasis_;
    std::unique_ptr<CompatibilityColumn> compatibility_;
};
