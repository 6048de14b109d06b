#include "ui/ItemListView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>

#include <algorithm>

#include "ui/HeaderArrows.h"
#include "ui/QtText.h"

namespace kestavel {
namespace {
const GbkText kEmptyCell;
}

ItemTableModel::ItemTableModel(std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent),
      columns_(std::move(columns)),
      arrows_(columns_.size(), HeaderArrow::None) {}

int ItemTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ItemTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

const GbkText& ItemTableModel::cell(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0) return kEmptyCell;
    const ItemRow& cells = rows_[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                           : kEmptyCell;
}

QVariant ItemTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return ToQString(cell(index.row(), index.column()));
    if (role == Qt::CheckStateRole && index.column() == 0) {
        return isPicked(index.row()) ? Qt::Checked : Qt::Unchecked;
    }
    return {};
}

bool ItemTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != 0) return false;
    setPicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size())) {
        return {};
    }
    if (role == Qt::DisplayRole) return columns_[static_cast<std::size_t>(section)].title;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::DecorationRole && arrowsShown_) {
        QPixmap arrow = HeaderArrowPixmap(arrows_[static_cast<std::size_t>(section)]);
        if (!arrow.isNull()) return arrow;
    }
    return {};
}

Qt::ItemFlags ItemTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

void ItemTableModel::setCell(int row, int column, const GbkText& text) {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 ||
        column >= static_cast<int>(columns_.size())) {
        return;
    }
    ItemRow& cells = rows_[static_cast<std::size_t>(row)];
    if (cells.size() <= static_cast<std::size_t>(column))
        cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = text;
    QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void ItemTableModel::appendRows(std::vector<ItemRow> rows) {
    if (rows.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    if (rows_.empty()) {
        rows_ = std::move(rows);
    } else {
        rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
                     std::make_move_iterator(rows.end()));
    }
    picked_.resize(rows_.size(), 0);
    endInsertRows();
}

void ItemTableModel::removeAllRows() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    picked_.clear();
    endResetModel();
}

void ItemTableModel::setPicked(int row, bool picked) {
    if (row < 0 || row >= static_cast<int>(picked_.size())) return;
    if ((picked_[static_cast<std::size_t>(row)] != 0) == picked) return;
    picked_[static_cast<std::size_t>(row)] = picked ? 1 : 0;
    QModelIndex changed = index(row, 0);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ItemTableModel::reorderRows(const std::vector<int>& order) {
    if (order.size() != rows_.size()) {
        // Rows are dropped: rebuild, as no persistent index can follow a removed row.
        beginResetModel();
        std::vector<ItemRow> kept;
        std::vector<char> keptPicks;
        kept.reserve(order.size());
        for (int old : order) {
            kept.push_back(std::move(rows_[static_cast<std::size_t>(old)]));
            keptPicks.push_back(picked_[static_cast<std::size_t>(old)]);
        }
        rows_ = std::move(kept);
        picked_ = std::move(keptPicks);
        endResetModel();
        return;
    }
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newPlace(order.size());
    std::vector<ItemRow> rows(order.size());
    std::vector<char> picked(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto old = static_cast<std::size_t>(order[i]);
        rows[i] = std::move(rows_[old]);
        picked[i] = picked_[old];
        newPlace[old] = static_cast<int>(i);
    }
    rows_ = std::move(rows);
    picked_ = std::move(picked);
    // Highlights and the current row are persistent indexes: move them with their rows.
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        after.push_back(
            this->index(newPlace[static_cast<std::size_t>(index.row())], index.column()));
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

HeaderArrow ItemTableModel::headerArrow(int column) const {
    if (column < 0 || column >= static_cast<int>(arrows_.size())) return HeaderArrow::None;
    return arrows_[static_cast<std::size_t>(column)];
}

void ItemTableModel::setHeaderArrow(int column, HeaderArrow arrow) {
    if (column < 0 || column >= static_cast<int>(arrows_.size())) return;
    arrows_[static_cast<std::size_t>(column)] = arrow;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void ItemTableModel::setHeaderArrowsShown(bool shown) {
    arrowsShown_ = shown;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, static_cast<int>(columns_.size()) - 1);
}

namespace {

constexpr int kRowHeight = 15;
constexpr int kHeaderHeight = 23;
constexpr int kCellFontPixels = 12;

}  // namespace

ItemListView::ItemListView(std::vector<ItemTableModel::Column> columns, QWidget* parent)
    : QTableView(parent), model_(new ItemTableModel(std::move(columns), this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Whole rows, whatever the style prefers: the vertical scroll value is then the top row,
    // which makeVisibleInTurn reckons with.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    verticalHeader()->setVisible(false);
    // The page scroll rule counts on 24 whole rows in the main list (936 × 408) and 19 in the
    // edit list (960 × 336): rows of 15 pixels under a header of 23, with a 12-pixel font that
    // still shows Chinese text whole. Fixed heights also keep 100,000 rows cheap to lay out.
    QFont cellFont = font();
    cellFont.setPixelSize(kCellFontPixels);
    setFont(cellFont);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setFixedHeight(kHeaderHeight);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    const auto& cols = model_->columns();
    for (std::size_t i = 0; i < cols.size(); ++i)
        setColumnWidth(static_cast<int>(i), cols[i].width);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (!focusing_) Q_EMIT currentRowChanged(current.isValid() ? current.row() : -1);
            });
}

void ItemListView::focusInEvent(QFocusEvent* event) {
    // Qt makes the first row current when a list without a current row gets the focus; the
    // commands give the list the focus often, and that must not show another item.
    const bool hadCurrent = currentIndex().isValid();
    focusing_ = true;
    QTableView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid()) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    focusing_ = false;
}

