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

  signals:
    void progress(int done, int total);
    // Every case in input order; nullopt for those not computed because of a cancel.
    void finished(const tarvel::ComputedCases& outcomes, bool cancelled);

  private:
    struct Shared {
        std::atomic<bool> cancel{false};
        std::atomic<int> reported{0}; // the last count handed to the GUI thread
    };
    std::shared_ptr<Shared> shared_;
    QFutureWatcher<tarvel::ComputedCases> watcher_;
    bool running_ = false;
};
