#include "catalogue/CommandWrites.h"

#include <string>

#include "catalogue/DisplayText.h"

namespace kestavel {

void CommandWrites::noteCommits() {
    // Batches are also committed on their own, at least once a second: what they held is safe.
    if (catalogue_.commits() == commitsSeen_) return;
    commitsSeen_ = catalogue_.commits();
    unsaved_.clear();
    stored_ = written_;
}

void CommandWrites::setCell(int row, Field field, const FieldValue& value) {
    if (row < 0) return;
    const int column = Position(field) - firstField_;
    unsaved_.push_back({row, column, list_.cell(row, column)});
    list_.setCell(row, column, DisplayText(value));
}

void CommandWrites::setBack() {
    catalogue_.rollback();
    for (auto cell = unsaved_.rbegin(); cell != unsaved_.rend(); ++cell) {
        list_.setCell(cell->row, cell->column, cell->text);
    }
    unsaved_.clear();
}

bool CommandWrites::write(int n, int row, const std::vector<std::pair<Field, FieldValue>>& fields,
                          const std::vector<std::pair<Field, FieldValue>>& cellsOnly) {
    noteCommits();
    for (const auto& [field, value] : fields) setCell(row, field, value);
    for (const auto& [field, value] : cellsOnly) setCell(row, field, value);
    if (!fields.empty() && (!catalogue_.goToRecord(n) || !catalogue_.write(fields))) {
        setBack();
        return false;
    }
    ++written_;
    noteCommits();
    return true;
}

bool CommandWrites::commit() {
    if (!catalogue_.commit()) {
        setBack();
        return false;
    }
    noteCommits();
    stored_ = written_;
    unsaved_.clear();
    return true;
}

void ReportCatalogueWriteFailure(const CommandContext& context, std::string_view command,
                                 std::int64_t storedItems) {
    context.services.dialogs->message("DEVodu.edb无法写入，" + std::string(command) +
                                      "已中止。\r\n此前处理的" + std::to_string(storedItems) +
                                      "项已保存在DEVodu.edb中。");
}

}  // namespace kestavel
