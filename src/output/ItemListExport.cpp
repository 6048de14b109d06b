#include "output/ItemListExport.h"

#include <array>

#include "catalogue/DisplayText.h"
#include "catalogue/RunFiles.h"
#include "output/FileStamp.h"
#include "platform/FileSystem.h"

namespace kestavel {
namespace {

constexpr std::array kListedFields = {Field::Number,  Field::Code,       Field::Name,
                                      Field::Author,  Field::UpdateDate, Field::MainCategory,
                                      Field::Detail1, Field::Detail2,    Field::Detail3};
constexpr std::array kDescriptionFields = {
    Field::Description1, Field::Description2, Field::Description3, Field::Description4,
    Field::Description5, Field::Description6, Field::Description7, Field::Description8};

void AppendCell(std::string& lines, const FieldValue& value) {
    lines += "| ";
    lines += DisplayText(value).view();
    lines += '\t';
}

}  // namespace

void ItemListExport(const std::string& runDirectory, const std::string& workshopFolder,
                    Dialogs& dialogs, TextBox& resultBox, const LocalDateTime& now) {
    auto catalogue = OpenCatalogueFor(dialogs, runDirectory, "生成MOD列表");
    if (!catalogue) return;
    const int count = catalogue->recordCount();
    catalogue->close();

    const std::string defaultName = JoinPath(
        workshopFolder, "DEVodu_List_" + FileStamp(now) + "_" + std::to_string(count) + ".txt");
    const auto chosen = dialogs.chooseSaveFile("生成MOD列表", "文本文件（*.txt）|*.txt",
                                               defaultName, workshopFolder);
    if (!chosen || chosen->empty()) {
        resultBox.append("\r\n未选择文件，导出终止。");
        return;
    }
    if (!dialogs.confirm("      导出MOD列表到" + *chosen + "下，是否继续？")) return;
    const bool withDescriptions = dialogs.askYesNo("是否同时将描述信息导出？", kQuestionTitle);

    catalogue = OpenCatalogueFor(dialogs, runDirectory, "生成MOD列表");
    if (!catalogue) return;
    std::string lines;
    const bool read = catalogue->forEachRecord([&](int, const ModRecord& record) {
        for (Field field : kListedFields) AppendCell(lines, record[Position(field) - 1]);
        if (withDescriptions) {
            for (Field field : kDescriptionFields) AppendCell(lines, record[Position(field) - 1]);
        }
        lines += "\r\n";
    });
    catalogue->close();

    if (read && WriteFileAtomically(*chosen, lines)) {
        resultBox.append("\r\n已导出MOD列表到：" + *chosen);
    } else if (!read) {
        resultBox.append("\r\nDEVodu.edb读取失败，MOD列表未导出。");
    } else {
        resultBox.append("\r\n无法写入文件，MOD列表未导出：" + *chosen);
    }
}

}  // namespace kestavel
