#include "find/MultiSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "find/SortKeys.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"

namespace kestavel {
namespace {

using Texts = std::vector<std::string>;

constexpr int kTagColumn = 9;

// An edit list whose rows hold the given cells from column 0 on; column 9 tags each row with
// its first place, so a test can see where every row went.
void Fill(test::FakeItemList& list, const std::vector<Texts>& rows) {
    list.removeAllRows();
    std::vector<ItemRow> cells;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ItemRow row(10);
        for (std::size_t c = 0; c < rows[i].size(); ++c) row[c] = test::Gbk(rows[i][c]);
        row[kTagColumn] = GbkText::fromAscii(std::to_string(i));
        cells.push_back(std::move(row));
    }
    list.appendRows(std::move(cells));
}

// The multi-column sort as separate passes: a stable sort by each key, the last key first.
void SortInPasses(SortState& state, ItemList& list, const std::vector<SortKey>& keys) {
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        if (list.rowCount() == 0) continue;
        state.ascending = key->ascending;
        state.keyKind = key->kind;
        SortRows(list, state, BuildSortKeys(list, key->column, key->kind, 4, state.collation));
    }
}

TEST(MultiSort, OneSortGivesTheOrderOfAStableSortPerKeyFromTheLastKeyToTheFirst) {
    // Few distinct cells, so that rows tie in one key and in several; each column holds texts
    // that read differently as text, number and date.
    const Texts cells = {"",
                         "a",
                         "A",
                         "ab",
                         "b",
                         "道路",
                         "1",
                         "1.2",
                         "1.25",
                         "1.25001",
                         "-3",
                         "10",
                         "9",
                         "9999999999",
                         "4294967296",
                         "1e30",
                         "2e30",
                         "-1e30",
                         "-2e30",
                         "Metro Line 1",
                         "Metro Line 2",
                         "metro line 1",
                         "2015-10-04 12:30:00",
                         "2015年10月4日12时30分",
                         "2015/10/4",
                         "1999-1-1",
                         "not a date"};
    // Some also share their leading bytes: long texts, and numbers past 18 digits.
    const Texts few = {"", "b", "1.2", "1.25", "2015/10/4", "Metro Line 2", "1e30"};
    const KeyKind kinds[] = {KeyKind::Text, KeyKind::Number, KeyKind::Date};
    std::mt19937 random(20151004);
    const auto pick = [&random](std::size_t size) { return random() % size; };
    for (int table = 0; table < 150; ++table) {
        // The first table is long enough to be keyed in two halves at once.
        const std::size_t rows = table == 0 ? 4100 : pick(60);
        std::vector<Texts> content(rows, Texts(9));
        for (Texts& row : content) {
            // Columns 0 to 3 draw from a few cells only, the rest from all of them.
            for (std::size_t c = 0; c < row.size(); ++c) {
                row[c] = c < 4 ? few[pick(few.size())] : cells[pick(cells.size())];
            }
        }
        std::vector<SortKey> keys(1 + pick(4));
        for (SortKey& key : keys) {
            // Now and then a column the list lacks.
            key = {static_cast<int>(pick(12)) - 1, pick(2) == 0, kinds[pick(3)]};
        }
        SCOPED_TRACE(::testing::Message()
                     << "table " << table << ", " << rows << " rows, " << keys.size() << " keys");

        test::FakeItemList once(10);
        test::FakeItemList inPasses(10);
        Fill(once, content);
        Fill(inPasses, content);
        SortState onceState(Collation::ForLocale("en_US"));
        SortState passesState(Collation::ForLocale("en_US"));
        MultiSort(onceState, once, keys);
        SortInPasses(passesState, inPasses, keys);
        ASSERT_EQ(once.column(kTagColumn), inPasses.column(kTagColumn));
        EXPECT_EQ(onceState.ascending, passesState.ascending);
        EXPECT_EQ(onceState.keyKind, passesState.keyKind);
    }
}

