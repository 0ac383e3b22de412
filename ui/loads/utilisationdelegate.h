#pragma once

#include <QStyledItemDelegate>

// Paints a utilisation as a bar with its ratio text on top: green up to 1.00, red above.
// The item holds the text in Qt::DisplayRole and the ratio (a double) in ratioRole.
class UtilisationDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int ratioRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    // The fill colour of a ratio: a ratio that is no number fails like one above 1.
    static QColor barColour(double ratio);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
