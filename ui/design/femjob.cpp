#include "design/femjob.h"

#include "checks/femcase.h"

#include <QtConcurrent/QtConcurrentRun>

#include <utility>

FemJob::FemJob(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcher<tarvel::ComputedCase>::progressTextChanged, this,
            &FemJob::progress);
    connect(&watcher_, &QFutureWatcher<tarvel::ComputedCase>::finished, this, [this] {
        const tarvel::ComputedCase outcome = watcher_.result();
        const Request done = *current_;
        current_.reset();
        if (waiting_) {
            run(*std::exchange(waiting_, std::nullopt));
            return;
        }
        if (wanted_) emit finished(outcome, done.design);
    });
}

// The worker holds copies of its inputs; waiting for it keeps its result from arriving at a
// deleted job.
FemJob::~FemJob() {
    watcher_.waitForFinished();
}

void FemJob::start(const tarvel::InputTexts& inputs, const tarvel::DesignInput& design) {
    wanted_ = true;
    Request r{inputs, design};
    if (watcher_.isRunning()) {
        waiting_ = std::move(r);
        emit progress(QStringLiteral("板有限元法计算中…"));
        return;
    }
    run(r);
}

void FemJob::discard() {
    wanted_ = false;
    waiting_.reset();
}

void FemJob::run(const Request& request) {
    current_ = request;
    emit progress(QStringLiteral("板有限元法计算中…"));
    watcher_.setFuture(QtConcurrent::run([request](QPromise<tarvel::ComputedCase>& promise) {
        promise.setProgressRange(0, 0);
        auto step = [&promise](int iteration) {
            // The value must grow for the text to be passed on.
            promise.setProgressValueAndText(
                iteration, QStringLiteral("板有限元法计算中：第 %1 次迭代").arg(iteration));
        };
        promise.addResult(tarvel::fem::computeFemCase(request.inputs, request.design, true, step));
    }));
}
