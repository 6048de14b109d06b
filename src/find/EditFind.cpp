#include "find/EditFind.h"

#include <string>
#include <vector>

#include "find/CellMatch.h"
#include "find/FindReport.h"
#include "find/HitScroll.h"
#include "platform/CodePage.h"

namespace kestavel {
namespace {

constexpr int kNumberColumn = 0;
constexpr int kMainCategoryColumn = 5;

}  // namespace

EditFindColumn CategoryFind(const CategoryRadios& radios) {
    const int detail = radios.detail3.isChecked()   ? 3
                       : radios.detail2.isChecked() ? 2
                       : radios.detail1.isChecked() ? 1
                                                    : 0;
    return {kMainCategoryColumn + detail, kFindByName.page, kFindByName.offset};
}

void EditFind(const FindControls& controls, const TextBox& searchCondition, EditFindColumn find) {
    const std::string typed = searchCondition.text();
    if (typed.empty()) return;
    const std::string_view firstLine = std::string_view(typed).substr(0, typed.find("\r\n"));
    ItemList& list = controls.list;
    list.clearHighlight();

    // A text with a character GBK lacks cannot occur in any cell, so it finds nothing.
    GbkText searchText;
    const bool convertible = TryUtf8ToGbk(firstLine, searchText);
    const bool fuzzy = controls.fuzzySearch.isChecked();
    CellMatcher matcher(searchText, fuzzy);
    HitNumbers hits;
    // Nothing is drawn during the scan, so the hits are highlighted and scrolled to together at
    // its end.
    std::vector<int> hitRows;
    bool examinedAny = false;
    const int rows = list.rowCount();
    for (int row = 0; row < rows; ++row) {
        const std::string_view subject = list.cell(row, find.column).view();
        examinedAny = examinedAny || fuzzy || (convertible && subject == searchText.view());
        if (!convertible || !matcher.matches(subject)) continue;
        hitRows.push_back(row);
        hits.add(list.cell(row, kNumberColumn));
    }
    list.highlightRows(hitRows);
    ScrollToHits(list, hitRows, find.page, find.offset);
    if (examinedAny) list.focus();

    // Every row was deselected before the scan, so the selected rows are the hits.
    controls.resultBox.append("\r\n\r\n" + FoundRowsText(hits.count(), hits));
}

}  // namespace kestavel
