#include "find/MainSearch.h"

#include <algorithm>
#include <optional>
#include <thread>
#include <vector>

#include "catalogue/ItemView.h"
#include "catalogue/ModRecord.h"
#include "find/CellMatch.h"
#include "find/FindReport.h"
#include "find/HitScroll.h"
#include "platform/CodePage.h"
#include "platform/FoldedSearch.h"

namespace kestavel {
namespace {

enum class SearchItem { Number, Code, Name, Author, Gone, Description };

constexpr std::string_view kNumberItem = "序号";
constexpr std::string_view kGoneRefusal = "请输入[真]或[假]。\r\n[真]代表已失效，[假]代表未失效。";

std::optional<SearchItem> SearchItemNamed(std::string_view name) {
    if (name == kNumberItem) return SearchItem::Number;
    if (name == "编码") return SearchItem::Code;
    if (name == "名称") return SearchItem::Name;
    if (name == "作者") return SearchItem::Author;
    if (name == "是否失效") return SearchItem::Gone;
    if (name == "MOD信息") return SearchItem::Description;
    return std::nullopt;
}

constexpr int ColumnOf(Field field) {
    return Position(field) - 1;
}

int SubjectColumn(SearchItem item) {
    switch (item) {
        case SearchItem::Number:
            return ColumnOf(Field::Number);
        case SearchItem::Code:
            return ColumnOf(Field::Code);
        case SearchItem::Name:
            return ColumnOf(Field::Name);
        case SearchItem::Author:
            return ColumnOf(Field::Author);
        case SearchItem::Gone:
            return ColumnOf(Field::Gone);
        case SearchItem::Description:
            break;
    }
    return -1;
}

// The row's description pieces joined into a buffer that the scan reuses from row to row.
std::string_view JoinedDescription(const ItemList& list, int row, std::string& joined) {
    joined.clear();
    for (int piece = 0; piece < kDescriptionPieces; ++piece) {
        joined += list.cell(row, ColumnOf(Field::Description1) + piece).view();
    }
    return joined;
}

// Whether a row's description can hold the search text: it has to occur, letters folded, inside
// one piece or across the join of two. A row that fails this cannot match and is never joined,
// which spares the scan copying every description.
bool DescriptionMayHold(const ItemList& list, int row, std::string_view needle) {
    const int first = ColumnOf(Field::Description1);
    std::string_view previous;
    char window[2 * kDescriptionPieceBytes];
    for (int piece = 0; piece < kDescriptionPieces; ++piece) {
        const std::string_view text = list.cell(row, first + piece).view();
        if (text.empty()) continue;
        if (FindFolded(text.data(), text.data() + text.size(), needle) != nullptr) return true;
        if (!previous.empty() && needle.size() > 1) {
            // A piece shorter than the text could let it span three pieces: join and look.
            const std::size_t reach = needle.size() - 1;
            if (previous.size() < reach || reach > kDescriptionPieceBytes) return true;
            const std::size_t head = std::min(reach, text.size());
            std::copy_n(previous.end() - reach, reach, window);
            std::copy_n(text.begin(), head, window + reach);
            if (FindFolded(window, window + reach + head, needle) != nullptr) return true;
        }
        previous = text;
    }
    return false;
}

// The total length of a row's description pieces.
std::size_t DescriptionSize(const ItemList& list, int row) {
    std::size_t size = 0;
    for (int piece = 0; piece < kDescriptionPieces; ++piece) {
        size += list.cell(row, ColumnOf(Field::Description1) + piece).size();
    }
    return size;
}

// What the look at a row's description pieces settled before the row is examined.
enum class DescriptionCheck : unsigned char { Empty, CannotMatch, MayMatch };

constexpr std::size_t kRowsWorthASecondThread = 4096;

// The check of every row. It only reads the cells, so a long list is checked in two halves at
// once; a short one is not worth the thread.
std::vector<DescriptionCheck> CheckDescriptions(const ItemList& list, std::string_view needle,
                                                bool fuzzy) {
    const auto rows = static_cast<std::size_t>(list.rowCount());
    std::vector<DescriptionCheck> checks(rows);
    const auto checkRange = [&](std::size_t first, std::size_t end) {
        for (std::size_t row = first; row < end; ++row) {
            const int r = static_cast<int>(row);
            const std::size_t size = DescriptionSize(list, r);
            const bool mayMatch =
                size != 0 && (fuzzy ? DescriptionMayHold(list, r, needle) : size == needle.size());
            checks[row] = size == 0  ? DescriptionCheck::Empty
                          : mayMatch ? DescriptionCheck::MayMatch
                                     : DescriptionCheck::CannotMatch;
        }
    };
    const std::size_t half = rows >= kRowsWorthASecondThread ? rows / 2 : rows;
    {
        std::jthread later;
        if (half < rows) later = std::jthread(checkRange, half, rows);
        checkRange(0, half);
    }
    return checks;
}

bool IsGoneValue(std::string_view text) {
    return text == "真" || text == "假";
}

}  // namespace

void MainSearch(const CommandContext& context, std::string_view searchItem, SearchStart start) {
    const std::string typed = context.window.searchCondition->text();
    if (typed.empty()) return;
    ItemList& list = *context.window.list;
    list.clearHighlight();
    const std::optional<SearchItem> item = SearchItemNamed(searchItem);
    if (!item) return;
    if (*item == SearchItem::Gone && !IsGoneValue(typed)) {
        context.services.dialogs->message(kGoneRefusal);
        context.window.searchCondition->setText("");
        context.window.searchCondition->focus();
        return;
    }

    // A text with a character GBK lacks cannot occur in any cell, so it finds nothing.
    GbkText searchText;
    const bool convertible = TryUtf8ToGbk(typed, searchText);
    const bool byNumber = *item == SearchItem::Number;
    const bool fuzzy = !byNumber && context.window.fuzzySearch->isChecked();
    const int column = SubjectColumn(*item);
    CellMatcher matcher(searchText, fuzzy);
    HitNumbers hits;
    // Nothing is drawn during the scan, so the hits are highlighted and scrolled to together at
    // its end.
    std::vector<int> hitRows;
    std::string joined;
    joined.reserve(kDescriptionPieces * kDescriptionPieceBytes);
    int lastDescriptionRow = -1;
    bool examinedAny = false;
    // Rows that cannot match are settled without joining their pieces.
    const bool checked = *item == SearchItem::Description && convertible;
    const std::vector<DescriptionCheck> checks =
        checked ? CheckDescriptions(list, searchText.view(), fuzzy)
                : std::vector<DescriptionCheck>();
    const int rows = list.rowCount();
    for (int row = 0; row < rows; ++row) {
        if (checked) {
            const DescriptionCheck check = checks[static_cast<std::size_t>(row)];
            if (check == DescriptionCheck::Empty) {
                examinedAny = examinedAny || fuzzy;
                continue;
            }
            if (check == DescriptionCheck::CannotMatch) {
                examinedAny = examinedAny || fuzzy;
                lastDescriptionRow = row;
                continue;
            }
        }
        const std::string_view subject = *item == SearchItem::Description
                                             ? JoinedDescription(list, row, joined)
                                             : list.cell(row, column).view();
        const bool equal = convertible && subject == searchText.view();
        examinedAny = examinedAny || byNumber || fuzzy || equal;
        const bool hit = byNumber ? equal : convertible && matcher.matches(subject);
        if (hit) {
            hitRows.push_back(row);
            hits.add(list.cell(row, ColumnOf(Field::Number)));
        }
        if (*item == SearchItem::Description && !subject.empty()) lastDescriptionRow = row;
    }
    list.highlightRows(hitRows);
    ScrollToHits(list, hitRows, kMainHitPage, kMainHitOffset);
    // Nothing is drawn while the scan runs, so the description box is set once, to the last
    // description the scan passed over.
    if (lastDescriptionRow >= 0) {
        JoinedDescription(list, lastDescriptionRow, joined);
        context.itemView.description->setText(DescriptionLines(GbkText::fromBytes(joined)));
    }
    if (examinedAny) list.focus();

    // Every row was deselected before the scan, so the selected rows are the hits.
    const int selected = hits.count();
    context.window.resultBox->append(
        "\r\n\r\n" + (byNumber ? FoundCountText(selected) : FoundRowsText(selected, hits)));
    if (start == SearchStart::EnterKey) {
        list.focus();
        context.window.searchCondition->focus();
        context.window.searchCondition->selectAll();
    }
}

bool SearchBoxRefuses(std::string_view searchItem, std::string_view typed) {
    return searchItem == kNumberItem && typed == "-";
}

}  // namespace kestavel
