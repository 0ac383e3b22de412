#pragma once

// What the window tests share: the five inputs as texts, and the modal message boxes that a
// click opens, read and closed.

#include "analysis/calculation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <functional>

// The five inputs P, M, d, D, n as the engine takes them.
inline tarvel::InputTexts texts(const QStringList& values) {
    tarvel::InputTexts t;
    for (int i = 0; i < values.size(); ++i)
        t[i] = values[i].toStdString();
    return t;
}

// Reads the modal box that the next click opens, runs `whileShown` while it is up, then
// presses the button named `answer` (or accepts the box).
struct ModalBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*>::size_type buttons = 0;
    bool seen = false;
    QString answer;
    std::function<void()> whileShown;

    void expect() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = true;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            if (whileShown) whileShown();
            if (!answer.isEmpty())
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == answer) {
                        b->click();
                        return;
                    }
            box->accept();
        });
    }
};
