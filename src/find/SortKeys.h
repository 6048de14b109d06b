#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/ItemList.h"
#include "find/SortState.h"
#include "find/WholeNumber.h"

namespace kestavel {

// The collation sort keys of texts, one per row, packed into one buffer so that keying many
// rows allocates almost nothing.
class TextKeys {
  public:
    void reserve(std::size_t rows);
    void add(const Collation& collation, std::u16string_view text);
    std::string_view operator[](std::size_t i) const;

  private:
    std::string bytes_;
    std::vector<std::size_t> ends_;
};

// What one column's keys are built from: its cells, keyed as the kind says. Numbers are scaled
// by 10 to the decimalPlaces (0 for a header click) before they are cut to whole numbers; other
// kinds ignore it.
struct KeySource {
    int column;
    KeyKind kind;
    int decimalPlaces;
};

// The keys of one column, built once from its cells. Each row has a 64-bit lead that orders as
// its key does wherever two leads differ: the date itself, a number of up to 18 digits, the
// first eight bytes of a text's collation key. Rows whose leads are equal are ordered by what is
// kept beside: the whole collation keys of texts and the numbers too long for a lead.
class ColumnKeys {
  public:
    ColumnKeys(KeyKind kind, std::size_t rows);

    // What the keys of a run of rows from `first` on keep beside their leads.
    struct Part {
        std::size_t first = 0;
        TextKeys texts;
        std::vector<std::pair<std::size_t, WholeNumber>> longNumbers;  // by row, ascending
    };

    KeyKind kind() const { return kind_; }
    std::size_t size() const { return leads_.size(); }
    std::uint64_t lead(std::size_t row) const { return leads_[row]; }
    // A text's whole collation key.
    std::string_view text(std::size_t row) const;
    // Negative, 0 or positive as the key of row a is below, equal to or above that of row b,
    // given that their leads are equal.
    int compareEqualLeads(std::size_t a, std::size_t b) const;
    // Whether the leads alone order the rows: dates, and numbers none of which is too long.
    bool leadsAreWhole() const;

  private:
    friend std::vector<ColumnKeys> BuildSortKeys(const ItemList& list,
                                                 const std::vector<KeySource>& sources,
                                                 const Collation& collation);
    const Part& partOf(std::size_t row) const;
    const WholeNumber& longNumber(std::size_t row) const;

    KeyKind kind_;
    std::vector<std::uint64_t> leads_;
    std::vector<Part> parts_;
};

// The keys of every row, one column's keys per source, built in one pass over the rows.
std::vector<ColumnKeys> BuildSortKeys(const ItemList& list, const std::vector<KeySource>& sources,
                                      const Collation& collation);

// The keys of every row from its cell in column.
ColumnKeys BuildSortKeys(const ItemList& list, int column, KeyKind kind, int decimalPlaces,
                         const Collation& collation);

// The compare routine of every sort: negative, 0 or positive as row a comes before, level with
// or after row b by the keys in the given direction.
int CompareRows(const ColumnKeys& keys, bool ascending, std::size_t a, std::size_t b);

// One column's keys and the direction its rows are ordered in.
struct OrderKey {
    const ColumnKeys& keys;
    bool ascending;
};

// The rows ordered by the keys, the first the most significant; rows equal in all of them keep
// their order, so this is the order that stable sorts by each key from the last to the first
// give. order[i] is the row that comes i-th.
std::vector<int> SortedOrder(const std::vector<OrderKey>& keys);

// Reorders the list by the keys in the state's direction; rows whose keys are equal keep their
// order.
void SortRows(ItemList& list, const SortState& state, const ColumnKeys& keys);

}  // namespace kestavel
