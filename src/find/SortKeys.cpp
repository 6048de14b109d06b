#include "find/SortKeys.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <thread>

#include "find/DateRead.h"
#include "platform/CodePage.h"
#include "platform/LeadingBytes.h"

namespace kestavel {
namespace {

constexpr std::size_t kRowsWorthASecondThread = 4096;
// Rows keyed for every source before the next rows, so each row's cells are fetched once.
constexpr std::size_t kRowsABlock = 256;

constexpr std::uint64_t kLowestLead = 0;
constexpr std::uint64_t kHighestLead = std::numeric_limits<std::uint64_t>::max();

// Every part within its field's width: dates order exactly as these numbers.
std::uint64_t DateLead(const LocalDateTime& t) {
    return static_cast<std::uint64_t>(t.year) << 26 | static_cast<std::uint64_t>(t.month) << 22 |
           static_cast<std::uint64_t>(t.day) << 17 | static_cast<std::uint64_t>(t.hour) << 12 |
           static_cast<std::uint64_t>(t.minute) << 6 | static_cast<std::uint64_t>(t.second);
}

// Numbers of up to 18 digits moved into the unsigned range; longer ones at its two ends, which
// no shorter number reaches.
std::optional<std::uint64_t> NumberLead(const WholeNumber& number) {
    constexpr std::uint64_t kZero = std::uint64_t{1} << 63;
    if (const std::optional<std::int64_t> value = number.value()) {
        return kZero + static_cast<std::uint64_t>(*value);
    }
    return std::nullopt;
}

// One thread's share of the keying: the rows from first to end, for every source.
class PartKeyer {
  public:
    PartKeyer(const ItemList& list, const Collation& collation)
        : list_(list), collation_(collation) {}

    void add(const KeySource& source, std::size_t first, std::size_t end,
             std::vector<std::uint64_t>& leads, ColumnKeys::Part& part) {
        fetch(source.column, first, end);
        for (std::size_t row = first; row < end; ++row) {
            const GbkText& cell = *cells_[row - first];
            switch (source.kind) {
                case KeyKind::Text: {
                    decoder_.toUtf16(cell, text_);
                    part.texts.add(collation_, text_);
                    leads[row] = LeadingBytes(part.texts[row - part.first]);
                    break;
                }
                case KeyKind::Date:
                    leads[row] = DateLead(DateRead(cell));
                    break;
                case KeyKind::Number: {
                    WholeNumber number = ReadWholeNumber(cell, source.decimalPlaces);
                    if (const std::optional<std::uint64_t> lead = NumberLead(number)) {
                        leads[row] = *lead;
                    } else {
                        leads[row] = number > WholeNumber() ? kHighestLead : kLowestLead;
                        part.longNumbers.emplace_back(row, std::move(number));
                    }
                    break;
                }
            }
        }
    }

  private:
    // The cells of the rows, their memory asked for all at once and ahead of the reading, so
    // that rows do not wait for memory one after another.
    void fetch(int column, std::size_t first, std::size_t end) {
        cells_.clear();
        for (std::size_t row = first; row < end; ++row) {
            const GbkText& cell = list_.cell(static_cast<int>(row), column);
            __builtin_prefetch(&cell);
            cells_.push_back(&cell);
        }
        for (const GbkText* cell : cells_) __builtin_prefetch(cell->view().data());
    }

