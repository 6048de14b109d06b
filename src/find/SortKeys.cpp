#include "find/SortKeys.h"

#include <algorithm>
#include <numeric>

#include "find/DateRead.h"
#include "platform/CodePage.h"

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
    const int rows = list.rowCount();
    TextKeys keys(static_cast<std::size_t>(rows));
    GbkDecoder decoder;
    std::u16string text;
    for (int row = 0; row < rows; ++row) {
        decoder.toUtf16(list.cell(row, column), text);
        keys.add(collation, text);
    }
    return keys;
}

void SortRows(ItemList& list, const SortState& state, const SortKeys& keys) {
    std::visit(
        [&](const auto& rowKeys) {
            std::vector<int> order(rowKeys.size());
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(), [&](int first, int second) {
                return CompareRows(state, rowKeys[static_cast<std::size_t>(first)],
                                   rowKeys[static_cast<std::size_t>(second)]) < 0;
            });
            list.reorderRows(order);
        },
        keys);
}

}  // namespace kestavel
