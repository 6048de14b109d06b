#pragma once

#include <QStyledItemDelegate>

namespace kestavel {

// Draws a picture of the picture window: its thumbnail with the pick mark as a check box in the
// thumbnail's top left corner, and its 编码 below. A click on the check box, or the space key,
// turns the pick mark over.
class ThumbnailDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};

}  // namespace kestavel
