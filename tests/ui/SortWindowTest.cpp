#include "ui/SortWindow.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CatalogueFixture.h"
#include "support/QtPrinting.h"
#include "ui/ItemListView.h"
#include "ui/QtText.h"

namespace kestavel {
namespace {

using Texts = std::vector<std::string>;

constexpr int kCode = 1;
constexpr int kName = 2;
constexpr int kAuthor = 3;
constexpr int kUpdated = 9;

// An edit list of ten columns and the window opened over it, shown and active offscreen.
class SortWindowTest : public ::testing::Test {
  protected:
    SortWindowTest() : editList(Columns(), nullptr) {}
    ~SortWindowTest() override { delete window.data(); }

    static std::vector<ItemTableModel::Column> Columns() {
        std::vector<ItemTableModel::Column> columns;
        for (int c = 1; c <= 10; ++c) columns.push_back({QString::number(c), 80});
        return columns;
    }

    // One row per entry: the given cells in the given column, and 序号 r + 1.
    void Fill(int column, const Texts& cells, int otherColumn = -1, const Texts& others = {}) {
        std::vector<ItemRow> rows;
        for (std::size_t r = 0; r < cells.size(); ++r) {
            ItemRow row(10);
            row[0] = GbkText::fromAscii(std::to_string(r + 1));
            row[static_cast<std::size_t>(column)] = test::Gbk(cells[r]);
            if (otherColumn >= 0) row[static_cast<std::size_t>(otherColumn)] = test::Gbk(others[r]);
            rows.push_back(std::move(row));
        }
        editList.appendRows(std::move(rows));
    }

    void Open() {
        window = new SortWindow(editList, state);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        table = window->findChild<QTableWidget*>(QStringLiteral("超级列表框1"));
        editor = window->findChild<QComboBox*>(QStringLiteral("组合框1"));
        ASSERT_TRUE(table);
        ASSERT_TRUE(editor);
    }

    QPoint CellCentre(int row, int column) const {
        return table->visualRect(table->model()->index(row, column)).center();
    }

    void DoubleClick(int row, int column) {
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, CellCentre(row, column));
    }

    // Opens the editor on the cell, picks the choice as a user would and releases Enter.
    void Choose(int row, int column, const char* choice) {
        DoubleClick(row, column);
        ASSERT_TRUE(editor->isVisible());
        const int index = editor->findText(QString::fromUtf8(choice));
        ASSERT_GE(index, 0) << choice;
        editor->setCurrentIndex(index);
        QTest::keyClick(editor, Qt::Key_Return);
        ASSERT_FALSE(editor->isVisible());
    }

    void ChooseKey(int row, const char* column, const char* direction, const char* kind) {
        Choose(row, 0, column);
        Choose(row, 1, direction);
        Choose(row, 2, kind);
    }

    QString Cell(int row, int column) const {
        const QTableWidgetItem* item = table->item(row, column);
        return item != nullptr ? item->text() : QString();
    }

    Texts EditColumn(int column) const {
        Texts texts;
        for (int r = 0; r < editList.rowCount(); ++r) {
            texts.push_back(GbkToUtf8(editList.cell(r, column)));
        }
        return texts;
    }

    void StartSort() {
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮1")), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    SortState state{Collation::ForLocale("en_US")};
    ItemListView editList;
    QPointer<SortWindow> window;
    QTableWidget* table = nullptr;
    QComboBox* editor = nullptr;
};

TEST_F(SortWindowTest, OpensWithItsControlsInPlaceAndTakesTheEditListAsTarget) {
    editList.setHeaderArrowsShown(true);
    editList.setHeaderArrow(kName, HeaderArrow::Up);
    Open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("多列排序(Cobbletide)"));
    EXPECT_EQ(window->size(), QSize(249, 250));
    EXPECT_EQ(table->geometry(), QRect(5, 5, 233, 190));
    EXPECT_EQ(editor->geometry(), QRect(8, 200, 72, 20));
    EXPECT_FALSE(editor->isVisible());
    const auto* start = window->findChild<QPushButton*>(QStringLiteral("按钮1"));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->text(), QStringLiteral("开始排序"));
    EXPECT_EQ(start->geometry(), QRect(169, 201, 63, 21));
    const char* titles[] = {"待排序列", "升降序", "排序类型"};
    const int widths[] = {80, 60, 80};
    ASSERT_EQ(table->columnCount(), 3);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(table->horizontalHeaderItem(c)->text(), QString::fromUtf8(titles[c]));
        EXPECT_EQ(table->columnWidth(c), widths[c]);
    }

    EXPECT_EQ(state.target, &editList);
    // The arrow is no longer drawn, though the column keeps its image for the next click.
    EXPECT_FALSE(editList.model()->headerData(kName, Qt::Horizontal, Qt::DecorationRole).isValid());
    EXPECT_EQ(editList.headerArrow(kName), HeaderArrow::Up);
}

