#include "pictures/PreviewCommands.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandFrame.h"
#include "app/ConcurrentFetches.h"
#include "app/HourWindow.h"
#include "catalogue/DisplayText.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RecordNumber.h"
#include "catalogue/RunFiles.h"
#include "pages/FailureReport.h"
#include "pages/FetchTally.h"
#include "pictures/PreviewFiles.h"
#include "pictures/VariantFetch.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/HttpClient.h"
#include "platform/Md5.h"

namespace kestavel {
namespace {

constexpr std::int64_t kSmallestReplacement = 1024;

struct PickedItem {
    GbkText number;
    GbkText code;
    std::string address;
};

std::vector<PickedItem> CollectPickedItems(const CommandContext& edit, ModCatalogue& catalogue) {
    std::vector<PickedItem> items;
    const ItemList& list = *edit.window.list;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (!list.isPicked(row)) continue;
        PickedItem item{list.cell(row, 0), list.cell(row, 1), {}};
        // The row's 序号 names its record, whatever order or subset the list shows.
        if (catalogue.goToRecord(RecordNumberOf(item.number))) {
            item.address = std::get<GbkText>(catalogue.read(Field::PictureAddress)).bytes();
        }
        items.push_back(std::move(item));
    }
    return items;
}

// A different, non-empty new picture has arrived in files.temporary for an existing one.
void ReplaceOldPicture(const PreviewFiles& files, std::int64_t oldSize, std::int64_t newSize,
                       bool keepBackup) {
    if (newSize <= oldSize && newSize <= kSmallestReplacement) {
        // Most likely a short error page: the old picture stays.
        DeleteFile(files.temporary);
        return;
    }
    DeleteFile(files.backup);
    if (newSize <= oldSize || keepBackup) {
        // The old picture takes the backup name as a second name, so the picture's own name
        // never stands empty, even when the program is killed between the steps.
        LinkOrCopyFile(files.picture, files.backup);
    }
    // One step: the new picture replaces the old one at the name.
    ReplaceFile(files.temporary, files.picture);
}

}  // namespace

void PreviewDownload(const CommandContext& context) {
    if (!Confirmed(
            context,
            "      "
            "现在将连接到Steam创意工坊页面下载预览图，根据网速和下载量的不同会需要相当长一段时间，"
            "期间会有假死现象.如果继续，将下载相应MOD编号的*.jpg文件到相应目录，是否继续？")) {
        return;
    }
    CommandFrame frame(context);
    auto catalogue = OpenCatalogueFor(context, "下载预览图片");
    if (!catalogue) return;
    frame.showProgress();
    frame.setProgress("准备下载...");
    const auto count = static_cast<std::size_t>(catalogue->recordCount());
    // Written by the item's job, read once every job has ended.
    std::vector<FetchOutcome> outcomes(count, FetchOutcome::NotFetched);
    std::vector<std::pair<std::string, std::string>> labels(count);
    {
        ConcurrentFetches fetches(context, frame);
        for (std::size_t i = 0; i < count; ++i) {
            if (frame.stopRequested()) break;
            catalogue->goToRecord(static_cast<int>(i) + 1);
            const GbkText code = std::get<GbkText>(catalogue->read(Field::Code));
            const std::string address =
                std::get<GbkText>(catalogue->read(Field::PictureAddress)).bytes();
            const std::string folder = WorkshopFolder(context.settings);
            const PreviewFiles files = PreviewFiles::of(folder, code);
            if (!fetches.awaitKey(files.picture)) break;
            if (address.empty() || PathExists(files.picture)) continue;
            labels[i] = {GbkToUtf8(DisplayText(catalogue->read(Field::Number))), GbkToUtf8(code)};
            frame.beforeItem();
            const std::string progress =
                "正在下载预览图，序号：" + labels[i].first + "，目录名：" + labels[i].second;
            const bool gone = std::get<bool>(catalogue->read(Field::Gone));
            auto job = [&outcome = outcomes[i], address, files, gone](FetchWorker& worker) {
                // A temporary left by an ended fetch is not a picture of this item: the fetch
                // replaces it.
                const std::int64_t size = VariantFetch(worker.http, address, files.temporary, gone);
                if (worker.stopRequested()) {
                    DeleteFile(files.temporary);
                    return;
                }
                outcome = size > 0 && ReplaceFile(files.temporary, files.picture)
                              ? FetchOutcome::Fetched
                              : FetchOutcome::Failed;
                if (outcome == FetchOutcome::Failed) DeleteFile(files.temporary);
            };
            if (!fetches.start(files.picture, progress, std::move(job))) break;
        }
        fetches.finish();
    }
    catalogue->close();
    const FetchTally tally = TallyFetches(outcomes, [&](std::size_t i) { return labels[i]; });
    frame.finish("下载预览图完成，共下载预览图" + std::to_string(tally.fetched) + "个",
                 FailureReport(kDownloadFailedHeading, tally.failures));
}

