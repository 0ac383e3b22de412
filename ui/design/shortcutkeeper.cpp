#include "design/shortcutkeeper.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

ShortcutKeeper::ShortcutKeeper(QWidget* window, QList<QKeySequence> keys)
    : QObject(window), window_(window), keys_(std::move(keys)) {
    // The claim is made on the widget with the focus, which may be any of the window's.
    QCoreApplication::instance()->installEventFilter(this);
}

bool ShortcutKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    // Not delivered, so not claimed: the shortcut goes ahead.
    return keys_.contains(pressed);
}
