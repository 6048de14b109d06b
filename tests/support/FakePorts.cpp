#include "support/FakePorts.h"

#include "platform/CodePage.h"
#include "support/ShortTimeouts.h"

namespace kestavel::test {

const GbkText& FakeItemList::cell(int row, int column) const {
    static const GbkText empty;
    const ItemRow& cells = rows.at(static_cast<std::size_t>(row)).cells;
    return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                           : empty;
}

void FakeItemList::setCell(int row, int column, const GbkText& text) {
    ItemRow& cells = rows.at(static_cast<std::size_t>(row)).cells;
    if (cells.size() <= static_cast<std::size_t>(column))
        cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = text;
}

void FakeItemList::appendRows(std::vector<ItemRow> newRows) {
    for (ItemRow& cells : newRows) rows.push_back(Row{std::move(cells), false, false});
}

void FakeItemList::clearHighlight() {
    for (Row& row : rows) row.highlighted = false;
}

std::vector<int> FakeItemList::highlightedRows() const {
    std::vector<int> highlighted;
    for (int row = 0; row < rowCount(); ++row) {
        if (rows[static_cast<std::size_t>(row)].highlighted) highlighted.push_back(row);
    }
    return highlighted;
}

void FakeItemList::reorderRows(const std::vector<int>& order) {
    std::vector<Row> reordered;
    reordered.reserve(order.size());
    // Each old row comes at most once, so it can be moved.
    for (int old : order) reordered.push_back(std::move(rows.at(static_cast<std::size_t>(old))));
    rows = std::move(reordered);
}

HeaderArrow FakeItemList::headerArrow(int column) const {
    return static_cast<std::size_t>(column) < arrows.size()
               ? arrows[static_cast<std::size_t>(column)]
               : HeaderArrow::None;
}

void FakeItemList::setHeaderArrow(int column, HeaderArrow arrow) {
    if (arrows.size() <= static_cast<std::size_t>(column))
        arrows.resize(static_cast<std::size_t>(column) + 1);
    arrows[static_cast<std::size_t>(column)] = arrow;
}

std::vector<std::string> FakeItemList::column(int column) const {
    std::vector<std::string> texts;
    for (int r = 0; r < rowCount(); ++r) texts.push_back(GbkToUtf8(cell(r, column)));
    return texts;
}

bool ScriptedDialogs::nextAnswer() {
    if (answers.empty()) {
        ++unanswered;
        return false;
    }
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::nextPath() {
    if (paths.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    auto path = paths.front();
    paths.pop_front();
    return path;
}

void ScriptedDialogs::message(std::string_view text, std::string_view title) {
    asked.push_back({"message", std::string(text), std::string(title)});
}

bool ScriptedDialogs::confirm(std::string_view text, std::string_view title) {
    asked.push_back({"confirm", std::string(text), std::string(title)});
    return nextAnswer();
}

bool ScriptedDialogs::askYesNo(std::string_view text, std::string_view title) {
    asked.push_back({"yesno", std::string(text), std::string(title)});
    return nextAnswer();
}

std::optional<std::string> ScriptedDialogs::chooseFolder(std::string_view prompt) {
    asked.push_back({"folder", std::string(prompt), ""});
    return nextPath();
}

std::optional<std::string> ScriptedDialogs::chooseSaveFile(std::string_view title,
                                                           std::string_view filter,
                                                           std::string_view defaultName,
                                                           std::string_view startFolder) {
    asked.push_back({"save", std::string(defaultName), std::string(title), std::string(filter),
                     std::string(startFolder)});
    return nextPath();
}

std::optional<std::string> ScriptedDialogs::chooseOpenFile(std::string_view title,
                                                           std::string_view filter,
                                                           std::string_view startFolder) {
    asked.push_back(
        {"open", "", std::string(title), std::string(filter), std::string(startFolder)});
    return nextPath();
}

FakeWindow::FakeWindow(std::string runDirectory) {
    context.runDirectory = std::move(runDirectory);
    context.window.list = &list;
    context.itemView.mainList = &list;
    context.settings.workshopFolder = &workshopFolder;
    context.settings.pagePrefix = &pagePrefix;
    context.window.progressBox = &progressBox;
    context.window.resultBox = &resultBox;
    context.itemView.description = &descriptionBox;
    context.itemView.caption = &previewCaption;
    context.itemView.noPreviewLink = &noPreviewLink;
    context.itemView.picture = &previewPicture;
    context.window.showProgress = &showProgress;
    context.window.searchCondition = &searchCondition;
    context.window.fuzzySearch = &fuzzySearch;
    context.services.busy = &busy;
    context.services.dialogs = &dialogs;
    context.services.pump = &pump;
    context.services.shell = &shell;
    context.services.http = ShortTimeouts();
    context.services.host = &host;
}

}  // namespace kestavel::test
