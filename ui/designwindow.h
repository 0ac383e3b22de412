#pragma once

#include "ui_designwindow.h"

#include "design.h"

#include <QMainWindow>

#include <optional>

// The design checks of the last Calculate: its inputs, the design inputs, the check table
// with the verdict, the exact equilibrium beside the search, and the geometry remarks.
// The checks are instant, so they are made again on every change of a design input; the
// search is never run here.
class DesignWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit DesignWindow(QWidget* parent = nullptr);

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

  public slots:
    void showCalculation(const tarvel::InputTexts& inputs, const tarvel::BaseResult& result);
    void showRefusal(const tarvel::InputTexts& inputs);
    void showFailure(const tarvel::InputTexts& inputs, const QString& message);

  private:
    struct LastCase {
        tarvel::InputTexts inputs;
        tarvel::BaseResult result;
        tarvel::Analysis analysis;
    };

    void fillChoices();
    tarvel::DesignInput designInput() const;
    void setDesignInput(const tarvel::DesignInput& input);
    void designChanged();
    void refresh();
    void showChecks(const tarvel::DesignChecks& checks, const tarvel::BaseResult& result);
    void showNoChecks(const QString& message);
    void fitTable();
    void showInputs(const tarvel::InputTexts& inputs);
    void about();

    Ui::DesignWindow ui_;
    std::optional<LastCase> last_; // the last Calculate that gave results
};
