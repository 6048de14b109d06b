#include "pictures/PreviewCommands.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandFrame.h"
#include "app/HourWindow.h"
#include "catalogue/DisplayText.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RecordNumber.h"
#include "catalogue/RunFiles.h"
#include "pages/FailureReport.h"
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
    int fetched = 0;
    FailureList failures;
    for (int n = 1; n <= catalogue->recordCount(); ++n) {
        if (frame.stopRequested()) break;
        catalogue->goToRecord(n);
        const GbkText code = std::get<GbkText>(catalogue->read(Field::Code));
        const std::string address =
            std::get<GbkText>(catalogue->read(Field::PictureAddress)).bytes();
        const std::string folder = context.settings.workshopFolder->text();
        const PreviewFiles files = PreviewFiles::of(folder, code);
        if (address.empty() || PathExists(files.picture)) continue;
        const std::string number = GbkToUtf8(DisplayText(catalogue->read(Field::Number)));
        frame.beforeItem();
        frame.setProgress("正在下载预览图，序号：" + number + "，目录名：" + GbkToUtf8(code));
        const bool gone = std::get<bool>(catalogue->read(Field::Gone));
        // A temporary left by an ended fetch is not a picture of this item: the fetch replaces it.
        const std::int64_t size =
            VariantFetch(*context.services.http, address, files.temporary, gone);
        if (frame.stopRequested()) {
            DeleteFile(files.temporary);
            break;
        }
        ++fetched;
        if (size == 0 || !ReplaceFile(files.temporary, files.picture)) {
            DeleteFile(files.temporary);
            failures.add(number, GbkToUtf8(code));
        }
    }
    catalogue->close();
    frame.finish("下载预览图完成，共下载预览图" + std::to_string(fetched) + "个",
                 FailureReport(kDownloadFailedHeading, failures));
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
    auto showProgress = [&](const PickedItem& item) {
        frame.beforeItem();
        frame.setProgress("正在下载预览图，序号：" + GbkToUtf8(item.number) + "，目录名：" +
                          GbkToUtf8(item.code));
    };
    HttpClient& client = *edit.services.http;
    int fetched = 0;
    FailureList failures;
    for (const PickedItem& item : items) {
        if (frame.stopRequested()) break;
        const PreviewFiles files =
            PreviewFiles::of(edit.settings.workshopFolder->text(), item.code);
        if (!PathExists(files.picture)) {
            showProgress(item);
            const std::int64_t size = VariantFetch(client, item.address, files.temporary, false);
            if (frame.stopRequested()) break;
            ++fetched;
            if (size == 0) {
                failures.add(GbkToUtf8(item.number), GbkToUtf8(item.code));
            } else {
                ReplaceFile(files.temporary, files.picture);
            }
            continue;
        }
        // Hours as the wall clock counts them, as for the page refresh's same window.
        const auto age = WallClockHoursSinceLastWrite(files.picture);
        if (!age || !window.admits(*age)) continue;
        const auto oldDigest = Md5OfFile(files.picture);
        const std::int64_t oldSize = FileSize(files.picture);
        showProgress(item);
        const std::int64_t newSize = VariantFetch(client, item.address, files.temporary, false);
        if (frame.stopRequested()) {
            DeleteFile(files.temporary);
            break;
        }
        ++fetched;
        if (newSize == 0) {
            failures.add(GbkToUtf8(item.number), GbkToUtf8(item.code));
            continue;
        }
        if (oldDigest && Md5OfFile(files.temporary) == oldDigest) {
            DeleteFile(files.temporary);
            continue;
        }
        ReplaceOldPicture(files, oldSize, newSize, edit.window.keepPreviewBackup->isChecked());
    }
    frame.finish("更新预览图完成，共下载预览图" + std::to_string(fetched) + "个",
                 FailureReport(kRefreshFailedHeading, failures));
}

}  // namespace kestavel
