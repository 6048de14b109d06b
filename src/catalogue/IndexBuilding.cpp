#include "catalogue/IndexBuilding.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/CommandFrame.h"
#include "catalogue/CommandWrites.h"
#include "catalogue/DisplayText.h"
#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/NamePool.h"
#include "catalogue/RunFiles.h"
#include "catalogue/WorkshopListing.h"

namespace kestavel {
namespace {

constexpr std::size_t kRecordsPerWrite = 4096;

// Rows are handed to the list in runs, before each pause for window events and at the end,
// so a long listing is not one model insertion per folder.
class PendingRows {
  public:
    explicit PendingRows(ItemList& list) : list_(list) {}
    void add(std::int64_t number, std::string_view code) {
        rows_.push_back({DisplayNumber(number), GbkText::fromBytes(std::string(code))});
    }
    void flush() {
        if (rows_.empty()) return;
        list_.appendRows(std::move(rows_));
        rows_.clear();
    }

  private:
    ItemList& list_;
    std::vector<ItemRow> rows_;
};

// Records wait with their rows until the same moments, then go to the catalogue many a statement;
// only the rows of records that were written reach the list.
class PendingRecords {
  public:
    PendingRecords(ModCatalogue& catalogue, ItemList& list) : catalogue_(catalogue), rows_(list) {}
    void add(std::int64_t number, std::string_view code) { pending_.push_back({number, code}); }
    // False when a write failed; what was written before it stays.
    bool flush() {
        const std::size_t written = catalogue_.addRecords(pending_);
        for (std::size_t i = 0; i < written; ++i) rows_.add(pending_[i].number, pending_[i].code);
        rows_.flush();
        const bool complete = written == pending_.size();
        pending_.clear();
        return complete;
    }

  private:
    ModCatalogue& catalogue_;
    PendingRows rows_;
    std::vector<ModCatalogue::NewRecord> pending_;
};

// The records of the whole new index, written into the one open transaction.
bool WriteNewIndex(ModCatalogue& catalogue, const WorkshopListing& listing) {
    std::vector<ModCatalogue::NewRecord> records;
    records.reserve(std::min(listing.size(), kRecordsPerWrite));
    bool complete = true;
    for (std::size_t i = 0; i < listing.size() && complete; ++i) {
        records.push_back({static_cast<std::int64_t>(i + 1), listing.code(i)});
        if (records.size() == kRecordsPerWrite || i + 1 == listing.size()) {
            complete = catalogue.addRecords(records) == records.size();
            records.clear();
        }
    }
    return complete;
}

// The 编码 values of the catalogue, in an open-addressing table of positions in their pool (far
// less memory than a node per code), and those added since they were read.
class TakenCodes {
  public:
    void read(NamePool codes) {
        codes_ = std::move(codes);
        std::size_t capacity = 16;
        while (capacity < 2 * codes_.size()) capacity *= 2;
        slots_.assign(capacity, kEmpty);
        for (std::uint32_t i = 0; i < codes_.size(); ++i) {
            std::size_t slot = slotOf(codes_[i]);
            while (slots_[slot] != kEmpty && codes_[slots_[slot]] != codes_[i]) {
                slot = (slot + 1) & (slots_.size() - 1);
            }
            slots_[slot] = i;
        }
    }
    void add(std::string_view code) { added_.insert(code); }
    bool contains(std::string_view code) const {
        for (std::size_t slot = slotOf(code); slots_[slot] != kEmpty;
             slot = (slot + 1) & (slots_.size() - 1)) {
            if (codes_[slots_[slot]] == code) return true;
        }
        return added_.count(code) != 0;
    }

  private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    std::size_t slotOf(std::string_view code) const {
        return std::hash<std::string_view>{}(code) & (slots_.size() - 1);
    }
    NamePool codes_;
    std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(1, kEmpty);
    std::unordered_set<std::string_view> added_;
};

// The 序号 values in use, with the store's tolerance for a number read back from any kind.
class TakenNumbers {
  public:
    void read(std::vector<double> numbers) {
        numbers_ = std::move(numbers);
        std::sort(numbers_.begin(), numbers_.end());
    }
    void add(double number) { added_.insert(number); }
    bool contains(double number) const {
        const auto stored =
            std::lower_bound(numbers_.begin(), numbers_.end(), number - kNumberTolerance);
        if (stored != numbers_.end() && *stored <= number + kNumberTolerance) return true;
        const auto added = added_.lower_bound(number - kNumberTolerance);
        return added != added_.end() && *added <= number + kNumberTolerance;
    }

