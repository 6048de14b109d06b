#include "ui/ThumbnailDelegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "pictures/Thumbnail.h"

namespace kestavel {
namespace {

constexpr int kMargin = 4;
constexpr int kBoxSize = 16;
constexpr int kBoxInset = 4;

// Where the thumbnail stands in a picture's cell: centred across, at the top.
QRect ThumbnailRect(const QRect& cell) {
    return {cell.left() + (cell.width() - kThumbnailSize.width()) / 2, cell.top() + kMargin,
            kThumbnailSize.width(), kThumbnailSize.height()};
}

QRect PickBoxRect(const QRect& cell) {
    const QRect picture = ThumbnailRect(cell);
    return {picture.left() + kBoxInset, picture.top() + kBoxInset, kBoxSize, kBoxSize};
}

bool OnPickBox(QEvent* event, const QRect& cell) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    return mouse->button() == Qt::LeftButton &&
           PickBoxRect(cell).contains(mouse->position().toPoint());
}

bool IsPicked(const QModelIndex& index) {
    return index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

}  // namespace

void ThumbnailDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const bool highlighted = option.state & QStyle::State_Selected;
    painter->save();
    // A highlighted picture stands in a frame of the highlight colour, its caption on it.
    if (highlighted) painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));

    const QRect picture = ThumbnailRect(option.rect);
    const QImage thumbnail = index.data(Qt::DecorationRole).value<QImage>();
    painter->fillRect(picture, Qt::white);
    if (!thumbnail.isNull()) painter->drawImage(picture.topLeft(), thumbnail);

    // The check box on a white ground, so it shows over a dark picture as over a light one.
    const QRect box = PickBoxRect(option.rect);
    painter->fillRect(box.adjusted(-1, -1, 1, 1), Qt::white);
    QStyleOptionButton check;
    check.rect = box;
    check.palette = option.palette;
    check.state = QStyle::State_Enabled | (IsPicked(index) ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter, widget);

    const QRect caption(option.rect.left(), picture.bottom() + 1, option.rect.width(),
                        option.rect.bottom() - picture.bottom());
    painter->setFont(option.font);
    painter->setPen(option.palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(caption, Qt::AlignHCenter | Qt::AlignVCenter,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = option.rect;
        focus.state = option.state;
        focus.palette = option.palette;
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
}

QSize ThumbnailDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    (void)index;
    return kThumbnailSize + QSize(2 * kMargin, 2 * kMargin + option.fontMetrics.height() + 2);
}

bool ThumbnailDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                    const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!(model->flags(index) & Qt::ItemIsUserCheckable)) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            // Taken here, so a click on the box leaves the highlight as it was.
            return OnPickBox(event, option.rect);
        case QEvent::MouseButtonRelease:
            if (!OnPickBox(event, option.rect)) return false;
            break;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Space) return false;
            break;
        default:
            return false;
    }
    return model->setData(index, IsPicked(index) ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

}  // namespace kestavel
