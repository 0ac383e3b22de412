#include "design/minusrefusal.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolTip>

#include <utility>

namespace {

// The spin box a watched widget belongs to (the box, or the line edit inside it).
QAbstractSpinBox* spinOf(QObject* watched) {
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(watched)) return spin;
    if (qobject_cast<QLineEdit*>(watched))
        return qobject_cast<QAbstractSpinBox*>(watched->parent());
    return nullptr;
}

// The low and high ends of a box's range, as it shows its numbers.
std::pair<QString, QString> rangeOf(const QAbstractSpinBox* spin) {
    if (auto* d = qobject_cast<const QDoubleSpinBox*>(spin))
        return {d->textFromValue(d->minimum()), d->textFromValue(d->maximum())};
    if (auto* i = qobject_cast<const QSpinBox*>(spin))
        return {QString::number(i->minimum()), QString::number(i->maximum())};
    return {};
}

bool takesNegative(const QAbstractSpinBox* spin) {
    if (auto* d = qobject_cast<const QDoubleSpinBox*>(spin)) return d->minimum() < 0;
    if (auto* i = qobject_cast<const QSpinBox*>(spin)) return i->minimum() < 0;
    return true;
}

// The caption of the box in its form, or nothing.
QString captionOf(QAbstractSpinBox* spin) {
    QWidget* parent = spin->parentWidget();
    auto* form = parent ? qobject_cast<QFormLayout*>(parent->layout()) : nullptr;
    auto* label = form ? qobject_cast<QLabel*>(form->labelForField(spin)) : nullptr;
    return label ? label->text() : QString();
}

} // namespace

MinusRefusal::MinusRefusal(QWidget* root) : QObject(root) {
    for (QAbstractSpinBox* spin : root->findChildren<QAbstractSpinBox*>()) {
        if (takesNegative(spin)) continue;
        spin->installEventFilter(this);
        if (auto* edit = spin->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly))
            edit->installEventFilter(this);
    }
}

bool MinusRefusal::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->text() != "-" && key->text() != QString::fromUtf8("−")) return false;
    QAbstractSpinBox* spin = spinOf(watched);
    if (!spin) return false;
    const auto [low, high] = rangeOf(spin);
    const QString caption = captionOf(spin);
    const QString word = QString("%1不能为负：可填 %2 至 %3")
                             .arg(caption.isEmpty() ? QString() : "「" + caption + "」", low, high);
    QToolTip::showText(spin->mapToGlobal(QPoint(0, spin->height())), word, spin);
    return true;
}
