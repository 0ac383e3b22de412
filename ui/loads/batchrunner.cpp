#include "loads/batchrunner.h"

#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>

BatchRunner::BatchRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<tarvel::ComputedCases>("tarvel::ComputedCases");
    connect(&watcher_, &QFutureWatcher<tarvel::ComputedCases>::finished, this, [this] {
        running_ = false;
        const bool cancelled = shared_->cancel.load();
        emit finished(watcher_.result(), cancelled);
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
    watcher_.setFuture(QtConcurrent::run(
        [self, shared, threads, design, cases = std::move(cases)]() -> tarvel::ComputedCases {
            tarvel::BatchOptions options;
            options.withChecks = true;
            options.threads = threads;
            options.cancel = &shared->cancel;
            options.progress = [self, shared](std::size_t done, std::size_t total) {
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
            return tarvel::runBatch(cases, design, options);
        }));
    return true;
}

void BatchRunner::cancel() {
    if (shared_) shared_->cancel = true;
}

void BatchRunner::wait() {
    watcher_.waitForFinished();
}
