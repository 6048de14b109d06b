#include "find/AuthorSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"

namespace kestavel {
namespace {

using Texts = std::vector<std::string>;

class AuthorSearchTest : public ::testing::Test {
  protected:
    // One row per author, 序号 counting from 1.
    void Fill(const Texts& authors) {
        for (const std::string& author : authors) {
            ItemRow row(19);
            row[0] = GbkText::fromAscii(std::to_string(window.list.rowCount() + 1));
            row[3] = test::Gbk(author);
            window.list.appendRow(std::move(row));
        }
    }
    void Pick(std::initializer_list<int> rows) {
        for (int row : rows) window.list.setPicked(row, true);
    }
    Texts Selected() const {
        Texts numbers;
        for (int r = 0; r < window.list.rowCount(); ++r) {
            if (window.list.isHighlighted(r)) numbers.push_back(window.list.column(0)[r]);
        }
        return numbers;
    }
    bool AnyPicked() const {
        for (const auto& row : window.list.rows) {
            if (row.picked) return true;
        }
        return false;
    }

    test::FakeWindow window;
};

TEST_F(AuthorSearchTest, ARepeatedAuthorIsListedOnceAndItsWorksAreSelected) {
    Fill({"Kim", "Ann", "Kim", "kim", "Kimberly", "Bo"});
    Pick({0, 2, 5});
    window.fuzzySearch.checked = false;
    SelectedAuthorsSearch(window.context);
    EXPECT_EQ(Selected(), (Texts{"1", "3", "6"}));
    EXPECT_FALSE(AnyPicked());
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n当前共选择MOD个数：3\r\n作者：\r\nKim\r\nBo\r\n"
              "已查找到MOD个数：3\r\n序号是：1，3，6");
}

TEST_F(AuthorSearchTest, FuzzyFindsTheAuthorInsideCellsAndKeepsEarlierSelections) {
    Fill({"Kim", "Ann", "kim", "Kimberly", "Bo"});
    window.list.setHighlighted(1, true);
    Pick({0});
    window.fuzzySearch.checked = true;
    SelectedAuthorsSearch(window.context);
    EXPECT_EQ(Selected(), (Texts{"1", "2", "3", "4"}));
    EXPECT_TRUE(window.resultBox.value.ends_with("已查找到MOD个数：4\r\n序号是：1，3，4"));
}

TEST_F(AuthorSearchTest, PickedRowsWithoutAuthorsFindNothing) {
    Fill({"", "Ann", ""});
    Pick({0, 2});
    SelectedAuthorsSearch(window.context);
    EXPECT_EQ(Selected(), Texts{});
    EXPECT_FALSE(AnyPicked());
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n当前共选择MOD个数：2\r\n作者：\r\n已查找到MOD个数：0\r\n序号是：");
}

TEST_F(AuthorSearchTest, WithoutPicksOnlyAsksForOne) {
    Fill({"Ann"});
    window.list.setHighlighted(0, true);
    SelectedAuthorsSearch(window.context);
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n请选择至少一条记录进行查找！\r\n");
    EXPECT_EQ(Selected(), Texts{"1"});
    EXPECT_TRUE(window.list.madeVisible.empty());
}

TEST_F(AuthorSearchTest, TheViewEndsOnTheLastHit) {
    struct Case {
        int rows;
        int lastHit;
        std::vector<int> finalRequests;
    };
    const Case cases[] = {
        {100, 10, {34, 10}},  // more than 22 rows follow the hit
        {100, 90, {99, 90}},  // among the last rows
        {100, 99, {99, 99}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastHit);
        test::FakeWindow w;
        for (int r = 0; r < c.rows; ++r) {
            ItemRow row(19);
            row[3] = test::Gbk(r == c.lastHit ? "Kim" : "Ann");
            w.list.appendRow(std::move(row));
        }
        w.list.setPicked(c.lastHit, true);
        SelectedAuthorsSearch(w.context);
        ASSERT_EQ(w.list.madeVisible.size(), 3u);
        EXPECT_EQ(w.list.madeVisible[0], c.lastHit);
        EXPECT_EQ(std::vector<int>(w.list.madeVisible.begin() + 1, w.list.madeVisible.end()),
                  c.finalRequests);
    }
}

}  // namespace
}  // namespace kestavel
