#include "find/MainSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "find/HitScroll.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"

namespace kestavel {
namespace {

using test::Gbk;
using Texts = std::vector<std::string>;

struct Item {
    std::string code{};
    std::string name{};
    std::string author{};
    std::string gone = "假";
    Texts description{};  // pieces 描述1, 描述2, …
};

class MainSearchTest : public ::testing::Test {
  protected:
    // Row r gets 序号 r + 1.
    void Fill(const std::vector<Item>& items) {
        for (const Item& item : items) {
            ItemRow row(19);
            row[0] = GbkText::fromAscii(std::to_string(window.list.rowCount() + 1));
            row[1] = Gbk(item.code);
            row[2] = Gbk(item.name);
            row[3] = Gbk(item.author);
            row[5] = Gbk(item.gone);
            for (std::size_t piece = 0; piece < item.description.size(); ++piece) {
                row[6 + piece] = Gbk(item.description[piece]);
            }
            window.list.appendRow(std::move(row));
        }
    }

    // 序号 texts of the highlighted rows.
    Texts Selected() const {
        Texts numbers;
        for (int r = 0; r < window.list.rowCount(); ++r) {
            if (window.list.isHighlighted(r)) numbers.push_back(window.list.column(0)[r]);
        }
        return numbers;
    }

    void Search(std::string_view item, std::string text, bool fuzzy = true,
                SearchStart start = SearchStart::Button) {
        window.searchCondition.value = std::move(text);
        window.fuzzySearch.checked = fuzzy;
        MainSearch(window.context, item, start);
    }

