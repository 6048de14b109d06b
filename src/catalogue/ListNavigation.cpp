#include "catalogue/ListNavigation.h"

#include <cstdlib>
#include <string>

#include "app/PageScroll.h"
#include "catalogue/ItemFolder.h"
#include "catalogue/ItemView.h"

namespace kestavel {
namespace {

constexpr std::string_view kCaptionPrefix = "预览图:";

// A whole number at the start of the text, as a number box reads it; anything else is 0.
long ReadWholeNumber(const std::string& text) {
    return std::strtol(text.c_str(), nullptr, 10);
}

}  // namespace

void ShowCurrentRow(const CommandContext& context) {
    const int row = context.window.list->currentRow();
    if (row < 0) return;
    ShowItem(context, context.window.list->cell(row, 0), context.window.list->cell(row, 1));
}

void OpenCurrentItemFolder(const CommandContext& context, int codeColumn) {
    const int row = context.window.list->currentRow();
    if (row < 0) return;
    context.services.shell->openFolder(
        ItemFolder(WorkshopFolder(context.settings), context.window.list->cell(row, codeColumn))
            .path());
}

bool JumpToTypedRow(const CommandContext& context, int pageLength) {
    ItemList& list = *context.window.list;
    const long n = ReadWholeNumber(context.window.jumpBox->text());
    if (n <= 0 || n > list.rowCount()) return false;
    const int row = static_cast<int>(n);
    ShowItem(context, GbkText::fromAscii(std::to_string(row)), list.cell(row - 1, 1));
    list.clearHighlight();
    list.setHighlighted(row - 1, true);
    ScrollToPage(list, row, pageLength);
    list.focus();
    return true;
}

void ScrollToShownItem(const CommandContext& context, int pageLength) {
    const std::string caption = context.itemView.caption->text();
    const std::size_t slash = caption.find('/');
    context.window.list->focus();
    if (slash == std::string::npos) return;
    std::string number = caption.substr(0, slash);
    if (number.rfind(kCaptionPrefix, 0) == 0) number.erase(0, kCaptionPrefix.size());
    ScrollToPage(*context.window.list, static_cast<int>(ReadWholeNumber(number)), pageLength);
}

}  // namespace kestavel
