#pragma once

#include "loads/loadtable.h"
#include "ui_designwindow.h"

#include "checks/design.h"
#include "project/project.h"
#include "report/reportactions.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMainWindow>

#include <optional>

class CheckPanel;
class ConnectionPanel;
class DetailingPanel;
class DiagramWidget;
class FemBoxes;
class FemJob;
class FemMapsWidget;
class LoadTablePane;
class ProjectController;
class ProjectDocument;
class SizingPane;

// The design checks of the last Calculate: its inputs and the design inputs, and what is
// made of them on the tabs (the checks, the diagram, the load combinations, sizing). The
// checks are instant, so they are made again on every change of a design input; the search
// is never run here. The project's file is the project controller's.
class DesignWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit DesignWindow(QWidget* parent = nullptr);
    ~DesignWindow() override;

    LoadTablePane* loadTable() const { return loads_; }
    ReportActions* reports() const { return reports_; }
    ProjectController* projects() const { return projects_; }
    ProjectDocument* document() const;
    // The inputs of the last Calculate that gave results, and the design inputs shown.
    std::optional<tarvel::InputTexts> lastInputs() const;
    tarvel::DesignInput currentDesign() const { return designInput(); }
    // The design inputs the last calculation is checked with: a load row sent to the form
    // brings its own V. Throws TarvelError for a row V that is no number.
    tarvel::DesignInput lastDesign() const;
    // The report of the last calculation, or why there is none.
    ReportActions::Source caseReport() const;
    // Whether the 荷载组合 tab is in front.
    bool showsLoadTable() const;
    // The project as the window shows it: header, base, design inputs and load combinations.
    tarvel::Project project() const;
    void showProject(const tarvel::Project& project);

  signals:
    // A load combination double-clicked, to be calculated in the form.
    void caseChosen(const tarvel::InputTexts& inputs);
    // The base of a project opened or of a sizing design adopted, for the form's boxes.
    void baseChosen(const QString& d, const QString& D, const QString& n);

  public slots:
    void showCalculation(const tarvel::InputTexts& inputs, const tarvel::BaseResult& result);
    void showRefusal(const tarvel::InputTexts& inputs);
    void showFailure(const tarvel::InputTexts& inputs, const QString& message);

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
    tarvel::Project blankProject() const;
    // The base and design of a sizing result shown (the load combinations stay).
    void adoptDesign(const tarvel::Project& project);
    // The checks and the diagram of the last calculation, or why there are none; false for
    // none. Without `steelParts` the detailing is left out.
    bool refresh(bool steelParts = true);
    // The title names the analysis method.
    void updateTitle();
    void showNoChecks(const QString& message);
    // The plate finite-element model of the last calculation, off the window's thread: its
    // column and maps, and for that method the checks. `design` is the window's.
    void startFem(const tarvel::DesignInput& design);
    void showFem(const tarvel::ComputedCase& outcome, const tarvel::DesignInput& design);
    void showFemRunning(const QString& text);
    // The checks of a method's case shown, with the status line naming the method.
    void showMethodCase(const tarvel::ComputedCase& outcome, const tarvel::DesignInput& design);
    void fitSmallScreens();
    void showInputs(const tarvel::InputTexts& inputs);
    void showOuterDiameter();
    void emitBase();
    void about();

    LoadTablePane* loads_;
    CheckPanel* checks_;
    DiagramWidget* diagram_;
    FemMapsWidget* femMaps_;
    FemJob* femJob_;
    DetailingPanel* detailing_;
    ConnectionPanel* connection_;
    ProjectController* projects_ = nullptr;
    ReportActions* reports_;
    QComboBox* methodCombo_;
    QDoubleSpinBox* modularSpin_;
    QLineEdit* outerDiameter_; // D_out, under d
    SizingPane* sizing_ = nullptr;
    FemBoxes* femBoxes_ = nullptr; // h_e and h, under the method

    Ui::DesignWindow ui_;
    std::optional<LastCase> last_; // the last Calculate that gave results
    std::optional<SentRow> sent_;
};