    test::FakeWindow window;
};

TEST_F(MainSearchTest, NumberItemMatchesWholeTextsOnlyAndCountsHits) {
    std::vector<Item> items(25);
    Fill(items);
    Search("序号", "1", true);
    EXPECT_EQ(Selected(), Texts{"1"});
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n已查找到MOD个数：1");
}

TEST_F(MainSearchTest, FuzzyFoldsAsciiCaseAndExactNeedsTheWholeText) {
    Fill({{"1", "", "ABC Studio"},
          {"2", "", "abc"},
          {"3", "", "xAbCx"},
          {"4", "", "ABC"},
          {"5", "", "ab"},
          {"6", "", "道路abc"}});
    Search("作者", "abc", true);
    EXPECT_EQ(Selected(), (Texts{"1", "2", "3", "4", "6"}));
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n已查找到MOD个数：5\r\n序号是：1，2，3，4，6");

    Search("作者", "abc", false);
    EXPECT_EQ(Selected(), Texts{"2"});
    EXPECT_TRUE(window.resultBox.value.ends_with("\r\n\r\n已查找到MOD个数：1\r\n序号是：2"));
}

TEST_F(MainSearchTest, EachItemComparesItsOwnColumn) {
    Fill({{"1001", "Road Pack", "Kim", "真"},
          {"2001", "Park", "Road Man", "假"},
          {"3001", "Bridge", "Ann", "真"}});
    struct Case {
        const char* item;
        const char* text;
        Texts selected;
    };
    const Case cases[] = {
        {"编码", "001", {"1", "2", "3"}}, {"编码", "2001", {"2"}},        {"名称", "road", {"1"}},
        {"作者", "road", {"2"}},          {"是否失效", "真", {"1", "3"}}, {"是否失效", "假", {"2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " " + c.text);
        Search(c.item, c.text);
        EXPECT_EQ(Selected(), c.selected);
    }
}

TEST_F(MainSearchTest, ChineseIsNeverFoldedAndSecondBytesNeverStartAMatch) {
    // 丄 is 81 41: its second byte reads as "A".
    Fill({{"1", "丄"}, {"2", "高速道路"}, {"3", "ＡＢＣ"}, {"4", "a丄"}});
    struct Case {
        const char* text;
        Texts selected;
    };
    const Case cases[] = {
        {"A", {"4"}}, {"道路", {"2"}}, {"乤", {}}, {"ａｂｃ", {}}, {"ＡＢＣ", {"3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Search("名称", c.text, true);
        EXPECT_EQ(Selected(), c.selected);
    }
}

TEST_F(MainSearchTest, ARunReplacesTheSelectionAndReportsAnEmptyFind) {
    Fill({{"1", "Park"}, {"2", "Road"}, {"3", "Bridge"}});
    window.list.setHighlighted(0, true);
    window.list.setHighlighted(2, true);
    Search("名称", "tunnel");
    EXPECT_EQ(Selected(), Texts{});
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n已查找到MOD个数：0\r\n序号是：");
}

TEST_F(MainSearchTest, NothingHappensForAnEmptyTextOrAnUnknownItem) {
    Fill({{"1", "Road"}, {"2", "Road"}});
    window.list.setHighlighted(1, true);
    Search("名称", "");
    EXPECT_EQ(Selected(), Texts{"2"});
    EXPECT_EQ(window.resultBox.value, "");
    EXPECT_EQ(window.list.focusCount, 0);

    // Another item text deselects every row and stops.
    Search("主分类", "Road", true, SearchStart::EnterKey);
    EXPECT_EQ(Selected(), Texts{});
    EXPECT_EQ(window.resultBox.value, "");
    EXPECT_EQ(window.searchCondition.focusCount, 0);
}

TEST_F(MainSearchTest, GoneItemRefusesTextsOtherThanTrueAndFalse) {
    Fill({{"1", "", "", "真"}, {"2", "", "", "假"}});
    window.list.setHighlighted(0, true);
    Search("是否失效", "是");
    ASSERT_EQ(window.dialogs.asked.size(), 1u);
    EXPECT_EQ(window.dialogs.asked[0].kind, "message");
    EXPECT_EQ(window.dialogs.asked[0].text,
              "请输入[真]或[假]。\r\n[真]代表已失效，[假]代表未失效。");
    EXPECT_EQ(window.dialogs.asked[0].title, "信息：");
    EXPECT_EQ(window.searchCondition.value, "");
    EXPECT_EQ(window.searchCondition.focusCount, 1);
    EXPECT_EQ(Selected(), Texts{});
    EXPECT_EQ(window.resultBox.value, "");
}

TEST_F(MainSearchTest, DescriptionItemSearchesTheJoinedPieces) {
    Fill({{"1", "", "", "假", {"Wide ro", "ads<br>two"}},
          {"2", "", "", "假", {"wide roads<br>two"}},
          {"3", "", "", "假", {"last<br><br>one<br>"}},
          {"4", "", "", "假", {}}});
    Search("MOD信息", "Wide roads<br>two", false);
    EXPECT_EQ(Selected(), Texts{"1"});
    Search("MOD信息", "ROADS", true);
    EXPECT_EQ(Selected(), (Texts{"1", "2"}));
    EXPECT_TRUE(window.resultBox.value.ends_with("已查找到MOD个数：2\r\n序号是：1，2"));
    // The box is left with the last description the scan passed, set once per run.
    EXPECT_EQ(window.descriptionBox.value, "last\r\n\r\none\r\n");
    EXPECT_EQ(window.descriptionBox.history.size(), 2u);
}

TEST_F(MainSearchTest, EnterHandsTheSearchBoxBackWithItsTextSelected) {
    Fill({{"1", "Road"}});
    Search("名称", "Road", true, SearchStart::EnterKey);
    EXPECT_GE(window.list.focusCount, 1);
    EXPECT_EQ(window.searchCondition.focusCount, 1);
    EXPECT_EQ(window.searchCondition.selectAllCount, 1);
    const std::string once = window.resultBox.value;
    Search("名称", "Road", true, SearchStart::EnterKey);
    EXPECT_EQ(window.resultBox.value, once + once);

    Search("名称", "Road", true, SearchStart::Button);
    EXPECT_EQ(window.searchCondition.focusCount, 2);
    EXPECT_EQ(window.searchCondition.selectAllCount, 2);
}

TEST_F(MainSearchTest, TheListGetsTheFocusOnlyWhenARowWasExamined) {
    Fill({{"1", "Road"}, {"2", "Park"}});
    Search("名称", "road", false);
    EXPECT_EQ(window.list.focusCount, 0);
    Search("名称", "Road", false);
    EXPECT_EQ(window.list.focusCount, 1);
    Search("名称", "tunnel", true);
    EXPECT_EQ(window.list.focusCount, 2);
}

TEST_F(MainSearchTest, ATextGbkCannotHoldFindsNothing) {
    Fill({{"1", "Road"}});
    Search("名称", "Road 🚗");
    EXPECT_EQ(Selected(), Texts{});
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n已查找到MOD个数：0\r\n序号是：");
}

TEST(SearchBox, RefusesAMinusOnlyUnderTheNumberItem) {
    EXPECT_TRUE(SearchBoxRefuses("序号", "-"));
    EXPECT_FALSE(SearchBoxRefuses("序号", "1"));
    EXPECT_FALSE(SearchBoxRefuses("编码", "-"));
}

TEST(ScrollToHits, BringsEachHitToTheTopOrShowsTheLastPage) {
    struct Case {
        int rows;
        int hit;
        std::vector<int> requested;
    };
    const Case cases[] = {
        {100, 10, {33, 10}},  // n − i = 90
        {100, 76, {99, 76}},  // n − i = 24: row i + 23 is the last row
        {100, 77, {77}},      // n − i = 23: row i + 23 does not exist
        {100, 78, {99, 78}},  // n − i = 22
        {100, 99, {99, 99}}, {5, 0, {4, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " rows, hit " + std::to_string(c.hit));
        test::FakeItemList list;
        list.appendRows(std::vector<ItemRow>(static_cast<std::size_t>(c.rows)));
        ScrollToHits(list, {c.hit}, kMainHitPage, kMainHitOffset);
        EXPECT_EQ(list.madeVisible, c.requested);
    }
}

TEST_F(MainSearchTest, EveryHitIsScrolledToInTurn) {
    std::vector<Item> items(30);
    items[2].name = "Road";
    items[29].name = "Road";
    Fill(items);
    Search("名称", "Road");
    EXPECT_EQ(window.list.madeVisible, (std::vector<int>{25, 2, 29, 29}));
}

}  // namespace
}  // namespace kestavel
