// Prints the wall-clock time (ns since the epoch) at which the window is first painted, then
// exits: `scripts/startup-time.sh` subtracts the moment the process was started.

#include "form/kqform1.h"
#include "settingsstore.h"

#include <QApplication>
#include <QEvent>

#include <cstdio>
#include <ctime>

namespace {

class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            // Let this paint finish, then report.
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    timespec now;
                    clock_gettime(CLOCK_REALTIME, &now);
                    std::printf("%lld\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                    std::fflush(stdout);
                    QApplication::exit(0);
                },
                Qt::QueuedConnection);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tarvel::setProgramIdentity();
    QApplication::setFont(Kqform1::windowFont());
    Kqform1 window;
    FirstPaint filter;
    window.installEventFilter(&filter);
    window.show();
    return app.exec();
}
