#include "loads/batchrunner.h"

#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

constexpr std::size_t progressSteps = 200; // counts sent to the window in a whole batch

} // namespace

BatchRunner::BatchRunner(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcher<void>::finished, this, [this] {
        running_ = false;
        const bool cancelled = shared_->cancel.load();
        emit finished(cancelled);
    });
}

BatchRunner::~BatchRunner() {
    cancel();
    wait();
}

bool BatchRunner::start(std::vector<tarvel::LoadCase> cases, const tarvel::DesignInput& design,
                        unsigned threads) {
    if (running_) return false;
    running_ = true;
    shared_ = std::make_shared<Shared>();
    std::shared_ptr<Shared> shared = shared_;
    // The runner outlives its workers (the destructor waits), and calls queued to it are
    // dropped when it goes.
    BatchRunner* self = this;
    watcher_.setFuture(QtConcurrent::run([self, shared, threads, design, cases = std::move(cases)] {
        tarvel::BatchOptions options;
        options.withChecks = true;
        options.threads = threads;
        options.cancel = &shared->cancel;
        options.progress = [self, shared](std::size_t done, std::size_t total) {
            // Each count the window sees repaints its bar: a count is sent every
            // two-hundredth of the batch, and the last one.
            if (done != total && done % std::max<std::size_t>(1, total / progressSteps) != 0)
                return;
            // Counts arrive out of order from several workers; only a larger one is sent,
            // and at most one queued call per case.
            const int d = static_cast<int>(done);
            int last = shared->reported.load();
            while (d > last && !shared->reported.compare_exchange_weak(last, d)) {
            }
            if (d <= last) return;
            QMetaObject::invokeMethod(
                self, [self, d, total] { emit self->progress(d, static_cast<int>(total)); },
                Qt::QueuedConnection);
        };
        shared->results = tarvel::runBatch(cases, design, options);
    }));
    return true;
}

tarvel::ComputedCases BatchRunner::takeResults() {
    // The worker wrote them before its future finished.
    if (running_ || !shared_) return {};
    return std::move(shared_->results);
}

void BatchRunner::cancel() {
    if (shared_) shared_->cancel = true;
}

void BatchRunner::wait() {
    watcher_.waitForFinished();
}
