#include "design/shortcutkeeper.h"

#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

ShortcutKeeper::ShortcutKeeper(QWidget* window, QList<QKeySequence> keys)
    : QObject(window), window_(window), keys_(std::move(keys)) {
    // The claim is made on the widget with the focus, which may be any of the window's.
    QCoreApplication::instance()->installEventFilter(this);
}

void ShortcutKeeper::keepHistoryKeys(QList<QKeySequence> undo, QList<QKeySequence> redo) {
    undo_ = std::move(undo);
    redo_ = std::move(redo);
}

bool ShortcutKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    // Not delivered, so not claimed: the shortcut goes ahead.
    if (keys_.contains(pressed)) return true;
    const bool undo = undo_.contains(pressed), redo = redo_.contains(pressed);
    if (!undo && !redo) return false;
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (!edit && qobject_cast<QAbstractSpinBox*>(widget))
        edit = widget->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    if (!edit || edit->isReadOnly()) return true;
    return !(undo ? edit->isUndoAvailable() : edit->isRedoAvailable());
}