void ItemListView::setCell(int row, int column, const GbkText& text) {
    model_->setCell(row, column, text);
}

void ItemListView::appendRows(std::vector<ItemRow> rows) {
    model_->appendRows(std::move(rows));
}

void ItemListView::removeAllRows() {
    model_->removeAllRows();
}

bool ItemListView::isPicked(int row) const {
    return row >= 0 && row < rowCount() && model_->isPicked(row);
}

void ItemListView::setPicked(int row, bool picked) {
    model_->setPicked(row, picked);
}

bool ItemListView::isHighlighted(int row) const {
    return selectionModel()->isRowSelected(row, QModelIndex());
}

void ItemListView::setHighlighted(int row, bool highlighted) {
    if (row < 0 || row >= rowCount()) return;
    selectionModel()->select(model_->index(row, 0), (highlighted ? QItemSelectionModel::Select
                                                                 : QItemSelectionModel::Deselect) |
                                                        QItemSelectionModel::Rows);
}

void ItemListView::clearHighlight() {
    selectionModel()->clearSelection();
}

void ItemListView::highlightRows(const std::vector<int>& rows) {
    // Runs of neighbouring rows become one range, and the view hears of the change once.
    QItemSelection selection;
    const int last = model_->columnCount() - 1;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
        if (rows[i] >= 0 && rows[j] < rowCount()) {
            selection.select(model_->index(rows[i], 0), model_->index(rows[j], last));
        }
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::Select);
}

std::vector<int> ItemListView::highlightedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int ItemListView::currentRow() const {
    QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ItemListView::setCurrentRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
}

void ItemListView::reorderRows(const std::vector<int>& order) {
    model_->reorderRows(order);
}

void ItemListView::makeVisible(int row) {
    if (row < 0 || row >= rowCount()) return;
    scrollTo(model_->index(row, 0), QAbstractItemView::EnsureVisible);
}

void ItemListView::makeVisibleInTurn(const std::vector<int>& rows) {
    // Scrolling the least to show a row whole puts the top row between the row minus the whole
    // rows the viewport holds, plus one, and the row itself; the scroll range then bounds it.
    // Following these bounds request by request gives the top row the scrolls would leave.
    const int count = rowCount();
    QScrollBar* bar = verticalScrollBar();
    const int wholeRows =
        std::max(1, viewport()->height() / verticalHeader()->defaultSectionSize());
    int top = bar->value();
    int anyRow = -1;
    for (const int row : rows) {
        if (row < 0 || row >= count) continue;
        top = std::clamp(std::clamp(top, row - wholeRows + 1, row), bar->minimum(), bar->maximum());
        anyRow = row;
    }
    if (anyRow < 0) return;
    bar->setValue(top);
    // Every request also brings column 0 into view sideways; the top row is in view already.
    scrollTo(model_->index(top, 0), QAbstractItemView::EnsureVisible);
}

void ItemListView::focus() {
    setFocus(Qt::OtherFocusReason);
}

}  // namespace kestavel
