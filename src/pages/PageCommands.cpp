#include "pages/PageCommands.h"

#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/CommandFrame.h"
#include "app/ConcurrentFetches.h"
#include "catalogue/CommandWrites.h"
#include "catalogue/DisplayText.h"
#include "catalogue/ItemFolder.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/FailureReport.h"
#include "pages/FetchTally.h"
#include "pages/PageDocument.h"
#include "pages/PageExtraction.h"
#include "pages/PageFetch.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kestavel {
namespace {

// What a command needs of one record, read with one query before it changes anything: a
// command writes only the record it is handling, so what it read of the others stays true.
struct Item {
    int n = 0;
    std::string number;  // 序号 as the progress lines and failure lists show it
    GbkText code;
    bool gone = false;
    // The text fields by position − 1; only those a command reads or writes are filled, and
    // marked in `loaded` (bit position − 1).
    std::array<GbkText, kFieldCount> texts;
    std::uint32_t loaded = 0;

    const GbkText& text(Field field) const {
        return texts[static_cast<std::size_t>(Position(field) - 1)];
    }
};

std::vector<Item> ReadItems(ModCatalogue& catalogue, std::initializer_list<Field> fields) {
    std::vector<Item> items;
    items.reserve(static_cast<std::size_t>(catalogue.recordCount()));
    catalogue.forEachRecord([&](int n, const ModRecord& record) {
        Item& item = items.emplace_back();
        item.n = n;
        item.number = GbkToUtf8(DisplayText(record[Position(Field::Number) - 1]));
        if (const auto* code = std::get_if<GbkText>(&record[Position(Field::Code) - 1])) {
            item.code = *code;
        }
        if (const auto* gone = std::get_if<bool>(&record[Position(Field::Gone) - 1])) {
            item.gone = *gone;
        }
        for (Field field : fields) {
            const auto index = static_cast<std::size_t>(Position(field) - 1);
            if (const auto* text = std::get_if<GbkText>(&record[index])) {
                item.texts[index] = *text;
                item.loaded |= std::uint32_t{1} << index;
            }
        }
    });
    return items;
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

// The fields one item changes, handed to the catalogue in one statement when the item is done.
// A text field that already holds the value is only shown (the outcome in the file is the same).
class ItemChanges {
  public:
    explicit ItemChanges(const Item& before) : before_(before) {}
    void set(Field field, const FieldValue& value) {
        const auto* text = std::get_if<GbkText>(&value);
        const int index = Position(field) - 1;
        const bool unchanged =
            text && ((before_.loaded >> index) & 1U) != 0 && *text == before_.text(field);
        (unchanged ? shown_ : written_).emplace_back(field, value);
    }
    bool store(CommandWrites& writes, const RowsByNumber& rows) const {
        return writes.write(before_.n, rows.rowOf(before_.n), written_, shown_);
    }

  private:
    const Item& before_;
    std::vector<std::pair<Field, FieldValue>> written_;
    std::vector<std::pair<Field, FieldValue>> shown_;
};

}  // namespace

void DownloadPages(const CommandContext& context) {
    if (!Confirmed(context, kDownloadQuestion)) return;
    CommandFrame frame(context);
    auto catalogue = OpenCatalogueFor(context, "下载网页文档");
    if (!catalogue) return;
    const std::vector<Item> items = ReadItems(*catalogue, {});
    catalogue->close();
    frame.showProgress();
    // Written by the item's job, read once every job has ended.
    std::vector<FetchOutcome> outcomes(items.size(), FetchOutcome::NotFetched);
    {
        ConcurrentFetches fetches(context, frame);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Item& item = items[i];
            if (frame.stopRequested()) break;
            if (item.gone) continue;
            const GbkText& code = item.code;
            // Both settings are taken from their boxes at the moment of use.
            const ItemFolder folder(WorkshopFolder(context.settings), code);
            const std::string path = folder.page();
            if (!fetches.awaitKey(path)) break;
            if (PathExists(path)) continue;
            const std::string address = PageAddress(context.settings.pagePrefix->text(), code);
            frame.beforeItem();
            const std::string progress =
                "正在下载网页文档，序号：" + item.number + "，目录名：" + GbkToUtf8(code);
            // The page is complete under its temporary name before it takes the real one, so a
            // cut page is never taken for a saved one.
            auto job = [&outcome = outcomes[i], address, temporary = folder.temporaryPage(),
                        path](FetchWorker& worker) {
                const bool fetched = FetchPageTo(worker.http, address, temporary);
                // A fetch cut short by the stop is no answer.
                if (worker.stopRequested()) {
                    DeleteFile(temporary);
                    return;
                }
                outcome = fetched && ReplaceFile(temporary, path) ? FetchOutcome::Fetched
                                                                  : FetchOutcome::Failed;
                if (outcome == FetchOutcome::Failed) DeleteFile(temporary);
            };
            if (!fetches.start(path, progress, std::move(job))) break;
        }
        fetches.finish();
    }
    const FetchTally tally = TallyFetches(outcomes, [&](std::size_t i) {
        return std::pair(items[i].number, GbkToUtf8(items[i].code));
    });
    const std::string summary =
        "下载网页文档完成，共下载文档" + std::to_string(tally.fetched) + "个";
    // The summary, then the failure report (when anything failed), then the closing pause.
    frame.finish(summary, FailureReport(kDownloadFailedHeading, tally.failures));
}

