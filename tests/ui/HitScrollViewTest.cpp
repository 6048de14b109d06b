#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "find/EditFind.h"
#include "find/HitScroll.h"
#include "support/FakePorts.h"
#include "ui/ItemListView.h"

namespace kestavel {
namespace {

// Two equal lists side by side: one scrolled to every hit in turn, one moved once.
class HitScrollViewTest : public ::testing::Test {
  protected:
    static std::vector<ItemTableModel::Column> Columns() {
        return std::vector<ItemTableModel::Column>(6, {QStringLiteral("c"), 120});
    }

    void SetUpViews(int rows, int height) {
        for (ItemListView* view : {&stepwise, &once}) {
            view->removeAllRows();
            std::vector<ItemRow> cells(static_cast<std::size_t>(rows));
            for (int r = 0; r < rows; ++r) {
                cells[static_cast<std::size_t>(r)] = {GbkText::fromAscii(std::to_string(r + 1))};
            }
            view->appendRows(std::move(cells));
            // Narrower than its columns, so the list also scrolls sideways.
            view->resize(400, height);
            view->show();
        }
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&stepwise));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&once));
    }

    void StartAt(int top, int sideways) {
        for (ItemListView* view : {&stepwise, &once}) {
            view->verticalScrollBar()->setValue(top);
            view->horizontalScrollBar()->setValue(sideways);
        }
    }

    ItemListView stepwise{Columns(), nullptr};
    ItemListView once{Columns(), nullptr};
};

TEST_F(HitScrollViewTest, MovingOnceEndsWhereScrollingToEveryHitDoes) {
    std::mt19937 random(7);
    struct Shape {
        int rows;
        int height;  // some hold more whole rows than the offset, some fewer, some a part row
    };
    const Shape shapes[] = {{300, 240}, {300, 700}, {300, 1500}, {40, 333}, {25, 900}};
    struct Constants {
        int page;
        int offset;
    };
    const Constants constants[] = {{kMainHitPage, kMainHitOffset}, {17, 18}};
    for (const Shape& shape : shapes) {
        SetUpViews(shape.rows, shape.height);
        const int n = shape.rows;
        std::vector<std::vector<int>> hitSets = {
            {}, {0}, {n - 1}, {n - 23}, {n - 18}, {n - 24, n - 23}, {3, n - 23}, {5, 6, 7, 8},
        };
        std::vector<int> every(static_cast<std::size_t>(n));
        for (int r = 0; r < n; ++r) every[static_cast<std::size_t>(r)] = r;
        hitSets.push_back(every);
        for (int set = 0; set < 6; ++set) {
            std::vector<int> hits;
            for (int r = 0; r < n; ++r) {
                if (random() % 9 == 0) hits.push_back(r);
            }
            hitSets.push_back(hits);
        }
        const int bottom = stepwise.verticalScrollBar()->maximum();
        const int starts[][2] = {{0, 0}, {bottom / 2, 300}, {bottom, 0}, {bottom, 300}};
        for (const Constants& c : constants) {
            for (const std::vector<int>& hits : hitSets) {
                for (const auto& start : starts) {
                    SCOPED_TRACE(::testing::Message()
                                 << n << " rows, height " << shape.height << ", page " << c.page
                                 << ", " << hits.size() << " hits, first "
                                 << (hits.empty() ? -1 : hits.front()) << ", from " << start[0]
                                 << "/" << start[1]);
                    StartAt(start[0], start[1]);
                    for (const int row : HitScrollRows(n, hits, c.page, c.offset)) {
                        stepwise.makeVisible(row);
                    }
                    ScrollToHits(once, hits, c.page, c.offset);
                    EXPECT_EQ(once.verticalScrollBar()->value(),
                              stepwise.verticalScrollBar()->value());
                    EXPECT_EQ(once.horizontalScrollBar()->value(),
                              stepwise.horizontalScrollBar()->value());
                    EXPECT_EQ(once.rowAt(0), stepwise.rowAt(0));
                }
            }
        }
    }
}

TEST_F(HitScrollViewTest, AHitWithExactlyOffsetRowsToTheEndIsOnlyBroughtIntoView) {
    // 40 rows, about 10 of them in view: a hit at row 17 has 23 rows from it to the end, so no row
    // 23 further down exists and the hit ends as the last row in view, not the first.
    SetUpViews(40, 10 * stepwise.verticalHeader()->defaultSectionSize() + 40);
    StartAt(0, 0);
    ScrollToHits(once, {17}, kMainHitPage, kMainHitOffset);
    const int viewBottom = once.viewport()->height();
    EXPECT_LT(once.visualRect(once.model()->index(17, 0)).bottom(), viewBottom);
    EXPECT_GE(once.visualRect(once.model()->index(18, 0)).bottom(), viewBottom);
    EXPECT_GT(once.rowAt(0), 0);

    StartAt(0, 0);
    ScrollToHits(once, {16}, kMainHitPage, kMainHitOffset);
    EXPECT_EQ(once.rowAt(0), 16);
}

TEST_F(HitScrollViewTest, TheCodeFindBringsAHitToTheTopOnlyWithMoreThanEighteenRowsBelow) {
    SetUpViews(40, 12 * once.verticalHeader()->defaultSectionSize() + 40);
    test::FakeCheckBox fuzzy;
    test::FakeTextBox results;
    test::FakeTextBox searchBox("x");
    const FindControls controls{once, fuzzy, results};
    struct Case {
        int hit;
        bool atTop;
    };
    // n − i = 19: row i + 18 is the last row, so the hit comes to the top; n − i = 18: there
    // is no row i + 18 and the hit is only brought into view, at the bottom.
    const Case cases[] = {{21, true}, {22, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hit);
        StartAt(0, 0);
        once.setCell(c.hit, kFindByCode.column, GbkText::fromAscii("x"));
        EditFind(controls, searchBox, kFindByCode);
        once.setCell(c.hit, kFindByCode.column, GbkText());
        EXPECT_EQ(once.highlightedRows(), std::vector<int>{c.hit});
        EXPECT_EQ(once.rowAt(0) == c.hit, c.atTop);
        EXPECT_LT(once.visualRect(once.model()->index(c.hit, 0)).bottom(),
                  once.viewport()->height());
    }
}

}  // namespace
}  // namespace kestavel