  private:
    std::vector<double> numbers_;
    std::multiset<double> added_;
};

}  // namespace

void BuildNewIndex(const CommandContext& context) {
    // A folder that cannot be listed is no empty workshop: nothing is asked and nothing cleared.
    const std::string folder = WorkshopFolder(context.settings);
    if (!WorkshopReadable(folder)) {
        context.services.dialogs->message(
            UnreadableWorkshopMessage(context.settings.workshopFolder->text(), "新建索引"));
        return;
    }
    if (!Confirmed(context, "      如果新建索引的话，旧的索引及相关信息会全部清除，是否继续？")) {
        return;
    }
    CommandFrame frame(context);
    auto catalogue = OpenCatalogueFor(context, "新建索引");
    if (!catalogue) return;
    // One transaction from the clearing to the last record: a kill leaves the old catalogue.
    catalogue->holdBatch(true);
    // The catalogue is cleared while the folder is listed, and written while the list and the
    // progress display are filled. Each side only reads the listing, and the catalogue is used
    // by one thread at a time.
    bool cleared = false;
    WorkshopListing listing;
    {
        std::jthread clearing([&] { cleared = catalogue->clear(); });
        listing = ListWorkshop(folder);
    }
    if (!listing.readable()) {
        catalogue->rollback();
        context.services.dialogs->message(
            UnreadableWorkshopMessage(context.settings.workshopFolder->text(), "新建索引"));
        return;
    }
    frame.showProgress();
    bool stored = false;
    std::size_t indexed = 0;
    {
        std::jthread writing([&] { stored = cleared && WriteNewIndex(*catalogue, listing); });
        context.window.list->removeAllRows();
        PendingRows rows(*context.window.list);
        for (; indexed < listing.size(); ++indexed) {
            if (frame.stopRequested()) break;
            const auto number = static_cast<std::int64_t>(indexed + 1);
            frame.beforeItem();
            frame.setProgress("正在索引目录：" + std::to_string(number) + "，目录名：" +
                              std::string(listing.name(indexed)));
            rows.add(number, listing.code(indexed));
            // The rows go to the list in runs, at the moments events may run to show them.
            if (frame.progressTicked() && context.services.pump->due()) rows.flush();
        }
        rows.flush();
    }
    // A stopped index keeps the folders it had reached, as the list shows them.
    stored = stored && catalogue->truncate(static_cast<int>(indexed)) && catalogue->commit();
    if (!stored) {
        catalogue->rollback();
        catalogue->close();
        // The file kept the old index: show that again rather than rows the file lacks.
        context.services.dialogs->message("DEVodu.edb无法写入，旧的索引保持不变。");
        FillListMirror(*context.window.list, CataloguePath(context.runDirectory), nullptr);
        return;
    }
    catalogue->close();
    frame.finish("索引完成，共索引目录" + std::to_string(indexed) + "个",
                 UnusableLines(listing.unusable()));
}

void AppendIndex(const CommandContext& context) {
    const std::string folder = WorkshopFolder(context.settings);
    if (!WorkshopReadable(folder)) {
        context.services.dialogs->message(
            UnreadableWorkshopMessage(context.settings.workshopFolder->text(), "追加索引"));
        return;
    }
    CommandFrame frame(context);
    auto catalogue = OpenCatalogueFor(context, "追加索引");
    if (!catalogue) return;
    // The catalogue's 编码 and 序号 values are read once, while the folder is listed: each
    // listed name then costs two look-ups instead of two scans of every record.
    TakenCodes codes;
    TakenNumbers numbers;
    WorkshopListing listing;
    {
        std::jthread reading([&] {
            NamePool storedCodes;
            std::vector<double> storedNumbers;
            storedNumbers.reserve(static_cast<std::size_t>(catalogue->recordCount()));
            catalogue->forEachNumberAndCode([&](double number, const GbkText& code) {
                storedCodes.push_back(code.view());
                storedNumbers.push_back(number);
            });
            codes.read(std::move(storedCodes));
            numbers.read(std::move(storedNumbers));
        });
        listing = ListWorkshop(folder);
    }
    if (!listing.readable()) {
        context.services.dialogs->message(
            UnreadableWorkshopMessage(context.settings.workshopFolder->text(), "追加索引"));
        return;
    }
    const int startCount = catalogue->recordCount();
    const int startRows = context.window.list->rowCount();
    frame.showProgress();

    PendingRecords pending(*catalogue, *context.window.list);
    bool written = true;
    std::int64_t records = startCount;
    for (std::size_t i = 0; i < listing.size(); ++i) {
        if (frame.stopRequested()) break;
        const std::string_view code = listing.code(i);
        if (codes.contains(code)) continue;
        const auto counter = static_cast<std::int64_t>(i + 1);
        std::int64_t number = counter;
        if (numbers.contains(static_cast<double>(counter))) {
            number = records + 1;
        } else {
            if (frame.progressTicked() && context.services.pump->due() && !pending.flush()) {
                written = false;
                break;
            }
            frame.beforeItem();
            frame.setProgress("正在追加索引目录：" + std::to_string(records - startCount) +
                              "，目录名：" + std::string(listing.name(i)));
        }
        pending.add(number, code);
        ++records;
        codes.add(code);
        numbers.add(static_cast<double>(number));
    }
    written = written && pending.flush() && catalogue->commit();
    if (!written) {
        catalogue->rollback();
        // Only the rows of records the file holds stay in the list.
        const int stored = catalogue->recordCount() - startCount;
        std::vector<int> keep(static_cast<std::size_t>(startRows + stored));
        std::iota(keep.begin(), keep.end(), 0);
        context.window.list->reorderRows(keep);
        catalogue->close();
        ReportCatalogueWriteFailure(context, "追加索引", stored);
        return;
    }
    const int added = catalogue->recordCount() - startCount;
    catalogue->close();
    frame.finish("追加索引完成，共追加目录" + std::to_string(added) + "个",
                 UnusableLines(listing.unusable()));
}

void BrowseWorkshopFolder(const CommandContext& context) {
    auto folder = context.services.dialogs->chooseFolder("浏览创意工坊下载MOD所在的文件夹");
    if (folder && !folder->empty()) context.settings.workshopFolder->setText(*folder);
}

}  // namespace kestavel