void ExtractModInformation(const CommandContext& context) {
    CommandFrame frame(context);
    auto catalogue = OpenCatalogueFor(context, "获取MOD信息");
    if (!catalogue) return;
    std::int64_t counter = 0;
    frame.showProgress();
    const std::vector<Item> items =
        ReadItems(*catalogue, {Field::Author, Field::Name, Field::Description1, Field::Description2,
                               Field::Description3, Field::Description4, Field::Description5,
                               Field::Description6, Field::Description7, Field::Description8});
    const RowsByNumber rows(*context.window.list);
    CommandWrites writes(*catalogue, *context.window.list);
    bool written = true;
    for (const Item& item : items) {
        if (frame.stopRequested()) break;
        if (!item.text(Field::Author).empty() || item.gone) continue;
        auto page =
            PageDocument::open(ItemFolder(WorkshopFolder(context.settings), item.code).page());
        if (!page) continue;
        frame.beforeItem();
        frame.setProgress("正在获取MOD信息，序号：" + item.number + "，目录名：" +
                          GbkToUtf8(item.code));

        const bool wantTitle = item.text(Field::Name).empty();
        const bool wantDescription = item.text(Field::Description1).empty();
        const ModInformation info = ExtractModInformation(*page, wantTitle, wantDescription);
        page.reset();

        ItemChanges changes(item);
        if (!info.live) changes.set(Field::Gone, true);
        changes.set(Field::Author, info.author);
        if (info.title) changes.set(Field::Name, *info.title);
        if (info.description) {
            const DescriptionPieces pieces = SplitDescription(*info.description);
            for (int i = 0; i < kDescriptionPieces; ++i) {
                changes.set(static_cast<Field>(Position(Field::Description1) + i),
                            pieces[static_cast<std::size_t>(i)]);
            }
        }
        if (!changes.store(writes, rows)) {
            written = false;
            break;
        }
        ++counter;
    }
    if (!written || !writes.commit()) {
        ReportCatalogueWriteFailure(context, "获取MOD信息", writes.storedItems());
        return;
    }
    catalogue->close();
    frame.finish("获取MOD信息完成，共获取文档信息" + std::to_string(counter) + "个");
}

void ExtractPreviewAddresses(const CommandContext& context) {
    CommandFrame frame(context);
    auto catalogue = OpenCatalogueFor(context, "获取预览图地址");
    if (!catalogue) return;
    std::int64_t counter = 0;
    frame.showProgress();
    const std::vector<Item> items = ReadItems(*catalogue, {Field::PictureAddress});
    const RowsByNumber rows(*context.window.list);
    CommandWrites writes(*catalogue, *context.window.list);
    bool written = true;
    for (const Item& item : items) {
        if (frame.stopRequested()) break;
        if (!item.text(Field::PictureAddress).empty() || item.gone) continue;
        frame.beforeItem();
        frame.setProgress("正在获取预览图地址，序号：" + item.number + "，目录名：" +
                          GbkToUtf8(item.code));
        auto page =
            PageDocument::open(ItemFolder(WorkshopFolder(context.settings), item.code).page());
        if (!page) continue;
        // Stored as the bytes stand in the page: addresses are not converted.
        GbkText address = GbkText::fromBytes(ExtractPreviewAddress(*page));
        page.reset();
        ItemChanges changes(item);
        changes.set(Field::PictureAddress, address);
        if (!changes.store(writes, rows)) {
            written = false;
            break;
        }
        ++counter;
    }
    if (!written || !writes.commit()) {
        ReportCatalogueWriteFailure(context, "获取预览图地址", writes.storedItems());
        return;
    }
    catalogue->close();
    frame.finish("获取预览图地址完成，共获取预览图地址" + std::to_string(counter) + "个");
}

}  // namespace kestavel