void PreviewRefresh(const CommandContext& edit) {
    if (!Confirmed(
            edit,
            "      "
            "现在将连接到Steam创意工坊页面下载预览图，根据网速和下载量的不同会需要相当长一段时间，"
            "期间会有假死现象。如果继续，将下载相应MOD编号的*.jpg文件到相应目录，是否继续？")) {
        return;
    }
    CommandFrame frame(edit);
    frame.setProgress("正在统计数据...");
    edit.window.resultBox->append("\r\n正在统计数据...");
    edit.services.pump->runEvents(1);
    std::vector<PickedItem> items;
    {
        auto catalogue = OpenCatalogueFor(edit, "更新预览图片");
        if (!catalogue) return;
        items = CollectPickedItems(edit, *catalogue);
    }
    if (items.empty()) {
        edit.window.resultBox->append("\r\n请选择至少一项进行更新。");
        return;
    }
    edit.window.resultBox->append("\r\n正在下载图片...");
    frame.setProgress("正在下载图片...");
    edit.services.pump->runEvents(1);

    const HourWindow window =
        HourWindow::read(edit.window.leastHours->text(), edit.window.mostHours->text());
    // Written by the item's job, read once every job has ended.
    std::vector<FetchOutcome> outcomes(items.size(), FetchOutcome::NotFetched);
    {
        ConcurrentFetches fetches(edit, frame);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const PickedItem& item = items[i];
            if (frame.stopRequested()) break;
            const PreviewFiles files = PreviewFiles::of(WorkshopFolder(edit.settings), item.code);
            if (!fetches.awaitKey(files.picture)) break;
            const bool present = PathExists(files.picture);
            if (present) {
                // Hours as the wall clock counts them, as for the page refresh's same window.
                const auto age = WallClockHoursSinceLastWrite(files.picture);
                if (!age || !window.admits(*age)) continue;
            }
            frame.beforeItem();
            const std::string progress = "正在下载预览图，序号：" + GbkToUtf8(item.number) +
                                         "，目录名：" + GbkToUtf8(item.code);
            auto job = [&outcome = outcomes[i], present, files, address = item.address,
                        keepBackup =
                            edit.window.keepPreviewBackup->isChecked()](FetchWorker& worker) {
                const auto oldDigest = present ? Md5OfFile(files.picture) : std::nullopt;
                const std::int64_t oldSize = present ? FileSize(files.picture) : 0;
                const std::int64_t newSize =
                    VariantFetch(worker.http, address, files.temporary, false);
                if (worker.stopRequested()) {
                    DeleteFile(files.temporary);
                    return;
                }
                outcome = newSize > 0 ? FetchOutcome::Fetched : FetchOutcome::Failed;
                if (newSize == 0) return;
                if (!present) {
                    ReplaceFile(files.temporary, files.picture);
                } else if (oldDigest && Md5OfFile(files.temporary) == oldDigest) {
                    DeleteFile(files.temporary);
                } else {
                    ReplaceOldPicture(files, oldSize, newSize, keepBackup);
                }
            };
            if (!fetches.start(files.picture, progress, std::move(job))) break;
        }
        fetches.finish();
    }
    const FetchTally tally = TallyFetches(outcomes, [&](std::size_t i) {
        return std::pair(GbkToUtf8(items[i].number), GbkToUtf8(items[i].code));
    });
    frame.finish("更新预览图完成，共下载预览图" + std::to_string(tally.fetched) + "个",
                 FailureReport(kRefreshFailedHeading, tally.failures));
}

}  // namespace kestavel
