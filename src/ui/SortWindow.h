#pragma once

#include <QWidget>

#include "find/SortState.h"

class QTableWidget;

namespace kestavel {

class CellEditor;
class ItemListView;

// "多列排序(Cobbletide)": a table of sort keys, one a row, filled through a drop-down over the
// cells, and "开始排序", which orders the edit list by them and closes the window. Opening it
// makes the edit list the sort target and hides that list's header arrow until its next header
// click. It closes itself when the edit list goes.
class SortWindow : public QWidget {
    Q_OBJECT
  public:
    SortWindow(ItemListView& editList, SortState& sortState);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void keyTableClicked(const QPoint& inTable);
    void startSort();

    ItemListView& editList_;
    SortState& sortState_;
    QTableWidget* keyTable_ = nullptr;
    CellEditor* cellEditor_ = nullptr;
};

}  // namespace kestavel
