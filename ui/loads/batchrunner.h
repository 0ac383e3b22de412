#pragma once

#include "loads/loadcases.h"

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

// Runs the engine's batch off the GUI thread: progress and the end arrive as signals on the
// thread that owns the runner. One batch at a time.
class BatchRunner : public QObject {
    Q_OBJECT
  public:
    explicit BatchRunner(QObject* parent = nullptr);
    ~BatchRunner() override;

    bool running() const { return running_; }
    // Starts the batch; false when one is still running.
    bool start(std::vector<tarvel::LoadCase> cases, const tarvel::DesignInput& design,
               unsigned threads = 0);
    // Asks the workers to stop after the cases they are on.
    void cancel();
    // Waits for the workers (the destructor does too).
    void wait();
    // The finished batch's cases, handed over (not copied: ten thousand records are hundreds
    // of megabytes with their texts): every case in input order, nullopt for those not
    // computed because of a cancel. Empty until `finished`, and after it has been taken.
    tarvel::ComputedCases takeResults();

  signals:
    void progress(int done, int total);
    // The batch ended; takeResults() gives its cases.
    void finished(bool cancelled);

  private:
    struct Shared {
        std::atomic<bool> cancel{false};
        std::atomic<int> reported{0}; // the last count handed to the GUI thread
        tarvel::ComputedCases results; // written by the worker before it finishes
    };
    std::shared_ptr<Shared> shared_;
    QFutureWatcher<void> watcher_;
    bool running_ = false;
};
