#include "catalogue/IndexBuilding.h"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/ProgressDisplay.h"
#include "catalogue/DisplayText.h"
#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kestavel {
namespace {

constexpr double kNumberTolerance = 0.0000001;

// The sub-folders of the workshop folder. Names the catalogue cannot hold as
// GBK are left out and collected, so the user learns which items were not indexed.
struct FolderListing {
    std::vector<std::pair<std::string, GbkText>> names;  // native name, its GBK form
    std::vector<std::string> unusable;
};

// Names are taken in byte order, as NTFS lists them, so the same folder numbers the same way on
// every run and file system.
FolderListing ListWorkshop(const std::string& folder) {
    FolderListing listing;
    std::vector<std::string> names = ListDirectory(folder, ListFilter::DirectoriesOnly, "*.*");
    std::sort(names.begin(), names.end());
    for (std::string& name : names) {
        GbkText gbk;
        if (TryUtf8ToGbk(name, gbk) && !gbk.empty()) {
            listing.names.emplace_back(std::move(name), std::move(gbk));
        } else {
            listing.unusable.push_back(std::move(name));
        }
    }
    return listing;
}

std::string UnusableLines(const std::vector<std::string>& unusable) {
    if (unusable.empty()) return {};
    std::string lines = "\r\n以下目录名无法转为GBK编码，未索引：";
    for (const std::string& name : unusable) {
        // Shown with replacement marks where the bytes are not valid text.
        lines += "\r\n" + (IsValidUtf8(name) ? name : GbkToUtf8(GbkText::fromBytes(name)));
    }
    return lines;
}

// Rows are handed to the list in runs, before each pause for window events and at the end,
// so a long listing is not one model insertion per folder.
class PendingRows {
  public:
    explicit PendingRows(ItemList& list) : list_(list) {}
    void add(std::int64_t number, const GbkText& code) {
        rows_.push_back({DisplayNumber(number), code});
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

// The 序号 values in use, with the store's tolerance for a number read back from any kind.
class TakenNumbers {
  public:
    void add(double number) { numbers_.insert(number); }
    bool contains(double number) const {
        auto nearest = numbers_.lower_bound(number - kNumberTolerance);
        return nearest != numbers_.end() && *nearest <= number + kNumberTolerance;
    }

  private:
    std::multiset<double> numbers_;
};

}  // namespace

void BuildNewIndex(const CommandContext& context) {
    if (!context.dialogs->confirm(
            "      如果新建索引的话，旧的索引及相关信息会全部清除，是否继续？", kQuestionTitle)) {
        return;
    }
    context.busy->enter();
    auto catalogue = OpenCatalogueFor(context, "新建索引");
    if (!catalogue) {
        context.busy->leave();
        return;
    }
    // One transaction from the clearing to the last record: a kill leaves the old catalogue.
    catalogue->holdBatch(true);
    catalogue->clear();
    context.list->removeAllRows();
    const FolderListing listing = ListWorkshop(context.workshopFolder->text());
    ProgressDisplay progress(context);
    progress.showIfTicked();
    PendingRows rows(*context.list);
    std::int64_t counter = 0;
    for (const auto& [name, code] : listing.names) {
        ++counter;
        if (context.showProgress->isChecked()) rows.flush();
        progress.beforeItem();
        progress.setText("正在索引目录：" + std::to_string(counter) + "，目录名：" + name);
        catalogue->addRecord(counter, code);
        rows.add(counter, code);
    }
    rows.flush();
    catalogue->holdBatch(false);
    const bool stored = catalogue->commit();
    progress.finish("索引完成，共索引目录" + std::to_string(counter) + "个",
                    UnusableLines(listing.unusable));
    catalogue->close();
    if (!stored) {
        // The file kept the old index: show that again rather than rows the file lacks.
        context.dialogs->message("DEVodu.edb无法写入，旧的索引保持不变。");
        FillListMirror(*context.list, CataloguePath(context.runDirectory), nullptr);
    }
    context.busy->leave();
}

void AppendIndex(const CommandContext& context) {
    auto catalogue = OpenCatalogueFor(context, "追加索引");
    if (!catalogue) return;
    const FolderListing listing = ListWorkshop(context.workshopFolder->text());
    const int startCount = catalogue->recordCount();
    ProgressDisplay progress(context);
    progress.showIfTicked();
    context.busy->enter();

    // The catalogue's 编码 and 序号 values, read once: each listed name then costs two look-ups
    // instead of two scans of every record.
    std::unordered_set<std::string> codes;
    TakenNumbers numbers;
    catalogue->forEachNumberAndCode([&](double number, const GbkText& code) {
        codes.insert(code.bytes());
        numbers.add(number);
    });

    PendingRows rows(*context.list);
    std::int64_t counter = 0;
    for (const auto& [name, code] : listing.names) {
        ++counter;
        if (codes.count(code.bytes()) != 0) continue;
        std::int64_t number = counter;
        if (numbers.contains(static_cast<double>(counter))) {
            number = catalogue->recordCount() + 1;
        } else {
            if (context.showProgress->isChecked()) rows.flush();
            progress.beforeItem();
            progress.setText("正在追加索引目录：" +
                             std::to_string(catalogue->recordCount() - startCount) + "，目录名：" +
                             name);
        }
        if (!catalogue->addRecord(number, code)) continue;
        codes.insert(code.bytes());
        numbers.add(static_cast<double>(number));
        rows.add(number, code);
    }
    rows.flush();
    catalogue->commit();
    const int added = catalogue->recordCount() - startCount;
    progress.finish("追加索引完成，共追加目录" + std::to_string(added) + "个",
                    UnusableLines(listing.unusable));
    catalogue->close();
    context.busy->leave();
}

void BrowseWorkshopFolder(const CommandContext& context) {
    auto folder = context.dialogs->chooseFolder("浏览创意工坊下载MOD所在的文件夹");
    if (folder && !folder->empty()) context.workshopFolder->setText(*folder);
}

}  // namespace kestavel
