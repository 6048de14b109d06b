#include "find/MultiSort.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "find/SortKeys.h"
#include "find/WholeNumber.h"
#include "platform/CodePage.h"
#include "platform/LeadingBytes.h"

namespace kestavel {
namespace {

constexpr int kNoColumn = -1;
// Numbers count four decimal places here, where a header click counts none.
constexpr int kDecimalPlaces = 4;

int ColumnOf(const std::string& cell) {
    const GbkText text = Utf8ToGbk(cell);
    const WholeNumber whole = ReadWholeNumber(text, 0);
    if (whole > WholeNumber()) {
        const std::optional<std::int64_t> number = whole.value();
        return number && *number <= std::numeric_limits<int>::max() ? static_cast<int>(*number - 1)
                                                                    : kNoColumn;
    }
    // Below 1, the number minus 1 cuts to 0 only for a fraction above zero.
    return NumberSign(text) > 0 ? 0 : kNoColumn;
}

KeyKind KindOf(std::string_view cell) {
    if (cell == "文本型") return KeyKind::Text;
    if (cell == "数值型") return KeyKind::Number;
    return KeyKind::Date;
}

// 64-bit numbers that order as the keys do wherever two of them differ, so that most
// comparisons look at nothing else.
std::uint64_t LeadOf(std::string_view textKey) {
    return LeadingBytes(textKey);
}

// Every part within its field's width: dates order exactly as these numbers.
std::uint64_t LeadOf(const LocalDateTime& t) {
    return static_cast<std::uint64_t>(t.year) << 26 | static_cast<std::uint64_t>(t.month) << 22 |
           static_cast<std::uint64_t>(t.day) << 17 | static_cast<std::uint64_t>(t.hour) << 12 |
           static_cast<std::uint64_t>(t.minute) << 6 | static_cast<std::uint64_t>(t.second);
}

// Numbers of up to 18 digits moved into the unsigned range; longer ones at its ends.
std::uint64_t LeadOf(const WholeNumber& number) {
    constexpr std::uint64_t kZero = std::uint64_t{1} << 63;
    if (const std::optional<std::int64_t> value = number.value()) {
        return kZero + static_cast<std::uint64_t>(*value);
    }
    return number > WholeNumber() ? std::numeric_limits<std::uint64_t>::max() : 0;
}

// One key's values of every row: the leads, and the keys for rows whose leads are equal.
class KeyColumn {
  public:
    KeyColumn(SortKeys keys, bool ascending) : keys_(std::move(keys)), ascending_(ascending) {
        std::visit(
            [this](const auto& rowKeys) {
                leads_.reserve(rowKeys.size());
                for (std::size_t row = 0; row < rowKeys.size(); ++row) {
                    leads_.push_back(LeadOf(rowKeys[row]));
                }
            },
            keys_);
    }

    bool ascending() const { return ascending_; }
    std::uint64_t lead(int row) const { return leads_[static_cast<std::size_t>(row)]; }

    // Negative, 0 or positive as row a comes before, level with or after row b by this key.
    int compare(int a, int b) const {
        if (lead(a) != lead(b)) return (lead(a) < lead(b)) == ascending_ ? -1 : 1;
        return compareEqualLeads(a, b);
    }

    // The same for two rows whose leads are equal.
    int compareEqualLeads(int a, int b) const {
        const auto first = static_cast<std::size_t>(a);
        const auto second = static_cast<std::size_t>(b);
        if (const auto* texts = std::get_if<TextKeys>(&keys_)) {
            return CompareKeys(ascending_, (*texts)[first], (*texts)[second]);
        }
        if (const auto* numbers = std::get_if<std::vector<WholeNumber>>(&keys_)) {
            return CompareKeys(ascending_, (*numbers)[first], (*numbers)[second]);
        }
        return 0;  // a date's lead is the whole date
    }

  private:
    SortKeys keys_;
    std::vector<std::uint64_t> leads_;
    bool ascending_;
};

// Rows by the first column's lead, kept beside the row so the sort mostly reads nothing else,
// then by the columns in turn; the row's place settles full ties, so equal rows keep their order.
std::vector<int> OrderByAll(const std::vector<KeyColumn>& columns, int rows) {
    struct Entry {
        std::uint64_t lead;
        int row;
    };
    const KeyColumn& first = columns.front();
    std::vector<Entry> entries(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        entries[static_cast<std::size_t>(row)] = {first.lead(row), row};
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.lead != b.lead) return (a.lead < b.lead) == first.ascending();
        int order = first.compareEqualLeads(a.row, b.row);
        for (std::size_t k = 1; order == 0 && k < columns.size(); ++k) {
            order = columns[k].compare(a.row, b.row);
        }
        return order != 0 ? order < 0 : a.row < b.row;
    });
    std::vector<int> order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) order[i] = entries[i].row;
    return order;
}

}  // namespace

std::vector<SortKey> KeyList(const std::vector<KeyTableRow>& table) {
    std::vector<SortKey> keys;
    for (const KeyTableRow& row : table) {
        if (row.column.empty()) continue;
        keys.push_back({ColumnOf(row.column), row.direction == "升序", KindOf(row.kind)});
    }
    return keys;
}

void MultiSort(SortState& state, ItemList& list, const std::vector<SortKey>& keys) {
    const int rows = list.rowCount();
    if (keys.empty() || rows == 0) return;
    state.ascending = keys.front().ascending;
    state.keyKind = keys.front().kind;
    std::vector<KeySource> sources;
    std::vector<bool> ascending;
    for (const SortKey& key : keys) {
        // A column the list lacks gives every row the same empty cell, which orders nothing.
        if (key.column < 0 || key.column >= list.columnCount()) continue;
        sources.push_back({key.column, key.kind, kDecimalPlaces});
        ascending.push_back(key.ascending);
    }
    std::vector<SortKeys> keyed = BuildSortKeys(list, sources, state.collation);
    std::vector<KeyColumn> columns;
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        columns.emplace_back(std::move(keyed[k]), ascending[k]);
    }
    if (columns.empty()) return;
    list.reorderRows(OrderByAll(columns, rows));
}

}  // namespace kestavel
