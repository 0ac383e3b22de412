#include "loads/utilisationdelegate.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Light fills, so that the black ratio text stays readable over them.
const QColor passFill(0x81, 0xc7, 0x84);
const QColor failFill(0xe5, 0x73, 0x73);
constexpr int margin = 3;       // px between the bar and the cell border
constexpr int minBarWidth = 96; // px, the bar must stay readable in a narrow column

} // namespace

QColor UtilisationDelegate::barColour(double ratio) {
    return ratio <= 1 ? passFill : failFill;
}

void UtilisationDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QVariant value = index.data(ratioRole);
    if (!value.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const double ratio = value.toDouble();
    painter->save();
    const QRect frame = option.rect.adjusted(margin, margin, -margin, -margin);
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->setBrush(option.palette.color(QPalette::Base));
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    // The bar is full at 1.00; a failing ratio fills it all in red.
    const double filled = ratio <= 1 ? std::max(ratio, 0.0) : 1.0;
    QRect bar = frame.adjusted(1, 1, -1, -1);
    bar.setWidth(static_cast<int>(std::lround(bar.width() * filled)));
    painter->fillRect(bar, barColour(ratio));
    painter->setPen(Qt::black);
    // A cell may ask for emphasis (bold) on top of the view's font.
    const QVariant font = index.data(Qt::FontRole);
    painter->setFont(font.isValid() ? font.value<QFont>().resolve(option.font) : option.font);
    painter->drawText(frame, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize UtilisationDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(std::max(size.width() + 4 * margin, minBarWidth));
    size.setHeight(size.height() + 2 * margin);
    return size;
}
