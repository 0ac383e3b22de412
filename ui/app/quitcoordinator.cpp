#include "app/quitcoordinator.h"

#include "design/designwindow.h"
#include "project/projectcontroller.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>

QuitCoordinator::QuitCoordinator(QWidget* form, DesignWindow* window, QObject* parent)
    : QObject(parent), form_(form), window_(window) {
    // Watching the application sees the quit event and the close of either window.
    QCoreApplication::instance()->installEventFilter(this);
}

bool QuitCoordinator::agreeToQuit() {
    if (quitting_) return true;
    quitting_ = window_->projects()->maybeSave();
    return quitting_;
}

bool QuitCoordinator::eventFilter(QObject* watched, QEvent* event) {
    const bool quitEvent = event->type() == QEvent::Quit && watched == QCoreApplication::instance();
    if (quitEvent || (watched == form_ && event->type() == QEvent::Close)) {
        if (!agreeToQuit()) {
            event->ignore();
            return true;
        }
        // The form may still refuse (a calculation unwinds first); it closes again then, and
        // the answer given stands.
        return false;
    }
    if (watched == window_ && event->type() == QEvent::Close && quitting_) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