    const ItemList& list_;
    const Collation& collation_;
    GbkDecoder decoder_;
    std::u16string text_;
    std::vector<const GbkText*> cells_;
};

struct Entry {
    std::uint64_t lead;
    int row;
};

// A stable sort of the entries by their leads, a byte at a time from the lowest; bytes that
// every entry shares need no pass.
void SortByLead(std::vector<Entry>& entries) {
    constexpr int kBytes = 8;
    std::array<std::array<std::size_t, 256>, kBytes> counts{};
    for (const Entry& entry : entries) {
        for (int byte = 0; byte < kBytes; ++byte) ++counts[byte][(entry.lead >> (8 * byte)) & 0xFF];
    }
    std::vector<Entry> moved(entries.size());
    for (int byte = 0; byte < kBytes; ++byte) {
        std::array<std::size_t, 256>& places = counts[byte];
        if (std::find(places.begin(), places.end(), entries.size()) != places.end()) continue;
        std::size_t place = 0;
        for (std::size_t& count : places) place += std::exchange(count, place);
        for (const Entry& entry : entries)
            moved[places[(entry.lead >> (8 * byte)) & 0xFF]++] = entry;
        entries.swap(moved);
    }
}

}  // namespace

void TextKeys::reserve(std::size_t rows) {
    // Room for keys of a typical title; longer ones make the buffer grow.
    bytes_.reserve(rows * 48);
    ends_.reserve(rows);
}

void TextKeys::add(const Collation& collation, std::u16string_view text) {
    collation.appendSortKey(text, bytes_);
    ends_.push_back(bytes_.size());
}

std::string_view TextKeys::operator[](std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_).substr(start, ends_[i] - start);
}

ColumnKeys::ColumnKeys(KeyKind kind, std::size_t rows) : kind_(kind), leads_(rows) {}

const ColumnKeys::Part& ColumnKeys::partOf(std::size_t row) const {
    auto part = parts_.end();
    while (part != parts_.begin() && (part - 1)->first > row) --part;
    return *(part - 1);
}

std::string_view ColumnKeys::text(std::size_t row) const {
    const Part& part = partOf(row);
    return part.texts[row - part.first];
}

const WholeNumber& ColumnKeys::longNumber(std::size_t row) const {
    const auto& numbers = partOf(row).longNumbers;
    return std::lower_bound(numbers.begin(), numbers.end(), row,
                            [](const auto& entry, std::size_t r) { return entry.first < r; })
        ->second;
}

bool ColumnKeys::leadsAreWhole() const {
    if (kind_ == KeyKind::Text) return false;
    return std::all_of(parts_.begin(), parts_.end(),
                       [](const Part& part) { return part.longNumbers.empty(); });
}

int ColumnKeys::compareEqualLeads(std::size_t a, std::size_t b) const {
    switch (kind_) {
        case KeyKind::Text: {
            const int order = text(a).compare(text(b));
            return order < 0 ? -1 : order > 0 ? 1 : 0;
        }
        case KeyKind::Number: {
            // Equal leads at either end belong to two numbers too long for a lead.
            if (leads_[a] != kLowestLead && leads_[a] != kHighestLead) return 0;
            const std::strong_ordering order = longNumber(a) <=> longNumber(b);
            return order < 0 ? -1 : order > 0 ? 1 : 0;
        }
        case KeyKind::Date:
            break;
    }
    return 0;
}

std::vector<ColumnKeys> BuildSortKeys(const ItemList& list, const std::vector<KeySource>& sources,
                                      const Collation& collation) {
    const auto rows = static_cast<std::size_t>(list.rowCount());
    std::vector<ColumnKeys> keys;
    keys.reserve(sources.size());
    for (const KeySource& source : sources) keys.emplace_back(source.kind, rows);

    const auto keyRows = [&](std::size_t first, std::size_t end, const Collation& order,
                             std::vector<ColumnKeys::Part>& parts) {
        parts.resize(sources.size());
        for (std::size_t k = 0; k < sources.size(); ++k) {
            parts[k].first = first;
            if (sources[k].kind == KeyKind::Text) parts[k].texts.reserve(end - first);
        }
        PartKeyer keyer(list, order);
        for (std::size_t block = first; block < end; block += kRowsABlock) {
            const std::size_t blockEnd = std::min(end, block + kRowsABlock);
            for (std::size_t k = 0; k < sources.size(); ++k) {
                keyer.add(sources[k], block, blockEnd, keys[k].leads_, parts[k]);
            }
        }
    };
    // Keying is the costly part of a sort, collation keys above all: a long list is keyed in
    // two halves at once, each half writing the leads of its own rows.
    const std::size_t half = rows >= kRowsWorthASecondThread ? rows / 2 : rows;
    std::vector<ColumnKeys::Part> firstParts;
    std::vector<ColumnKeys::Part> laterParts;
    {
        std::jthread later;
        if (half < rows) {
            later = std::jthread(
                [&, copy = collation.clone()] { keyRows(half, rows, copy, laterParts); });
        }
        keyRows(0, half, collation, firstParts);
    }
    for (std::size_t k = 0; k < keys.size(); ++k) {
        keys[k].parts_.push_back(std::move(firstParts[k]));
        if (half < rows) keys[k].parts_.push_back(std::move(laterParts[k]));
    }
    return keys;
}

