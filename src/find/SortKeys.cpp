#include "find/SortKeys.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <thread>
#include <type_traits>

#include "find/DateRead.h"
#include "platform/CodePage.h"
#include "platform/LeadingBytes.h"

namespace kestavel {
namespace {

constexpr std::size_t kRowsWorthASecondThread = 4096;
// Rows keyed for every source before the next rows, so each row's cells are fetched once.
constexpr std::size_t kRowsABlock = 256;

SortKeys NoKeys(KeyKind kind, std::size_t rows) {
    switch (kind) {
        case KeyKind::Date: {
            std::vector<LocalDateTime> dates;
            dates.reserve(rows);
            return dates;
        }
        case KeyKind::Number: {
            std::vector<WholeNumber> numbers;
            numbers.reserve(rows);
            return numbers;
        }
        case KeyKind::Text:
            break;
    }
    return TextKeys(rows);
}

// The keys of one source for the rows from first to end, after those the keys hold already.
class KeyMaker {
  public:
    explicit KeyMaker(const Collation& collation) : collation_(collation) {}

    void add(const ItemList& list, const KeySource& source, std::size_t first, std::size_t end,
             SortKeys& keys) {
        const auto cell = [&](std::size_t row) -> const GbkText& {
            return list.cell(static_cast<int>(row), source.column);
        };
        std::visit(
            [&](auto& rowKeys) {
                using Keys = std::decay_t<decltype(rowKeys)>;
                for (std::size_t row = first; row < end; ++row) {
                    if constexpr (std::is_same_v<Keys, TextKeys>) {
                        decoder_.toUtf16(cell(row), text_);
                        rowKeys.add(collation_, text_);
                    } else if constexpr (std::is_same_v<Keys, std::vector<LocalDateTime>>) {
                        rowKeys.push_back(DateRead(cell(row)));
                    } else {
                        rowKeys.push_back(ReadWholeNumber(cell(row), source.decimalPlaces));
                    }
                }
            },
            keys);
    }

  private:
    const Collation& collation_;
    GbkDecoder decoder_;
    std::u16string text_;
};

std::vector<SortKeys> KeysOfRows(const ItemList& list, const std::vector<KeySource>& sources,
                                 std::size_t first, std::size_t end, const Collation& collation) {
    std::vector<SortKeys> keys;
    keys.reserve(sources.size());
    for (const KeySource& source : sources) keys.push_back(NoKeys(source.kind, end - first));
    KeyMaker maker(collation);
    for (std::size_t block = first; block < end; block += kRowsABlock) {
        const std::size_t blockEnd = std::min(end, block + kRowsABlock);
        for (std::size_t k = 0; k < sources.size(); ++k) {
            maker.add(list, sources[k], block, blockEnd, keys[k]);
        }
    }
    return keys;
}

void Append(SortKeys& keys, const SortKeys& later) {
    std::visit(
        [&](auto& rowKeys) {
            using Keys = std::decay_t<decltype(rowKeys)>;
            const Keys& laterKeys = std::get<Keys>(later);
            if constexpr (std::is_same_v<Keys, TextKeys>) {
                rowKeys.append(laterKeys);
            } else {
                rowKeys.insert(rowKeys.end(), laterKeys.begin(), laterKeys.end());
            }
        },
        keys);
}

// Text keys are sorted by their first eight bytes held as one number, and only rows that tie
// there compare whole keys; the row's place settles full ties, so the sort is stable.
std::vector<int> TextOrder(const SortState& state, const TextKeys& keys) {
    struct Entry {
        std::uint64_t leading;
        int row;
    };
    std::vector<Entry> entries(keys.size());
    for (std::size_t row = 0; row < keys.size(); ++row) {
        entries[row] = {LeadingBytes(keys[row]), static_cast<int>(row)};
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.leading != b.leading) return state.ascending == (a.leading < b.leading);
        const int order = CompareRows(state, keys[static_cast<std::size_t>(a.row)],
                                      keys[static_cast<std::size_t>(b.row)]);
        return order != 0 ? order < 0 : a.row < b.row;
    });
    std::vector<int> order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) order[i] = entries[i].row;
    return order;
}

}  // namespace

TextKeys::TextKeys(std::size_t rows) {
    // Room for keys of a typical title; longer ones make the buffer grow.
    bytes_.reserve(rows * 48);
    ends_.reserve(rows);
}

void TextKeys::add(const Collation& collation, std::u16string_view text) {
    collation.appendSortKey(text, bytes_);
    ends_.push_back(bytes_.size());
}

void TextKeys::append(const TextKeys& later) {
    const std::size_t offset = bytes_.size();
    bytes_ += later.bytes_;
    for (const std::size_t end : later.ends_) ends_.push_back(offset + end);
}

std::string_view TextKeys::operator[](std::size_t row) const {
    const std::size_t start = row == 0 ? 0 : ends_[row - 1];
    return std::string_view(bytes_).substr(start, ends_[row] - start);
}

std::vector<SortKeys> BuildSortKeys(const ItemList& list, const std::vector<KeySource>& sources,
                                    const Collation& collation) {
    // Keying is the costly part of a sort, collation keys above all: a long list is keyed in
    // two halves at once.
    const auto rows = static_cast<std::size_t>(list.rowCount());
    const std::size_t half = rows >= kRowsWorthASecondThread ? rows / 2 : rows;
    std::vector<SortKeys> keys;
    std::vector<SortKeys> laterKeys;
    {
        std::jthread later;
        if (half < rows) {
            later = std::jthread([&, copy = collation.clone()] {
                laterKeys = KeysOfRows(list, sources, half, rows, copy);
            });
        }
        keys = KeysOfRows(list, sources, 0, half, collation);
    }
    if (half < rows) {
        for (std::size_t k = 0; k < keys.size(); ++k) Append(keys[k], laterKeys[k]);
    }
    return keys;
}

SortKeys BuildSortKeys(const ItemList& list, int column, KeyKind kind, int decimalPlaces,
                       const Collation& collation) {
    return std::move(BuildSortKeys(list, {{column, kind, decimalPlaces}}, collation).front());
}

void SortRows(ItemList& list, const SortState& state, const SortKeys& keys) {
    std::visit(
        [&](const auto& rowKeys) {
            if constexpr (std::is_same_v<std::decay_t<decltype(rowKeys)>, TextKeys>) {
                list.reorderRows(TextOrder(state, rowKeys));
            } else {
                std::vector<int> order(rowKeys.size());
                std::iota(order.begin(), order.end(), 0);
                std::stable_sort(order.begin(), order.end(), [&](int first, int second) {
                    return CompareRows(state, rowKeys[static_cast<std::size_t>(first)],
                                       rowKeys[static_cast<std::size_t>(second)]) < 0;
                });
                list.reorderRows(order);
            }
        },
        keys);
}

}  // namespace kestavel
