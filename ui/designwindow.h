#pragma once

#include "ui_designwindow.h"

#include "design.h"
#include "project.h"
#include "reportactions.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMainWindow>

#include <memory>
#include <optional>

#include "compatibilitycolumn.h"
class DetailingPanel;
class DiagramWidget;
class LoadTablePane;
class ProjectDocument;
class ReportActions;

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

    LoadTablePane* loadTable() const { return loads_; }
    ReportActions* reports() const { return reports_; }
    // The inputs of the last Calculate that gave results, and the design inputs shown.
    std::optional<tarvel::InputTexts> lastInputs() const;
    tarvel::DesignInput currentDesign() const { return designInput(); }
    // The design inputs the last calculation is checked with: a load row sent to the form
    // brings its own V. Throws TarvelError for a row V that is no number.
    tarvel::DesignInput lastDesign() const;
    // Whether the 荷载组合 tab is in front.
    bool showsLoadTable() const;
    ProjectDocument* document() const { return document_; }
    // Whether a project is open: it has a file, a load combination or a header.
    bool hasProject() const;
    // The report's link to the open project (title block, folder).
    ReportActions::ProjectLink reportLink();
    // The project as the window shows it: header, base, design inputs and load combinations.
    tarvel::Project project() const;
    void showProject(const tarvel::Project& project);

    // Opens a project file; a bad file leaves the shown project as it was and says why in
    // a message box. Does not ask about unsaved changes (maybeSave() does).
    bool openProject(const QString& path);
    // Saves to the path; a failure says why in a message box.
    bool saveProjectAs(const QString& path);
    // Asks 保存/不保存/取消 when there are unsaved changes; false to stay.
    bool maybeSave();

  signals:
    // A load combination double-clicked, to be calculated in the form.
    void caseChosen(const tarvel::InputTexts& inputs);

  public slots:
    void newProject();
    void openProjectDialog();
    bool saveProject();
    bool saveProjectAsDialog();
    void showCalculation(const tarvel::InputTexts& inputs, const tarvel::BaseResult& result);
    void showRefusal(const tarvel::InputTexts& inputs);
    void showFailure(const tarvel::InputTexts& inputs, const QString& message);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // A load row sent to the form, until the form's next calculation.
    struct SentRow {
        tarvel::InputTexts inputs;
        QString V; // as typed; empty: the design V
        QString label;
    };
    struct LastCase {
        tarvel::InputTexts inputs;
        tarvel::BaseResult result;
        tarvel::Analysis analysis;
        std::optional<SentRow> row; // when the calculation is that of a load row
    };

    void sendRow(const tarvel::InputTexts& inputs, const QString& V, const QString& label);

    void fillChoices();
    tarvel::DesignInput designInput() const;
    void setDesignInput(const tarvel::DesignInput& input);
    void designChanged();
    // The base and design of a sizing result shown (the load combinations stay).
    void adoptDesign(const tarvel::Project& project);
    void refresh();
    void showChecks(const tarvel::DesignChecks& checks, const tarvel::InputTexts& inputs,
                    const tarvel::BaseResult& result);
    void showNoChecks(const QString& message);
    void fitTable();
    void fitSmallScreens();
    void showInputs(const tarvel::InputTexts& inputs);
    void about();
    void setupFileMenu();
    void fillRecentMenu();
    void updateTitle();
    void warn(const QString& message);

    LoadTablePane* loads_;
    ProjectDocument* document_;
    DiagramWidget* diagram_;
    DetailingPanel* detailing_;
    ReportActions* reports_;
    QMenu* recentMenu_ = nullptr;
    QLabel* equilibriumBasis_;
    QComboBox* methodCombo_;
    QDoubleSpinBox* modularSpin_;
    std::unique_ptr<CompatibilityColumn> compatibility_;
    std::optional<tarvel::SizingRanges> sizingRanges_; // of the project shown, kept as read

    Ui::DesignWindow ui_;
    std::optional<LastCase> last_; // the last Calculate that gave results
    std::optional<SentRow> sent_;
};
