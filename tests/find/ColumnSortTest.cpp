#include "find/ColumnSort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "find/SortKeys.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"

namespace kestavel {
namespace {

using Texts = std::vector<std::string>;

constexpr int kNumber = 0;
constexpr int kCode = 1;
constexpr int kName = 2;
constexpr int kAuthor = 3;
constexpr int kUpdated = 18;

// Rows whose cells in one column hold the given texts; column 5 tags each row with its place,
// so a test can see where every row went.
void Fill(test::FakeItemList& list, int column, const Texts& texts) {
    list.removeAllRows();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ItemRow row(19);
        row[static_cast<std::size_t>(column)] = test::Gbk(texts[i]);
        row[5] = GbkText::fromAscii(std::to_string(i));
        list.appendRow(std::move(row));
    }
}

Texts Tags(const test::FakeItemList& list) {
    return list.column(5);
}

class ColumnSortTest : public ::testing::Test {
  protected:
    // The text order depends on the locale, so it is fixed here.
    SortState state{Collation::ForLocale("en_US")};
    test::FakeItemList list;
    test::FakeTextBox progressBox{"", false};
};

TEST_F(ColumnSortTest, DirectionAlternatesOnEveryClickAcrossColumnsAndLists) {
    Fill(list, kName, {"b", "c", "a"});
    HeaderClick(state, list, progressBox, kName);
    EXPECT_EQ(list.column(kName), (Texts{"a", "b", "c"}));
    HeaderClick(state, list, progressBox, kName);
    EXPECT_EQ(list.column(kName), (Texts{"c", "b", "a"}));

    // Column 0 ascending, then column 1 descending: the flip ignores the column.
    Fill(list, kNumber, {"2", "3", "1"});
    for (int row = 0; row < 3; ++row) list.setCell(row, kCode, list.cell(row, kNumber));
    HeaderClick(state, list, progressBox, kNumber);
    EXPECT_EQ(list.column(kNumber), (Texts{"1", "2", "3"}));
    HeaderClick(state, list, progressBox, kCode);
    EXPECT_EQ(list.column(kCode), (Texts{"3", "2", "1"}));

    // The other window's list continues the same alternation.
    test::FakeItemList editList(10);
    Fill(editList, kName, {"b", "a", "c"});
    HeaderClick(state, editList, progressBox, kName);
    EXPECT_EQ(editList.column(kName), (Texts{"a", "b", "c"}));
    EXPECT_EQ(state.target, &editList);
    Fill(list, kNumber, {"2", "1", "3"});
    HeaderClick(state, list, progressBox, kNumber);
    EXPECT_EQ(list.column(kNumber), (Texts{"3", "2", "1"}));
}

TEST_F(ColumnSortTest, TheTimeMessageNamesColumnAndRowCountAndKeepsTheBoxHidden) {
    Fill(list, kName, {"b", "a", "c"});
    HeaderClick(state, list, progressBox, kName);
    const std::string prefix = "对第2列中的3条记录排序，共耗时：";
    const std::string suffix = "毫秒";
    const std::string& message = progressBox.value;
    ASSERT_TRUE(message.starts_with(prefix)) << message;
    ASSERT_TRUE(message.ends_with(suffix)) << message;
    const std::string elapsed =
        message.substr(prefix.size(), message.size() - prefix.size() - suffix.size());
    EXPECT_FALSE(elapsed.empty());
    EXPECT_EQ(elapsed.find_first_not_of("0123456789"), std::string::npos) << message;
    EXPECT_FALSE(progressBox.visible);
}

TEST_F(ColumnSortTest, NumberColumnsSortByValueAndTextColumnsByText) {
    const Texts codes = {"10", "9", "2147483648", "100", "123456789012345678901"};
    Fill(list, kCode, codes);
    HeaderClick(state, list, progressBox, kCode);
    EXPECT_EQ(list.column(kCode), (Texts{"9", "10", "100", "2147483648", "123456789012345678901"}));

    state.ascending = false;
    Fill(list, kName, {"9", "10"});
    HeaderClick(state, list, progressBox, kName);
    EXPECT_EQ(list.column(kName), (Texts{"10", "9"}));

    // Case counts in the locale's order: letters first, then lower before upper case.
    state.ascending = false;
    Fill(list, kAuthor, {"B", "b", "A", "a"});
    HeaderClick(state, list, progressBox, kAuthor);
    EXPECT_EQ(list.column(kAuthor), (Texts{"a", "A", "b", "B"}));
}

TEST_F(ColumnSortTest, EqualKeysKeepTheirOrderInBothDirections) {
    // 12.9 and 12.3 both read as 12; an empty cell reads as 0.
    Fill(list, kNumber, {"12.9", "", "12.3", "13", "-1", "12"});
    HeaderClick(state, list, progressBox, kNumber);
    EXPECT_EQ(list.column(kNumber), (Texts{"-1", "", "12.9", "12.3", "12", "13"}));
    HeaderClick(state, list, progressBox, kNumber);
    EXPECT_EQ(list.column(kNumber), (Texts{"13", "12.9", "12.3", "12", "", "-1"}));

    // Enough rows that an unstable sort would not keep them in order by chance.
    const Texts authors = {"Kim", "Ann", "Bo"};
    Texts cells;
    for (int i = 0; i < 60; ++i) cells.push_back(authors[static_cast<std::size_t>(i % 3)]);
    Texts expected;
    for (const std::string& author : Texts{"Ann", "Bo", "Kim"}) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i] == author) expected.push_back(std::to_string(i));
        }
    }
    state.ascending = false;
    Fill(list, kAuthor, cells);
    HeaderClick(state, list, progressBox, kAuthor);
    EXPECT_EQ(Tags(list), expected);
}

