#pragma once

#include <QComboBox>
#include <QStringList>

#include <functional>

class QTableWidget;

namespace kestavel {

// A drop-down that edits one cell of a table: opened over the cell by a double click with the
// choices of its column, closed when it loses the focus or Enter is released in it, writing its
// text into the cell. The table is not redrawn while it is open, so it cannot paint over it.
class CellEditor : public QComboBox {
    Q_OBJECT
  public:
    using Choices = std::function<QStringList(int column)>;
    CellEditor(QTableWidget* table, Choices choices, QWidget* parent);

    // A double click at a point of the table, in the table's own coordinates: the cell there,
    // if any, becomes the hit position and the editor opens over it. Every call overwrites the
    // hit position, also when no cell is hit.
    void openAt(const QPoint& inTable);
    void closeEditor();
    bool isOpen() const { return open_; }

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    QTableWidget* table_;
    Choices choices_;
    int hitRow_ = -1;
    int hitColumn_ = -1;
    bool open_ = false;
};

}  // namespace kestavel
