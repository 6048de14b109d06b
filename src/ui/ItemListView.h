#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <vector>

#include "app/ItemList.h"

namespace kestavel {

// Rows of GBK cells with a pick mark each; cells are turned into Unicode only when shown.
class ItemTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    struct Column {
        QString title;
        int width;
    };
    ItemTableModel(std::vector<Column> columns, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const std::vector<Column>& columns() const { return columns_; }
    const GbkText& cell(int row, int column) const;
    void setCell(int row, int column, const GbkText& text);
    void appendRows(std::vector<ItemRow> rows);
    void removeAllRows();
    bool isPicked(int row) const { return picked_[static_cast<std::size_t>(row)] != 0; }
    void setPicked(int row, bool picked);
    // order[i] is the old number of the row that becomes row i.
    void reorderRows(const std::vector<int>& order);
    HeaderArrow headerArrow(int column) const;
    void setHeaderArrow(int column, HeaderArrow arrow);
    void setHeaderArrowsShown(bool shown);

  private:
    std::vector<Column> columns_;
    std::vector<ItemRow> rows_;
    std::vector<char> picked_;
    std::vector<HeaderArrow> arrows_;
    bool arrowsShown_ = false;
};

// The report list of a window: a table view over its own model, seen by commands as ItemList.
class ItemListView : public QTableView, public ItemList {
    Q_OBJECT
  public:
    ItemListView(std::vector<ItemTableModel::Column> columns, QWidget* parent);

    ItemTableModel* itemModel() const { return model_; }

    int rowCount() const override { return model_->rowCount(); }
    int columnCount() const override { return model_->columnCount(); }
    const GbkText& cell(int row, int column) const override { return model_->cell(row, column); }
    void setCell(int row, int column, const GbkText& text) override;
    void appendRows(std::vector<ItemRow> rows) override;
    void removeAllRows() override;
    bool isPicked(int row) const override;
    void setPicked(int row, bool picked) override;
    bool isHighlighted(int row) const override;
    void setHighlighted(int row, bool highlighted) override;
    void clearHighlight() override;
    void highlightRows(const std::vector<int>& rows) override;
    std::vector<int> highlightedRows() const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    void reorderRows(const std::vector<int>& order) override;
    HeaderArrow headerArrow(int column) const override { return model_->headerArrow(column); }
    void setHeaderArrow(int column, HeaderArrow arrow) override {
        model_->setHeaderArrow(column, arrow);
    }
    void setHeaderArrowsShown(bool shown) override { model_->setHeaderArrowsShown(shown); }
    void makeVisible(int row) override;
    void makeVisibleInTurn(const std::vector<int>& rows) override;
    void focus() override;

  Q_SIGNALS:
    void currentRowChanged(int row);

  protected:
    void focusInEvent(QFocusEvent* event) override;

  private:
    ItemTableModel* model_;
    bool focusing_ = false;
};

}  // namespace kestavel