TEST_F(ColumnSortTest, DatesSortInTimeWithNonDatesAsTheEarliest) {
    Fill(list, kUpdated,
         {"2015年10月4日12时30分", "", "2015/10/4", "1899-12-29 06:00", "no date",
          "1899-12-29 18:00", "2015-10-04 12:30:01"});
    ColumnSort(state, list, kUpdated, KeyKind::Date);
    EXPECT_TRUE(state.ascending);
    EXPECT_EQ(list.column(kUpdated),
              (Texts{"", "no date", "1899-12-29 06:00", "1899-12-29 18:00", "2015/10/4",
                     "2015年10月4日12时30分", "2015-10-04 12:30:01"}));
}

TEST_F(ColumnSortTest, HeaderArrowsFollowTheArrowRule) {
    Fill(list, kName, {"b", "a"});
    HeaderClick(state, list, progressBox, kNumber);
    EXPECT_TRUE(list.arrowsShown);
    EXPECT_EQ(list.headerArrow(kNumber), HeaderArrow::Up);

    SortState fresh{Collation::ForLocale("en_US")};
    test::FakeItemList other;
    Fill(other, kName, {"b", "a"});
    HeaderClick(fresh, other, progressBox, kName);
    EXPECT_TRUE(fresh.ascending);
    EXPECT_EQ(other.headerArrow(kName), HeaderArrow::Down);
    EXPECT_EQ(other.headerArrow(kNumber), HeaderArrow::None);

    // The same column flips its triangle; a new column takes it over and the old one clears.
    HeaderClick(fresh, other, progressBox, kName);
    EXPECT_EQ(other.headerArrow(kName), HeaderArrow::Up);
    HeaderClick(fresh, other, progressBox, kAuthor);
    EXPECT_EQ(other.headerArrow(kAuthor), HeaderArrow::Up);
    EXPECT_EQ(other.headerArrow(kName), HeaderArrow::None);
    EXPECT_EQ(fresh.arrowColumn, kAuthor);
}

TEST_F(ColumnSortTest, AnEmptyListOnlyFlipsTheDirection) {
    list.setHeaderArrow(kNumber, HeaderArrow::Up);
    HeaderClick(state, list, progressBox, kAuthor);
    EXPECT_TRUE(state.ascending);
    EXPECT_TRUE(list.arrowsShown);
    EXPECT_EQ(list.headerArrow(kNumber), HeaderArrow::Up);
    EXPECT_EQ(list.headerArrow(kAuthor), HeaderArrow::None);
    EXPECT_EQ(state.arrowColumn, 0);
    EXPECT_TRUE(progressBox.value.starts_with("对第3列中的0条记录排序，共耗时："));
}

TEST_F(ColumnSortTest, ScaledNumberKeysCountDecimalPlaces) {
    // A multi-column pass keys numbers with four decimal places; a header click with none.
    Fill(list, kName, {"1.25", "1.2"});
    state.ascending = true;
    SortRows(list, state, BuildSortKeys(list, kName, KeyKind::Number, 0, state.collation));
    EXPECT_EQ(list.column(kName), (Texts{"1.25", "1.2"}));
    SortRows(list, state, BuildSortKeys(list, kName, KeyKind::Number, 4, state.collation));
    EXPECT_EQ(list.column(kName), (Texts{"1.2", "1.25"}));
}

}  // namespace
}  // namespace kestavel
