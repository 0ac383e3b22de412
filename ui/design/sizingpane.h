#pragma once

#include "project/project.h"
#include "sizing/sizing.h"

#include <QFutureWatcher>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;
class QUndoStack;

// The tab 优化选型: the project's ranges of the sizing (or the defaults), 开始/取消 with progress,
// the lightest designs, and 采用, which applies the chosen one to the project as one undo
// step. The sizing runs on worker threads; the window stays responsive.
class SizingPane : public QWidget {
    Q_OBJECT
  public:
    // `project` gives the project as shown; `apply` shows a project's base and design
    // (geometry, bolt, detailing) without touching its load combinations.
    SizingPane(std::function<tarvel::Project()> project,
               std::function<void(const tarvel::Project&)> apply, QUndoStack* undo,
               QWidget* parent = nullptr);
    ~SizingPane() override;

    bool running() const { return watcher_.isRunning(); }
    const tarvel::SizingResult& result() const { return result_; }

    // The ranges of a project shown: its own, or the defaults when it has none. The results
    // of another project's sizing go.
    void showRanges(const std::optional<tarvel::SizingRanges>& ranges);
    // The ranges the project holds: none while it has none and nothing was typed; the last
    // that read while a text typed does not.
    const std::optional<tarvel::SizingRanges>& ranges() const { return kept_; }
    // Why a range typed does not read, or empty.
    QString unreadRange() const;

  signals:
    // The user changed a range.
    void rangesEdited();

  public slots:
    void start();
    void cancel();
    // Applies the design of a result row.
    void adopt(int row);

  private:
    void finished();
    void setRunning(bool running);
    void warn(const QString& message);
    // The ranges as typed over `base`; throws TarvelError for a text that does not read.
    tarvel::SizingRanges typedRanges(tarvel::SizingRanges base) const;

    std::function<tarvel::Project()> project_;
    std::function<void(const tarvel::Project&)> apply_;
    QUndoStack* undo_;
    QLineEdit* ranges_[7];
    QSpinBox* top_;
    QPushButton *start_, *cancel_, *adopt_;
    QProgressBar* progress_;
    QLabel* status_;
    QTableWidget* table_;
    QTimer* poll_;
    QFutureWatcher<tarvel::SizingResult> watcher_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::shared_ptr<std::atomic<std::size_t>> done_, total_;
    std::optional<tarvel::Project> sized_; // the project the results belong to
    tarvel::SizingResult result_;
    std::optional<tarvel::SizingRanges> kept_;
    QString error_;
};
