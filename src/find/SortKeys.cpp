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

template <class Key, class MakeKey>
std::vector<Key> KeysOfColumn(const ItemList& list, int column, MakeKey makeKey) {
    std::vector<Key> keys;
    const int rows = list.rowCount();
    keys.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) keys.push_back(makeKey(list.cell(row, column)));
    return keys;
}

constexpr std::size_t kRowsWorthASecondThread = 4096;

void AddTextKeys(const ItemList& list, int column, std::size_t first, std::size_t end,
                 const Collation& collation, TextKeys& keys) {
    GbkDecoder decoder;
    std::u16string text;
    for (std::size_t row = first; row < end; ++row) {
        decoder.toUtf16(list.cell(static_cast<int>(row), column), text);
        keys.add(collation, text);
    }
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

SortKeys BuildSortKeys(const ItemList& list, int column, KeyKind kind, int decimalPlaces,
                       const Collation& collation) {
    switch (kind) {
        case KeyKind::Date:
            return KeysOfColumn<LocalDateTime>(list, column, DateRead);
        case KeyKind::Number:
            return KeysOfColumn<WholeNumber>(list, column, [decimalPlaces](const GbkText& cell) {
                return ReadWholeNumber(cell, decimalPlaces);
            });
        case KeyKind::Text:
            break;
    }
    // Collation keys are the costly part of a sort: the rows are keyed in two halves at once.
    const std::size_t rows = static_cast<std::size_t>(list.rowCount());
    const std::size_t half = rows >= kRowsWorthASecondThread ? rows / 2 : rows;
    TextKeys keys(rows);
    TextKeys laterKeys(rows - half);
    {
        std::jthread later;
        if (half < rows) {
            later = std::jthread([&, copy = collation.clone()] {
                AddTextKeys(list, column, half, rows, copy, laterKeys);
            });
        }
        AddTextKeys(list, column, 0, half, collation, keys);
    }
    keys.append(laterKeys);
    return keys;
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