TEST_F(SortWindowTest, SortsByCodeAscendingThenByAuthorDescending) {
    Fill(kCode, {"20", "3", "20", "100", "3", "9"}, kAuthor, {"b", "a", "c", "a", "d", "a"});
    Open();
    ChooseKey(0, "2", "升序", "数值型");
    ChooseKey(1, "4", "降序", "文本型");
    StartSort();
    EXPECT_EQ(EditColumn(kCode), (Texts{"3", "3", "9", "20", "20", "100"}));
    EXPECT_EQ(EditColumn(kAuthor), (Texts{"d", "a", "a", "c", "b", "a"}));
    EXPECT_TRUE(state.ascending);
    EXPECT_EQ(state.keyKind, KeyKind::Number);
    EXPECT_TRUE(window.isNull());
}

TEST_F(SortWindowTest, NumbersCountFourDecimals) {
    Fill(kName, {"1.25", "1.2", "1.3"});
    Open();
    ChooseKey(0, "3", "升序", "数值型");
    StartSort();
    EXPECT_EQ(EditColumn(kName), (Texts{"1.2", "1.25", "1.3"}));
}

TEST_F(SortWindowTest, DatesOrderByTimeWithUnreadableDatesFirst) {
    Fill(kUpdated,
         {"2015年10月4日12时30分", "", "2014年1月1日0时0分", "soon", "2015年10月4日9时5分"});
    Open();
    ChooseKey(0, "10", "升序", "日期型");
    StartSort();
    EXPECT_EQ(EditColumn(kUpdated), (Texts{"", "soon", "2014年1月1日0时0分", "2015年10月4日9时5分",
                                           "2015年10月4日12时30分"}));
}

TEST_F(SortWindowTest, TheEditorOpensOverTheCellAndLeavingItWritesItsChoice) {
    Open();
    ASSERT_GE(table->rowCount(), 1);
    const char* firstChoices[] = {"1", "升序", "文本型"};
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        DoubleClick(0, column);
        ASSERT_TRUE(editor->isVisible());
        const QRect cell = table->visualRect(table->model()->index(0, column));
        EXPECT_EQ(editor->geometry(), QRect(table->viewport()->mapTo(window, cell.topLeft()),
                                            QSize(table->columnWidth(column), 20)));
        EXPECT_TRUE(editor->hasFocus());
        EXPECT_FALSE(table->updatesEnabled());
        // Clicking another cell takes the focus from the editor.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCentre(1, 2));
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(table->updatesEnabled());
        EXPECT_EQ(Cell(0, column), QString::fromUtf8(firstChoices[column]));
    }
    EXPECT_EQ(editor->count(), 3);  // the choices of the last column opened
}

TEST_F(SortWindowTest, TheEditorPreselectsTheFirstChoiceBeginningWithTheCellsText) {
    Open();
    Choose(0, 0, "1");
    Choose(1, 0, "10");
    DoubleClick(0, 0);
    EXPECT_EQ(editor->count(), 10);
    EXPECT_EQ(editor->currentText(), QStringLiteral("1"));
    QTest::keyClick(editor, Qt::Key_Return);
    DoubleClick(1, 0);
    EXPECT_EQ(editor->currentText(), QStringLiteral("10"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(Cell(1, 0), QStringLiteral("10"));
}

TEST_F(SortWindowTest, TheKeyTableNeverHasMoreRowsThanTheEditListHasColumns) {
    Open();
    const QPoint belowTheRows(table->viewport()->width() / 2, table->viewport()->height() - 2);
    for (int click = 0; click < 15; ++click) {
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, belowTheRows);
        EXPECT_LE(table->rowCount(), 10);
    }
    EXPECT_EQ(table->rowCount(), 10);
    DoubleClick(9, 0);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(table->rowCount(), 10);
}

TEST_F(SortWindowTest, StartingTheSortClosesTheWindowAndTheNextOneStartsEmpty) {
    Fill(kName, {"b", "a"});
    Open();
    Choose(0, 0, "3");
    StartSort();
    EXPECT_TRUE(window.isNull());

    Open();
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < 3; ++column) EXPECT_EQ(Cell(row, column), QString());
    }
    // A table that names no column sorts nothing and still closes the window.
    StartSort();
    EXPECT_TRUE(window.isNull());
}

TEST(SortWindow, ClosesWhenTheEditListGoes) {
    SortState state{Collation::ForLocale("en_US")};
    auto* editList = new ItemListView({{QStringLiteral("1"), 80}}, nullptr);
    QPointer<SortWindow> window = new SortWindow(*editList, state);
    window->show();
    delete editList;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace kestavel