TEST(MultiSort, ALongListOrdersAsAPlainStableSortOfItsValues) {
    // Long enough to be keyed and ordered in two halves at once; few values, so most rows tie.
    std::mt19937 random(4);
    struct Row {
        int number;
        std::string letter;
        std::size_t place;
    };
    std::vector<Row> rows;
    std::vector<Texts> cells;
    for (std::size_t i = 0; i < 9000; ++i) {
        rows.push_back({static_cast<int>(random() % 30), std::string(1, "abcde"[random() % 5]), i});
        cells.push_back({std::to_string(rows.back().number), rows.back().letter});
    }
    test::FakeItemList list(10);
    Fill(list, cells);
    SortState state(Collation::ForLocale("en_US"));
    MultiSort(state, list, {{0, false, KeyKind::Number}, {1, true, KeyKind::Text}});

    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.number != b.number ? a.number > b.number : a.letter < b.letter;
    });
    Texts expected;
    for (const Row& row : rows) expected.push_back(std::to_string(row.place));
    EXPECT_EQ(list.column(kTagColumn), expected);
}

TEST(MultiSort, NumbersCountFourDecimalsAndKeepEveryDigit) {
    SortState state(Collation::ForLocale("en_US"));
    test::FakeItemList list(10);
    // 编码 of ten digits times 10000 lies far past 32 bits; cut there, these would wrap.
    // Past 18 digits a number is longer than any machine word holds.
    const Texts ascending = {"-2e25",
                             "-1e25",
                             "1.2",
                             "1.20001",
                             "1.25",
                             "2147483647.9999",
                             "2147483648",
                             "4294967296",
                             "9999999999",
                             "10000000000",
                             "123456789012345678901",
                             "123456789012345678902"};
    std::vector<Texts> shuffled;
    for (const std::size_t i : {8, 11, 7, 1, 6, 4, 2, 10, 3, 0, 9, 5}) {
        shuffled.push_back({ascending[i]});
    }
    Fill(list, shuffled);
    MultiSort(state, list, {{0, true, KeyKind::Number}});
    EXPECT_EQ(list.column(0), ascending);
    EXPECT_TRUE(state.ascending);
    EXPECT_EQ(state.keyKind, KeyKind::Number);
}

TEST(MultiSort, AnEmptyListOrKeyListLeavesEverythingAsItWas) {
    SortState state(Collation::ForLocale("en_US"));
    test::FakeItemList list(10);
    MultiSort(state, list, {{1, true, KeyKind::Text}});
    EXPECT_FALSE(state.ascending);
    EXPECT_FALSE(state.keyKind.has_value());

    Fill(list, {{"b"}, {"a"}});
    MultiSort(state, list, {});
    EXPECT_EQ(list.column(0), (Texts{"b", "a"}));
    EXPECT_FALSE(state.keyKind.has_value());
}

TEST(KeyList, ReadsEachTableRowThatNamesAColumn) {
    const std::vector<KeyTableRow> table = {
        {"2", "升序", "数值型"},
        {"", "升序", "文本型"},  // no column: skipped whatever else it holds
        {"10", "降序", "文本型"},
        {"3", "", ""},
        {"4", "升序 ", "日期型"},
        {"2.9", "升序", "文本型 "},
        {"0.5", "升序", "数值型"},  // 0.5 − 1 cuts to 0
        {"0", "升序", "数值型"},
        {"abc", "升序", "数值型"},
        {"１２", "升序", "数值型"},
        {"99999999999999999999", "升序", "数值型"},
    };
    const std::vector<SortKey> expected = {
        {1, true, KeyKind::Number},  {9, false, KeyKind::Text},   {2, false, KeyKind::Date},
        {3, false, KeyKind::Date},   {1, true, KeyKind::Date},    {0, true, KeyKind::Number},
        {-1, true, KeyKind::Number}, {-1, true, KeyKind::Number}, {11, true, KeyKind::Number},
        {-1, true, KeyKind::Number},
    };
    EXPECT_EQ(KeyList(table), expected);
}

}  // namespace
}  // namespace kestavel
