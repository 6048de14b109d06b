#include "ui/SortWindow.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

#include <vector>

#include "find/MultiSort.h"
#include "ui/CellEditor.h"
#include "ui/ItemListView.h"
#include "ui/QtText.h"
#include "ui/WidgetPlacing.h"

namespace kestavel {
namespace {

constexpr int kKeyCells = 3;

QStringList Strings(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) list.push_back(QString::fromUtf8(text));
    return list;
}

}  // namespace

SortWindow::SortWindow(ItemListView& editList, SortState& sortState)
    : editList_(editList), sortState_(sortState) {
    setObjectName(QStringLiteral("SortWindow"));
    setWindowTitle(QStringLiteral("多列排序(Cobbletide)"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(249, 250);

    keyTable_ = Place(new QTableWidget(0, kKeyCells, this), "超级列表框1", 5, 5, 233, 190);
    keyTable_->setHorizontalHeaderLabels(Strings({"待排序列", "升降序", "排序类型"}));
    const int widths[kKeyCells] = {80, 60, 80};
    for (int column = 0; column < kKeyCells; ++column) {
        keyTable_->setColumnWidth(column, widths[column]);
    }
    keyTable_->verticalHeader()->setVisible(false);
    keyTable_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    keyTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    keyTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    keyTable_->installEventFilter(this);
    keyTable_->viewport()->installEventFilter(this);

    const int editColumns = editList_.columnCount();
    cellEditor_ = Place(new CellEditor(
                            keyTable_,
                            [editColumns](int column) {
                                if (column == 1) return Strings({"升序", "降序"});
                                if (column == 2) return Strings({"文本型", "数值型", "日期型"});
                                QStringList numbers;
                                for (int n = 1; n <= editColumns; ++n) {
                                    numbers.push_back(QString::number(n));
                                }
                                return numbers;
                            },
                            this),
                        "组合框1", 8, 200, 72, 20);
    cellEditor_->hide();
    connect(Button(this, "按钮1", "开始排序", 169, 201, 63, 21), &QPushButton::clicked, this,
            &SortWindow::startSort);

    sortState_.target = &editList_;
    editList_.setHeaderArrowsShown(false);
    // The sort would reach into a list that is gone.
    connect(&editList_, &QObject::destroyed, this, &QWidget::close);
    keyTable_->setFocus(Qt::OtherFocusReason);
}

bool SortWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keyTable_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* click = static_cast<QMouseEvent*>(event);
        keyTableClicked(keyTable_->viewport()->mapTo(keyTable_, click->position().toPoint()));
        return true;
    }
    // Getting the focus counts as a double click on the table's corner, where no cell is.
    if (watched == keyTable_ && event->type() == QEvent::FocusIn) keyTableClicked(QPoint(0, 0));
    return QWidget::eventFilter(watched, event);
}

void SortWindow::keyTableClicked(const QPoint& inTable) {
    cellEditor_->openAt(inTable);
    // Blank rows may pile up this way, but never past one a column of the edit list.
    const int rows = keyTable_->rowCount();
    if (rows >= editList_.columnCount()) return;
    keyTable_->insertRow(rows);
    for (int column = 0; column < kKeyCells; ++column) {
        keyTable_->setItem(rows, column, new QTableWidgetItem);
    }
}

void SortWindow::startSort() {
    cellEditor_->closeEditor();
    std::vector<KeyTableRow> table;
    for (int row = 0; row < keyTable_->rowCount(); ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem* item = keyTable_->item(row, column);
            return item != nullptr ? ToUtf8(item->text()) : std::string();
        };
        table.push_back({text(0), text(1), text(2)});
    }
    MultiSort(sortState_, editList_, KeyList(table));
    close();
}

}  // namespace kestavel
