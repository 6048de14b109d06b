#include "find/EditFind.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "find/AuthorSearch.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"

namespace kestavel {
namespace {

using Texts = std::vector<std::string>;

// EditWindow's list (ten columns, row r with 序号 r + 1) and the controls its finds use.
class EditFindTest : public ::testing::Test {
  protected:
    // Each row's cells from column 1 on.
    void Fill(const std::vector<Texts>& rows) {
        for (const Texts& cells : rows) {
            ItemRow row(10);
            row[0] = GbkText::fromAscii(std::to_string(list.rowCount() + 1));
            for (std::size_t c = 0; c < cells.size(); ++c) row[c + 1] = test::Gbk(cells[c]);
            list.appendRow(std::move(row));
        }
    }
    void FillEmpty(int rows) {
        list.appendRows(std::vector<ItemRow>(static_cast<std::size_t>(rows)));
    }

    void Find(std::string text, EditFindColumn find, bool isFuzzy = true) {
        searchBox.value = std::move(text);
        fuzzy.checked = isFuzzy;
        EditFind(controls, searchBox, find);
    }

    Texts Selected() const {
        Texts numbers;
        for (const int row : list.highlightedRows()) numbers.push_back(list.column(0)[row]);
        return numbers;
    }

    test::FakeItemList list{10};
    test::FakeCheckBox fuzzy;
    test::FakeTextBox resultBox{"本窗口为信息显示窗口，欢迎使用！"};
    test::FakeTextBox searchBox;
    FindControls controls{list, fuzzy, resultBox};
};

TEST_F(EditFindTest, EachButtonComparesItsColumnWithTheFirstLineOfTheSearchBox) {
    Fill({{"1001", "Road Pack", "Kim"}, {"2002", "Park", "Road Man"}, {"3003", "abc", "xyz"}});
    struct Case {
        const char* text;
        EditFindColumn find;
        Texts selected;
    };
    const Case cases[] = {
        {"road", kFindByName, {"1"}},
        {"road", kFindByAuthor, {"2"}},
        {"00", kFindByCode, {"1", "2", "3"}},
        // The second line is never searched for.
        {"ABC\r\nxyz", kFindByName, {"3"}},
        {"ABC\r\nxyz", kFindByAuthor, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Find(c.text, c.find);
        EXPECT_EQ(Selected(), c.selected);
    }
    EXPECT_TRUE(resultBox.value.ends_with("\r\n\r\n已查找到MOD个数：0\r\n序号是："));

    Find("Road", kFindByName, false);
    EXPECT_EQ(Selected(), Texts{});
    Find("Road Pack\r\n", kFindByName, false);
    EXPECT_EQ(Selected(), Texts{"1"});
    EXPECT_TRUE(resultBox.value.ends_with("\r\n\r\n已查找到MOD个数：1\r\n序号是：1"));
}

TEST_F(EditFindTest, TheCategoryFindTakesItsColumnFromTheRadioButtons) {
    test::FakeCheckBox detail1(false), detail2(false), detail3(false);
    const CategoryRadios radios{detail1, detail2, detail3};
    EXPECT_EQ(CategoryFind(radios).column, 5);  // 主分类, as when the window opens
    detail2.checked = true;
    EXPECT_EQ(CategoryFind(radios).column, 7);
    detail1.checked = true;
    EXPECT_EQ(CategoryFind(radios).column, 7);
    detail3.checked = true;
    EXPECT_EQ(CategoryFind(radios).column, 8);
    EXPECT_EQ(CategoryFind(radios).page, 22);
    EXPECT_EQ(CategoryFind(radios).offset, 23);

    // Row 1 has the word as its 主分类, row 2 as its 明细分类2.
    Fill({{"", "", "", "", "Roads", "", "", ""}, {"", "", "", "", "Parks", "", "Roads", ""}});
    detail1.checked = detail3.checked = false;
    Find("roads", CategoryFind(radios));
    EXPECT_EQ(Selected(), Texts{"2"});
    detail2.checked = false;
    Find("roads", CategoryFind(radios));
    EXPECT_EQ(Selected(), Texts{"1"});
}

TEST_F(EditFindTest, TheRowOffsetRowsBelowAHitIsAskedForOnlyWhenItExists) {
    struct Case {
        EditFindColumn find;
        int hit;
        std::vector<int> requested;
    };
    // 40 rows: n − i counts the rows from the hit to the end.
    const Case cases[] = {
        {kFindByCode, 21, {39, 21}},  // n − i = 19
        {kFindByCode, 22, {22}},      // n − i = 18: row 40 does not exist
        {kFindByCode, 23, {39, 23}},  // n − i = 17: the last page
        {kFindByName, 16, {39, 16}},  // n − i = 24
        {kFindByName, 17, {17}},      // n − i = 23
        {kFindByName, 18, {39, 18}},  // n − i = 22
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "column " << c.find.column << ", hit " << c.hit);
        list.removeAllRows();
        FillEmpty(40);
        list.setCell(c.hit, c.find.column, GbkText::fromAscii("x"));
        list.madeVisible.clear();
        Find("x", c.find);
        EXPECT_EQ(list.madeVisible, c.requested);
    }
}

TEST_F(EditFindTest, AFindWithoutHitsDeselectsEveryRowAndReportsNothingAfterTheColon) {
    Fill({{"1001", "Road"}, {"1002", "Park"}});
    list.setHighlighted(0, true);
    list.setHighlighted(1, true);
    Find("Bridge", kFindByName);
    EXPECT_EQ(Selected(), Texts{});
    EXPECT_EQ(resultBox.value,
              "本窗口为信息显示窗口，欢迎使用！\r\n\r\n已查找到MOD个数：0\r\n序号是：");
    EXPECT_TRUE(list.madeVisible.empty());
}

TEST_F(EditFindTest, AnEmptyBoxDoesNothingAndAnEmptyFirstLineFindsEveryFilledCellWhenFuzzy) {
    Fill({{"1001", "Road"}, {"1002", ""}, {"1003", "Park"}});
    list.setHighlighted(1, true);
    Find("", kFindByName);
    EXPECT_EQ(Selected(), Texts{"2"});
    EXPECT_EQ(resultBox.value, "本窗口为信息显示窗口，欢迎使用！");
    EXPECT_EQ(list.focusCount, 0);

    Find("\r\nRoad", kFindByName, true);
    EXPECT_EQ(Selected(), (Texts{"1", "3"}));
    Find("\r\nRoad", kFindByName, false);
    EXPECT_EQ(Selected(), Texts{});
    EXPECT_TRUE(resultBox.value.ends_with("已查找到MOD个数：0\r\n序号是："));
}

TEST_F(EditFindTest, TheListGetsTheFocusWhenARowWasExamined) {
    Fill({{"1001", "Road"}, {"1002", "Park"}});
    Find("road", kFindByName, false);  // no cell equals the text and fuzzy is off
    EXPECT_EQ(list.focusCount, 0);
    Find("Road", kFindByName, false);
    EXPECT_EQ(list.focusCount, 1);
    Find("Bridge", kFindByName, true);
    EXPECT_EQ(list.focusCount, 2);
}

TEST_F(EditFindTest, TheSelectedAuthorsSearchWorksOnTheEditListsOwnControls) {
    Fill({{"1001", "", "Kim"}, {"1002", "", "Ann"}, {"1003", "", "kimberly"}});
    list.setPicked(0, true);
    fuzzy.checked = true;
    SelectedAuthorsSearch(controls);
    EXPECT_EQ(Selected(), (Texts{"1", "3"}));
    EXPECT_FALSE(list.isPicked(0));
    EXPECT_EQ(resultBox.value,
              "本窗口为信息显示窗口，欢迎使用！\r\n\r\n当前共选择MOD个数：1\r\n作者：\r\nKim\r\n"
              "已查找到MOD个数：2\r\n序号是：1，3");
}

}  // namespace
}  // namespace kestavel
