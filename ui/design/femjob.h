#pragma once

#include "checks/design.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <optional>

// The plate finite-element case of the window's calculation, computed off the window's thread
// (a fraction of a second to a few seconds on a fine mesh). A request made while one runs
// waits for it and replaces any other waiting: only the latest inputs are shown.
class FemJob : public QObject {
    Q_OBJECT
  public:
    explicit FemJob(QObject* parent = nullptr);
    ~FemJob() override;

    void start(const tarvel::InputTexts& inputs, const tarvel::DesignInput& design);
    // A result still to come is not wanted.
    void discard();
    bool running() const { return watcher_.isRunning(); }

  signals:
    // How far the model is, for the user: 板有限元法计算中：第 k 次迭代.
    void progress(const QString& text);
    // The case of the latest request, with its checks.
    void finished(const tarvel::ComputedCase& outcome, const tarvel::DesignInput& design);

  private:
    struct Request {
        tarvel::InputTexts inputs;
        tarvel::DesignInput design;
    };
    void run(const Request& request);

    QFutureWatcher<tarvel::ComputedCase> watcher_;
    std::optional<Request> current_, waiting_;
    bool wanted_ = true;
};
