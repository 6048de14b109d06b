#include "pages/PageCommands.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/ProgressDisplay.h"
#include "catalogue/DisplayText.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/PageDocument.h"
#include "pages/PageExtraction.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/HttpClient.h"

namespace kestavel {
namespace {

std::unique_ptr<ModCatalogue> OpenCatalogue(const CommandContext& context,
                                            std::string_view command) {
    const std::string path = CataloguePath(context.runDirectory);
    std::string error;
    auto catalogue = ModCatalogue::open(path, &error);
    if (!catalogue) {
        context.dialogs->message("DEVodu.edb无法打开，" + std::string(command) + "未进行。\r\n" +
                                 path + "\r\n(" + error + ")");
    }
    return catalogue;
}

const GbkText& TextOf(const ModRecord& record, Field field) {
    static const GbkText empty;
    const auto* text = std::get_if<GbkText>(&record[static_cast<std::size_t>(Position(field) - 1)]);
    return text ? *text : empty;
}

bool FlagOf(const ModRecord& record, Field field) {
    const auto* flag = std::get_if<bool>(&record[static_cast<std::size_t>(Position(field) - 1)]);
    return flag && *flag;
}

// The 序号 as the progress lines and failure lists show it.
std::string NumberText(const ModRecord& record) {
    return GbkToUtf8(DisplayText(record[static_cast<std::size_t>(Position(Field::Number) - 1)]));
}

// Every record in stored order, read with one query before the command changes anything; a
// command writes only the record it is handling, so what it read of the others stays true.
struct NumberedRecord {
    int n;
    ModRecord record;
};

std::vector<NumberedRecord> ReadAllRecords(ModCatalogue& catalogue) {
    std::vector<NumberedRecord> records;
    records.reserve(static_cast<std::size_t>(catalogue.recordCount()));
    catalogue.forEachRecord(
        [&records](int n, const ModRecord& record) { records.push_back({n, record}); });
    return records;
}

// The list rows by their 序号 cell, built once per command: the cells of record n go to the row
// that shows 序号 n, wherever a sort has moved it. A record without a row gets no cells.
class RowsByNumber {
  public:
    explicit RowsByNumber(const ItemList& list) {
        const int rows = list.rowCount();
        rows_.reserve(static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row) rows_.emplace(list.cell(row, 0).bytes(), row);
    }
    int rowOf(int n) const {
        auto found = rows_.find(std::to_string(n));
        return found == rows_.end() ? -1 : found->second;
    }

  private:
    std::unordered_map<std::string, int> rows_;
};

// Writes the fields of one record and the cells of its row in the same step. A field that
// already holds the value is left as it is in the file (the outcome is the same); its cell is
// written all the same.
class RecordWriter {
  public:
    RecordWriter(ModCatalogue& catalogue, ItemList& list, int n, int row, const ModRecord& before)
        : catalogue_(catalogue), list_(list), row_(row), before_(before) {
        catalogue_.goToRecord(n);
    }
    void write(Field field, const FieldValue& value) {
        const auto index = static_cast<std::size_t>(Position(field) - 1);
        if (!(before_[index] == value)) catalogue_.write(field, value);
        if (row_ >= 0) list_.setCell(row_, Position(field) - 1, DisplayText(value));
    }

