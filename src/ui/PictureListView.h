#pragma once

#include <QAbstractListModel>
#include <QImage>
#include <QListView>

#include <vector>

#include "app/ItemList.h"
#include "pictures/PictureFill.h"

namespace kestavel {

// The pictures of the picture window: each a thumbnail, its item's 编码 and a pick mark.
class PictureListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit PictureListModel(QObject* parent) : QAbstractListModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    const GbkText& code(int row) const;
    void setCode(int row, const GbkText& code);
    // Replaces every picture; none of the new ones is picked.
    void setPictures(std::vector<Thumbnail> pictures);
    void appendPictures(std::vector<Thumbnail> pictures);
    bool isPicked(int row) const;
    void setPicked(int row, bool picked);
    // order[i] is the old number of the picture that becomes picture i; the others go.
    void reorder(const std::vector<int>& order);

  private:
    struct Entry {
        Thumbnail picture;
        bool picked = false;
    };
    bool valid(int row) const { return row >= 0 && row < static_cast<int>(entries_.size()); }

    std::vector<Entry> entries_;
};

// The picture window's 超级列表框1: an icon view of the thumbnails at their full size, seen by
// the commands as a list of one column, the 编码.
class PictureListView : public QListView, public ItemList {
    Q_OBJECT
  public:
    explicit PictureListView(QWidget* parent);

    PictureListModel* pictureModel() const { return model_; }

    int rowCount() const override { return model_->rowCount(); }
    int columnCount() const override { return 1; }
    const GbkText& cell(int row, int column) const override;
    void setCell(int row, int column, const GbkText& text) override;
    // Entries made here have a blank thumbnail.
    void appendRows(std::vector<ItemRow> rows) override;
    void removeAllRows() override { model_->setPictures({}); }
    bool isPicked(int row) const override { return model_->isPicked(row); }
    void setPicked(int row, bool picked) override { model_->setPicked(row, picked); }
    bool isHighlighted(int row) const override;
    void setHighlighted(int row, bool highlighted) override;
    void clearHighlight() override;
    void highlightRows(const std::vector<int>& rows) override;
    std::vector<int> highlightedRows() const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    void reorderRows(const std::vector<int>& order) override { model_->reorder(order); }
    // An icon view has no header to show arrows in.
    HeaderArrow headerArrow(int) const override { return HeaderArrow::None; }
    void setHeaderArrow(int, HeaderArrow) override {}
    void setHeaderArrowsShown(bool) override {}
    void makeVisible(int row) override;
    void makeVisibleInTurn(const std::vector<int>& rows) override;
    void focus() override { setFocus(Qt::OtherFocusReason); }

  private:
    PictureListModel* model_;
};

}  // namespace kestavel
