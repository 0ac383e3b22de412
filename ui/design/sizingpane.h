#pragma once

#include "project.h"
#include "sizing.h"

#include <QFutureWatcher>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;
class QUndoStack;

// The tab 优化选型: the ranges of the sizing (defaults filled in), 开始/取消 with progress,
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

  public slots:
    void start();
    void cancel();
    // Applies the design of a result row.
    void adopt(int row);

  private:
    void finished();
    void setRunning(bool running);
    void warn(const QString& message);

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
    QString error_;
};