  private:
    ModCatalogue& catalogue_;
    ItemList& list_;
    int row_;
    const ModRecord& before_;
};

// Part 2.1's rule, with the mend the issue decided: a server that is overloaded or failing
// answers 429 or 5xx with an error page that must not be kept as the item's page.
bool IsFailedStatus(long status) {
    return status == 429 || (status >= 500 && status <= 599);
}

}  // namespace

void DownloadPages(const CommandContext& context) {
    HttpClient client;
    DownloadPages(context, client);
}

void DownloadPages(const CommandContext& context, HttpClient& client) {
    if (!context.dialogs->confirm(kDownloadQuestion, kQuestionTitle)) return;
    FailureList failures;
    std::int64_t fetches = 0;
    context.busy->enter();
    auto catalogue = OpenCatalogue(context, "下载网页文档");
    if (!catalogue) {
        context.busy->leave();
        return;
    }
    ProgressDisplay progress(context);
    progress.showIfTicked();
    const std::vector<NumberedRecord> records = ReadAllRecords(*catalogue);
    for (const auto& [n, record] : records) {
        if (FlagOf(record, Field::Gone)) continue;
        const GbkText& code = TextOf(record, Field::Code);
        // Both settings are taken from their boxes at the moment of use.
        const std::string path = PageDocumentPath(context.workshopFolder->text(), code);
        if (PathExists(path)) continue;
        const std::string address = PageAddress(context.pagePrefix->text(), code);
        progress.beforeItem();
        const std::string number = NumberText(record);
        const std::string codeText = GbkToUtf8(code);
        progress.setText("正在下载网页文档，序号：" + number + "，目录名：" + codeText);

        // No write waits in a batch while the window thread blocks on the network.
        catalogue->commit();
        auto response = client.get(address);
        if (response && !IsFailedStatus(response->status)) WriteWholeFile(path, response->body);
        const std::int64_t size = FileSize(path);
        ++fetches;
        if (IsFailedDownload(size)) {
            failures.add(number, codeText);
            DeleteFile(path);
        }
    }
    const std::string summary = "下载网页文档完成，共下载文档" + std::to_string(fetches) + "个";
    progress.setText(summary);
    context.resultBox->append("\r\n\r\n" + summary);
    if (!failures.empty()) context.resultBox->append(FailureReport(kDownloadFailedHeading, failures));
    context.pump->runEvents(1000);
    context.progressBox->setVisible(false);
    catalogue->close();
    context.busy->leave();
}

void ExtractModInformation(const CommandContext& context) {
    auto catalogue = OpenCatalogue(context, "获取MOD信息");
    if (!catalogue) return;
    std::int64_t counter = 0;
    ProgressDisplay progress(context);
    progress.showIfTicked();
    context.busy->enter();
    const std::vector<NumberedRecord> records = ReadAllRecords(*catalogue);
    const RowsByNumber rows(*context.list);
    for (const auto& [n, record] : records) {
        if (!TextOf(record, Field::Author).empty() || FlagOf(record, Field::Gone)) continue;
        const GbkText& code = TextOf(record, Field::Code);
        auto page = PageDocument::open(PageDocumentPath(context.workshopFolder->text(), code));
        if (!page) continue;
        progress.beforeItem();
        progress.setText("正在获取MOD信息，序号：" + NumberText(record) +
                         "，目录名：" + GbkToUtf8(code));

        const bool wantTitle = TextOf(record, Field::Name).empty();
        const bool wantDescription = TextOf(record, Field::Description1).empty();
        const ModInformation info = ExtractModInformation(*page, wantTitle, wantDescription);
        page.reset();

        RecordWriter writer(*catalogue, *context.list, n, rows.rowOf(n), record);
        if (!info.live) writer.write(Field::Gone, true);
        writer.write(Field::Author, info.author);
        if (info.title) writer.write(Field::Name, *info.title);
        if (info.description) {
            const DescriptionPieces pieces = SplitDescription(*info.description);
            for (int i = 0; i < kDescriptionPieces; ++i) {
                writer.write(static_cast<Field>(Position(Field::Description1) + i),
                             pieces[static_cast<std::size_t>(i)]);
            }
        }
        ++counter;
    }
    progress.finish("获取MOD信息完成，共获取文档信息" + std::to_string(counter) + "个");
    catalogue->close();
    context.busy->leave();
}

void ExtractPreviewAddresses(const CommandContext& context) {
    auto catalogue = OpenCatalogue(context, "获取预览图地址");
    if (!catalogue) return;
    std::int64_t counter = 0;
    ProgressDisplay progress(context);
    progress.showIfTicked();
    context.busy->enter();
    const std::vector<NumberedRecord> records = ReadAllRecords(*catalogue);
    const RowsByNumber rows(*context.list);
    for (const auto& [n, record] : records) {
        if (!TextOf(record, Field::PictureAddress).empty() || FlagOf(record, Field::Gone)) {
            continue;
        }
        const GbkText& code = TextOf(record, Field::Code);
        progress.beforeItem();
        progress.setText("正在获取预览图地址，序号：" + NumberText(record) +
                         "，目录名：" + GbkToUtf8(code));
        auto page = PageDocument::open(PageDocumentPath(context.workshopFolder->text(), code));
        if (!page) continue;
        // Stored as the bytes stand in the page: addresses are not converted.
        GbkText address = GbkText::fromBytes(ExtractPreviewAddress(*page));
        page.reset();
        RecordWriter writer(*catalogue, *context.list, n, rows.rowOf(n), record);
        writer.write(Field::PictureAddress, address);
        ++counter;
    }
    progress.finish("获取预览图地址完成，共获取预览图地址" + std::to_string(counter) + "个");
    catalogue->close();
    context.busy->leave();
}

}  // namespace kestavel
