#include "ui/CellEditor.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTableWidget>

namespace kestavel {
namespace {

constexpr int kEditorHeight = 20;

}  // namespace

CellEditor::CellEditor(QTableWidget* table, Choices choices, QWidget* parent)
    : QComboBox(parent), table_(table), choices_(std::move(choices)) {}

void CellEditor::openAt(const QPoint& inTable) {
    const QPoint inView = table_->viewport()->mapFrom(table_, inTable);
    const QModelIndex cell =
        table_->viewport()->rect().contains(inView) ? table_->indexAt(inView) : QModelIndex();
    hitRow_ = cell.isValid() ? cell.row() : -1;
    hitColumn_ = cell.isValid() ? cell.column() : -1;
    if (!cell.isValid()) return;

    clear();
    addItems(choices_(hitColumn_));
    setCurrentIndex(0);
    const QRect place = table_->visualRect(cell);
    setGeometry(QRect(table_->viewport()->mapTo(parentWidget(), place.topLeft()),
                      QSize(table_->columnWidth(hitColumn_), kEditorHeight)));
    // The first choice that begins with the cell's text, letters in either case; an empty cell
    // matches the first choice.
    const int current = findText(cell.data().toString(), Qt::MatchStartsWith);
    if (current >= 0) setCurrentIndex(current);
    show();
    raise();
    table_->setUpdatesEnabled(false);
    open_ = true;
    setFocus(Qt::OtherFocusReason);
}

void CellEditor::closeEditor() {
    if (!open_) return;
    open_ = false;
    if (hitRow_ >= 0 && hitRow_ < table_->rowCount() && hitColumn_ >= 0) {
        QTableWidgetItem* item = table_->item(hitRow_, hitColumn_);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            table_->setItem(hitRow_, hitColumn_, item);
        }
        item->setText(currentText());
    }
    hide();
    table_->setUpdatesEnabled(true);
}

void CellEditor::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // Its own list popping up takes the focus only for the choosing.
    if (event->reason() != Qt::PopupFocusReason) closeEditor();
}

void CellEditor::keyReleaseEvent(QKeyEvent* event) {
    QComboBox::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) closeEditor();
}

}  // namespace kestavel