ColumnKeys BuildSortKeys(const ItemList& list, int column, KeyKind kind, int decimalPlaces,
                         const Collation& collation) {
    return std::move(BuildSortKeys(list, {{column, kind, decimalPlaces}}, collation).front());
}

int CompareRows(const ColumnKeys& keys, bool ascending, std::size_t a, std::size_t b) {
    int order = keys.lead(a) < keys.lead(b)   ? -1
                : keys.lead(a) > keys.lead(b) ? 1
                                              : keys.compareEqualLeads(a, b);
    return ascending ? order : -order;
}

std::vector<int> SortedOrder(const std::vector<OrderKey>& keys) {
    if (keys.empty()) return {};
    const ColumnKeys& first = keys.front().keys;
    const bool ascending = keys.front().ascending;
    const std::size_t rows = first.size();
    // Descending, the leads are turned over, which keeps equal leads equal.
    std::vector<Entry> entries(rows);
    for (std::size_t row = 0; row < rows; ++row) {
        entries[row] = {ascending ? first.lead(row) : ~first.lead(row), static_cast<int>(row)};
    }
    SortByLead(entries);

    // Rows of equal leads stand together in their order; only there is more to compare. The
    // whole text keys of a run are looked up once, not once a comparison.
    if (keys.size() > 1 || !first.leadsAreWhole()) {
        const bool byText = first.kind() == KeyKind::Text;
        struct RunEntry {
            std::string_view text;
            int row;
        };
        const auto before = [&](const RunEntry& a, const RunEntry& b) {
            const auto rowA = static_cast<std::size_t>(a.row);
            const auto rowB = static_cast<std::size_t>(b.row);
            int order = byText ? a.text.compare(b.text) : first.compareEqualLeads(rowA, rowB);
            if (!ascending) order = -order;
            for (std::size_t k = 1; order == 0 && k < keys.size(); ++k) {
                order = CompareRows(keys[k].keys, keys[k].ascending, rowA, rowB);
            }
            return order != 0 ? order < 0 : a.row < b.row;
        };
        using Place = std::vector<Entry>::iterator;
        const auto sortRuns = [&](Place from, Place to) {
            std::vector<RunEntry> run;
            for (Place start = from; start != to;) {
                const Place end = std::find_if(
                    start, to, [&](const Entry& entry) { return entry.lead != start->lead; });
                if (end - start > 1) {
                    run.clear();
                    for (Place entry = start; entry != end; ++entry) {
                        const auto row = static_cast<std::size_t>(entry->row);
                        run.push_back({byText ? first.text(row) : std::string_view(), entry->row});
                    }
                    std::sort(run.begin(), run.end(), before);
                    for (std::size_t i = 0; i < run.size(); ++i) start[i].row = run[i].row;
                }
                start = end;
            }
        };
        // A long list's runs are sorted in two halves at once, split where a run ends.
        Place middle = entries.end();
        if (rows >= kRowsWorthASecondThread) {
            middle = entries.begin() + static_cast<std::ptrdiff_t>(rows / 2);
            while (middle != entries.end() && middle->lead == (middle - 1)->lead) ++middle;
        }
        std::jthread later;
        if (middle != entries.end()) later = std::jthread(sortRuns, middle, entries.end());
        sortRuns(entries.begin(), middle);
    }
    std::vector<int> order(rows);
    for (std::size_t i = 0; i < rows; ++i) order[i] = entries[i].row;
    return order;
}

void SortRows(ItemList& list, const SortState& state, const ColumnKeys& keys) {
    list.reorderRows(SortedOrder({{keys, state.ascending}}));
}

}  // namespace kestavel
