#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPalette>

// A line edit made read-only or editable again, and looking it: a read-only field takes the
// window's background, so that nobody tries to type into it.
inline void setFieldReadOnly(QLineEdit* field, bool readOnly) {
    field->setReadOnly(readOnly);
    QPalette p = field->palette();
    const QPalette normal = QApplication::palette(field);
    p.setColor(QPalette::Base, normal.color(readOnly ? QPalette::Window : QPalette::Base));
    field->setPalette(p);
}
