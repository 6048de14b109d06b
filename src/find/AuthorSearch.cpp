#include "find/AuthorSearch.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/ModRecord.h"
#include "find/CellMatch.h"
#include "find/FindReport.h"
#include "find/HitScroll.h"
#include "platform/CodePage.h"

namespace kestavel {
namespace {

constexpr int kNumberColumn = Position(Field::Number) - 1;
constexpr int kAuthorColumn = Position(Field::Author) - 1;

// Whether a cell is by one of the authors: exactly, which is a plain look-up, or containing one
// with fuzzy on. The list order only decides which author fits first, which changes nothing
// about the hit.
class AuthorTest {
  public:
    AuthorTest(const std::vector<GbkText>& authors, std::unordered_set<std::string> exact,
               bool fuzzy)
        : exact_(std::move(exact)), fuzzy_(fuzzy) {
        if (fuzzy_) {
            for (const GbkText& author : authors) contained_.emplace_back(author, true);
        }
    }

    bool fits(const GbkText& cell) {
        if (!fuzzy_) return exact_.contains(cell.bytes());
        for (CellMatcher& author : contained_) {
            if (author.matches(cell)) return true;
        }
        return false;
    }

  private:
    std::unordered_set<std::string> exact_;
    std::vector<CellMatcher> contained_;
    bool fuzzy_;
};

}  // namespace

void SelectedAuthorsSearch(const FindControls& controls) {
    ItemList& list = controls.list;
    const int rows = list.rowCount();
    int picked = 0;
    std::vector<GbkText> authors;
    std::unordered_set<std::string> authorSet;
    for (int row = 0; row < rows; ++row) {
        if (!list.isPicked(row)) continue;
        ++picked;
        GbkText author = list.cell(row, kAuthorColumn);
        // The first of equal authors stays, in the order the picks were met.
        if (!author.empty() && authorSet.insert(author.bytes()).second) {
            authors.push_back(std::move(author));
        }
    }
    if (picked == 0) {
        controls.resultBox.append("\r\n\r\n请选择至少一条记录进行查找！\r\n");
        return;
    }

    for (int row = 0; row < rows; ++row) list.setPicked(row, false);
    AuthorTest byAuthor(authors, std::move(authorSet), controls.fuzzySearch.isChecked());
    HitNumbers hits;
    // Nothing is drawn during the scan, so the hits are highlighted together at its end, and
    // the view is moved once, to where scrolling to each hit in turn leaves it.
    std::vector<int> hitRows;
    for (int row = 0; row < rows; ++row) {
        if (!byAuthor.fits(list.cell(row, kAuthorColumn))) continue;
        hitRows.push_back(row);
        hits.add(list.cell(row, kNumberColumn));
    }
    list.highlightRows(hitRows);
    if (!hitRows.empty()) list.focus();
    // The view ends on the last hit: the row offset rows below it first when enough rows
    // follow, else the last row.
    std::vector<int> scrolls = hitRows;
    const int lastHit = hitRows.empty() ? -1 : hitRows.back();
    const int afterLastHit = lastHit + 1;
    if (rows - afterLastHit > kMainHitPage) {
        if (afterLastHit + kMainHitOffset < rows) scrolls.push_back(afterLastHit + kMainHitOffset);
        if (lastHit >= 0) scrolls.push_back(lastHit);
    } else {
        scrolls.push_back(rows - 1);
        scrolls.push_back(std::max(lastHit, 0));
    }
    list.makeVisibleInTurn(scrolls);

    controls.resultBox.append("\r\n\r\n当前共选择MOD个数：" + std::to_string(picked) +
                              "\r\n作者：\r\n");
    for (const GbkText& author : authors) controls.resultBox.append(GbkToUtf8(author) + "\r\n");
    // Rows selected before the search stay selected and count as well.
    controls.resultBox.append(FoundRowsText(HighlightedRowCount(list), hits));
}

void SelectedAuthorsSearch(const CommandContext& context) {
    SelectedAuthorsSearch(FindControlsOf(context));
}

}  // namespace kestavel
