#include "ui/PictureListView.h"

#include <QItemSelectionModel>

#include <algorithm>

#include "pictures/Thumbnail.h"
#include "ui/QtText.h"
#include "ui/ThumbnailDelegate.h"

namespace kestavel {
namespace {
const GbkText kNoText;
}

int PictureListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant PictureListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !valid(index.row())) return {};
    const Entry& entry = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return ToQString(entry.picture.code);
        case Qt::DecorationRole:
            return entry.picture.image;
        case Qt::CheckStateRole:
            return entry.picked ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

bool PictureListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole) return false;
    setPicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags PictureListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

bool PictureListModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || count <= 0 || !valid(row) || !valid(row + count - 1)) return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    entries_.erase(entries_.begin() + row, entries_.begin() + row + count);
    endRemoveRows();
    return true;
}

const GbkText& PictureListModel::code(int row) const {
    return valid(row) ? entries_[static_cast<std::size_t>(row)].picture.code : kNoText;
}

void PictureListModel::setCode(int row, const GbkText& code) {
    if (!valid(row)) return;
    entries_[static_cast<std::size_t>(row)].picture.code = code;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void PictureListModel::setPictures(std::vector<Thumbnail> pictures) {
    beginResetModel();
    entries_.clear();
    for (Thumbnail& picture : pictures) entries_.push_back({std::move(picture)});
    endResetModel();
}

void PictureListModel::appendPictures(std::vector<Thumbnail> pictures) {
    if (pictures.empty()) return;
    const int first = static_cast<int>(entries_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(pictures.size()) - 1);
    for (Thumbnail& picture : pictures) entries_.push_back({std::move(picture)});
    endInsertRows();
}

bool PictureListModel::isPicked(int row) const {
    return valid(row) && entries_[static_cast<std::size_t>(row)].picked;
}

void PictureListModel::setPicked(int row, bool picked) {
    if (!valid(row) || entries_[static_cast<std::size_t>(row)].picked == picked) return;
    entries_[static_cast<std::size_t>(row)].picked = picked;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

void PictureListModel::reorder(const std::vector<int>& order) {
    // At most 76 pictures: building them anew costs nothing worth keeping the selection for.
    beginResetModel();
    std::vector<Entry> kept;
    kept.reserve(order.size());
    for (int old : order) {
        if (valid(old)) kept.push_back(entries_[static_cast<std::size_t>(old)]);
    }
    entries_ = std::move(kept);
    endResetModel();
}

namespace {

// Room around a thumbnail and below it for its caption.
constexpr int kCellMargin = 4;
constexpr int kCaptionHeight = 18;

}  // namespace

PictureListView::PictureListView(QWidget* parent)
    : QListView(parent), model_(new PictureListModel(this)) {
    setModel(model_);
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(kThumbnailSize);
    setGridSize(kThumbnailSize + QSize(2 * kCellMargin, 2 * kCellMargin + kCaptionHeight));
    setItemDelegate(new ThumbnailDelegate(this));
}

const GbkText& PictureListView::cell(int row, int column) const {
    return column == 0 ? model_->code(row) : kNoText;
}

void PictureListView::setCell(int row, int column, const GbkText& text) {
    if (column == 0) model_->setCode(row, text);
}

void PictureListView::appendRows(std::vector<ItemRow> rows) {
    std::vector<Thumbnail> pictures;
    for (ItemRow& row : rows) pictures.push_back({row.empty() ? GbkText() : row[0], QImage()});
    model_->appendPictures(std::move(pictures));
}

bool PictureListView::isHighlighted(int row) const {
    return selectionModel()->isSelected(model_->index(row));
}

void PictureListView::setHighlighted(int row, bool highlighted) {
    if (row < 0 || row >= rowCount()) return;
    selectionModel()->select(model_->index(row), highlighted ? QItemSelectionModel::Select
                                                             : QItemSelectionModel::Deselect);
}

void PictureListView::clearHighlight() {
    selectionModel()->clearSelection();
}

void PictureListView::highlightRows(const std::vector<int>& rows) {
    QItemSelection selection;
    for (int row : rows) {
        if (row >= 0 && row < rowCount()) selection.select(model_->index(row), model_->index(row));
    }
    selectionModel()->select(selection, QItemSelectionModel::Select);
}

std::vector<int> PictureListView::highlightedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int PictureListView::currentRow() const {
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void PictureListView::setCurrentRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    selectionModel()->setCurrentIndex(model_->index(row), QItemSelectionModel::NoUpdate);
}

void PictureListView::makeVisible(int row) {
    if (row >= 0 && row < rowCount()) scrollTo(model_->index(row));
}

void PictureListView::makeVisibleInTurn(const std::vector<int>& rows) {
    for (int row : rows) makeVisible(row);
}

}  // namespace kestavel
