#include "pages/CategoryCommand.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/CommandFrame.h"
#include "app/ReadAhead.h"
#include "catalogue/CommandWrites.h"
#include "catalogue/EditList.h"
#include "catalogue/ItemFolder.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "catalogue/StartUp.h"
#include "pages/CategoryReading.h"
#include "pages/PageDocument.h"

namespace kestavel {
namespace {

constexpr std::string_view kCommand = "提取分类及时间";
// Field 15 (主分类) shows in column 5 of the edit list.
constexpr int kEditListFirstField = 10;
// The rebuilt rows show 序号, 编码, 名称, 作者 and 是否失效; the rest is filled by the pages.
constexpr std::size_t kRebuiltColumns = 5;

// Pages read ahead of the writes: enough to ride over a slow page or a long write, few enough
// that the fields waiting stay small.
constexpr std::size_t kPagesAhead = 32;
// Reading and parsing a page costs several times writing what it gives: with one thread reading
// the window thread would mostly wait for it.
constexpr std::size_t kReadingThreads = 2;

using Fields = std::vector<std::pair<Field, FieldValue>>;

// The fields the command writes, 主分类 to 更新日期, by position − 15.
constexpr int kFirstWritten = Position(Field::MainCategory);
using WrittenValues = std::array<FieldValue, kFieldCount - kFirstWritten + 1>;

// What the command keeps of a record, apart from the list: a click let through by a pump may
// change the list's rows.
struct Record {
    int n;
    GbkText code;
    WrittenValues stored;
};

// The fields a page gave.
Fields FieldsOf(const CategoryReading& reading) {
    Fields fields;
    if (reading.mainCategory) {
        fields.emplace_back(Field::MainCategory, GbkText::fromBytes(*reading.mainCategory));
    }
    for (std::size_t i = 0; i < reading.details.size(); ++i) {
        if (!reading.details[i]) continue;
        fields.emplace_back(static_cast<Field>(Position(Field::Detail1) + static_cast<int>(i)),
                            GbkText::fromBytes(*reading.details[i]));
    }
    if (reading.updateDate) fields.emplace_back(Field::UpdateDate, reading.updateDate);
    return fields;
}

// The fields an item's saved page gives; none when it has no page that can be read.
Fields PageFields(std::string_view workshopFolder, const GbkText& code) {
    const auto page = PageDocument::open(ItemFolder(workshopFolder, code).page());
    if (!page) return {};
    // A date without a year is taken to lie in the year the page was saved.
    const auto saved = page->lastWriteTime();
    return FieldsOf(ReadCategoriesAndDate(*page, saved ? saved->year : 0));
}

}  // namespace

bool ExtractCategoriesAndDates(const CommandContext& edit) {
    if (!RunFilesPresent(edit)) return false;
    CommandFrame frame(edit);
    const auto announce = [&](std::string_view text) {
        frame.setProgress(text);
        edit.window.resultBox->append("\r\n" + std::string(text));
        edit.services.pump->runEvents(1);
    };
    announce("正在重排列表...");
    auto catalogue = OpenCatalogueFor(edit, kCommand);
    if (!catalogue) return true;
    // Record n shows in row n − 1 of the rebuilt list.
    std::vector<ItemRow> rows;
    std::vector<Record> records;
    rows.reserve(static_cast<std::size_t>(catalogue->recordCount()));
    records.reserve(rows.capacity());
    const bool read = catalogue->forEachRecord([&](int n, const ModRecord& record) {
        ItemRow row = EditRow(record);
        row.resize(kRebuiltColumns);
        Record& kept = records.emplace_back();
        kept.n = n;
        // The display text of a text field is the text itself.
        kept.code = row[1];
        std::copy(record.begin() + kFirstWritten - 1, record.end(), kept.stored.begin());
        rows.push_back(std::move(row));
    });
    if (!read) {
        // The list stays as it was.
        edit.services.dialogs->message("DEVodu.edb无法读取，提取分类及时间未进行。");
        return true;
    }
    ItemList& list = *edit.window.list;
    list.removeAllRows();
    list.appendRows(std::move(rows));

    announce("正在提取MOD分类及更新时间...");
    CommandWrites writes(*catalogue, list, kEditListFirstField);
    bool written = true;
    {
        // The pages are read and parsed on threads of their own while this one writes. The
        // folder is taken from its box once, here: the reading threads must not touch the
        // window.
        const std::string workshopFolder = WorkshopFolder(edit.settings);
        ReadAhead<Fields> pages(records.size(), kPagesAhead, kReadingThreads, [&](std::size_t i) {
            return PageFields(workshopFolder, records[i].code);
        });
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (frame.stopRequested()) break;
            frame.beforeItem();
            const Fields fields = pages.next();
            if (fields.empty()) continue;
            // A field that already holds its value is only shown: a run over unchanged pages
            // writes nothing.
            Fields changed;
            Fields unchanged;
            for (const auto& [field, value] : fields) {
                const bool same = records[i].stored[Position(field) - kFirstWritten] == value;
                (same ? unchanged : changed).emplace_back(field, value);
            }
            if (!writes.write(records[i].n, static_cast<int>(i), changed, unchanged)) {
                written = false;
                break;
            }
        }
    }
    if (!written || !writes.commit()) {
        ReportCatalogueWriteFailure(edit, kCommand, writes.storedItems());
        return true;
    }
    catalogue->close();
    frame.setProgress("MOD分类及更新时间提取完毕。");
    edit.window.resultBox->append("\r\nMOD分类及更新时间提取完毕。");
    return true;
}

}  // namespace kestavel
