#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QWidget;

// Keeps a window's shortcuts working whatever has the focus: a line edit (also the one
// inside a spin box or a cell editor) claims keys such as Ctrl+E (to the end of the line)
// before the window's shortcut can have them.
class ShortcutKeeper : public QObject {
    Q_OBJECT
  public:
    ShortcutKeeper(QWidget* window, QList<QKeySequence> keys);

    // Undo and redo keys: a line edit keeps them while it has typing of its own to undo or
    // redo, and passes them on to the window's history after that.
    void keepHistoryKeys(QList<QKeySequence> undo, QList<QKeySequence> redo);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    QList<QKeySequence> keys_;
    QList<QKeySequence> undo_, redo_;
};
