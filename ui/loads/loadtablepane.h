#pragma once

#include "loads/batchrunner.h"
#include "loads/loadblock.h"
#include "loads/loadtablemodel.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

// The tab 荷载组合: the project's header and base (d, D, n), the load combinations with
// their buttons, 全部计算 with its progress bar and cancel, the governing summary and the
// table of results.
class LoadTablePane : public QWidget {
    Q_OBJECT
  public:
    explicit LoadTablePane(QWidget* parent = nullptr);
    // The columns of the checks the design makes (the steel parts need the detailing).
    void showSteelColumns(const tarvel::DesignInput& design);

    LoadTableModel* model() { return &model_; }
    QTableView* view() const { return view_; }
    BatchRunner* runner() { return &runner_; }
    // 撤销 and 重做 of the project's edits (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z), for the window
    // to add wherever its shortcuts should work.
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }

    // Where the design inputs come from (the design window's boxes).
    void setDesignSource(std::function<tarvel::DesignInput()> source);

    // The project as shown, and a project shown (outside the undo history).
    void fillProject(tarvel::Project& project) const;
    void showProject(const tarvel::Project& project);
    Geometry geometry() const;
    // The project's header typed anew (an edit of the project).
    void setInfo(const tarvel::ProjectInfo& info);
    // Takes d, D, n of a calculation while the table has no rows; true when the base changed.
    bool offerGeometry(const tarvel::InputTexts& inputs);
    // The base's d, D and n set (a sizing design adopted).
    void setGeometry(const tarvel::Project& project);

    // Load combinations added from a block of text after the current row (or at the end);
    // on refusal nothing changes and `error` says why. The line under the buttons says what
    // was made of the block's columns; each row's tooltip, how its P, M and V were made.
    bool addBlock(std::string_view bytes, const QString& what, QString* error);
    bool importCsv(const QString& path, QString* error);
    // The inputs only, or with the results (the columns of `tarvel-calc --project`).
    bool exportCsv(const QString& path, QString* error, bool withResults = false) const;

    // 全部计算 on the shown texts; false when nothing can start.
    bool computeAll(unsigned threads = 0);
    void cancel();
    bool running() const { return runner_.running(); }
    // Milliseconds the last finished batch took.
    qint64 lastElapsed() const { return lastElapsed_; }
    // Results no longer fit the inputs (design inputs changed).
    void invalidate();

  signals:
    void changed(); // anything saved in the project changed
    // A row sent to the form (its button, context menu or Enter): its five texts, its own V
    // (empty: the design V) and how the design window names it.
    void caseChosen(const tarvel::InputTexts& inputs, const QString& V, const QString& label);
    void batchFinished();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void paste();
    void importDialog();
    void exportDialog();
    void onFinished(bool cancelled);
    void setRunning(bool running);
    // The batch's status line and bar go when its results no longer stand.
    void clearStatus();
    // A shared d, D or n that no row can be computed with: says so and points at its box.
    bool checkGeometry();
    void updateSummary();
    void sendCurrentRow();
    std::vector<int> selectedRows() const;
    int insertionRow() const;
    void fail(const QString& message);

    LoadTableModel model_;
    BatchRunner runner_;
    std::function<tarvel::DesignInput()> design_;
    QLineEdit* info_[4];
    QLineEdit* geometry_[3];
    QPushButton *add_, *remove_, *duplicate_, *paste_, *import_, *export_, *compute_, *cancel_,
        *send_;
    QAction *undo_, *redo_;
    QCheckBox* tensionPositive_; // pasted and imported axial forces are positive in tension
    QProgressBar* progress_;
    QLabel* status_;
    QLabel* summary_;
    QTableView* view_;
    QElapsedTimer clock_;
    qint64 lastElapsed_ = 0;
    quint64 startedRevision_ = 0;
    quint64 inputsRevision_ = 0; // design inputs and geometry
    quint64 startedInputs_ = 0;
};
