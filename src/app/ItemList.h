#pragma once

#include <vector>

#include "platform/GbkText.h"

namespace kestavel {

using ItemRow = std::vector<GbkText>;

// The picture a column header shows beside its title: image 0 (up), image 1 (down) or none.
enum class HeaderArrow { None, Up, Down };

// A report list with a pick mark (check box) per row, highlighted rows and a current row.
// Rows count from 0; cells hold GBK text.
class ItemList {
  public:
    virtual ~ItemList() = default;

    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    // Valid until the list changes; a missing cell reads as empty text.
    virtual const GbkText& cell(int row, int column) const = 0;
    virtual void setCell(int row, int column, const GbkText& text) = 0;
    // Missing cells of a short row read as empty text.
    virtual void appendRows(std::vector<ItemRow> rows) = 0;
    void appendRow(ItemRow row) {
        std::vector<ItemRow> rows;
        rows.push_back(std::move(row));
        appendRows(std::move(rows));
    }
    virtual void removeAllRows() = 0;

    virtual bool isPicked(int row) const = 0;
    virtual void setPicked(int row, bool picked) = 0;
    virtual bool isHighlighted(int row) const = 0;
    virtual void setHighlighted(int row, bool highlighted) = 0;
    virtual void clearHighlight() = 0;
    // Highlights these rows too, in one step (a search's hits).
    virtual void highlightRows(const std::vector<int>& rows) = 0;
    // The highlighted rows in ascending order, asked once rather than row by row.
    virtual std::vector<int> highlightedRows() const = 0;
    // -1 when no row is current.
    virtual int currentRow() const = 0;
    virtual void setCurrentRow(int row) = 0;

    // Puts the rows in a new order: order[i] is the old number of the row that becomes row i.
    // Rows the order leaves out are removed. Pick marks, and highlights while no row is removed,
    // go with their rows.
    virtual void reorderRows(const std::vector<int>& order) = 0;

    virtual HeaderArrow headerArrow(int column) const = 0;
    virtual void setHeaderArrow(int column, HeaderArrow arrow) = 0;
    // Without the header image list no arrow is drawn, though each column keeps its image.
    virtual void setHeaderArrowsShown(bool shown) = 0;

    // Scrolls as little as needed to bring the whole row into view.
    virtual void makeVisible(int row) = 0;
    // Leaves the view where makeVisible on each of the rows in turn would, but moves it once:
    // a find with thousands of hits shows only where its scrolls end.
    virtual void makeVisibleInTurn(const std::vector<int>& rows) = 0;
    virtual void focus() = 0;
};

}  // namespace kestavel
