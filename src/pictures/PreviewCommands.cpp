#include "pictures/PreviewCommands.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/HourWindow.h"
#include "app/ProgressDisplay.h"
#include "catalogue/DisplayText.h"
#include "catalogue/ModCatalogue.h"
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
    const ItemList& list = *edit.list;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (!list.isPicked(row)) continue;
        PickedItem item{list.cell(row, 0), list.cell(row, 1), {}};
        // The row's 序号 names its record, whatever order or subset the list shows.
        if (catalogue.goToRecord(
                static_cast<int>(std::strtol(item.number.bytes().c_str(), nullptr, 10)))) {
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
        // The old picture moves to the backup name before the new one takes its place.
        MoveFile(files.picture, files.backup);
    }
    // One step: the new picture replaces whatever still stands at the name.
    ReplaceFile(files.temporary, files.picture);
}

}  // namespace

void PreviewDownload(const CommandContext& context) {
    HttpClient client;
    PreviewDownload(context, client);
}

void PreviewDownload(const CommandContext& context, HttpClient& client) {
    if (!context.dialogs->confirm(
            "      "
            "现在将连接到Steam创意工坊页面下载预览图，根据网速和下载量的不同会需要相当长一段时间，"
            "期间会有假死现象.如果继续，将下载相应MOD编号的*.jpg文件到相应目录，是否继续？",
            kQuestionTitle)) {
        return;
    }
    context.busy->enter();
    auto catalogue = OpenCatalogueFor(context, "下载预览图片");
    if (!catalogue) {
        context.busy->leave();
        return;
    }
    ProgressDisplay progress(context);
    progress.showIfTicked();
    progress.setText("准备下载...");
    int fetched = 0;
    FailureList failures;
    for (int n = 1; n <= catalogue->recordCount(); ++n) {
        catalogue->goToRecord(n);
        const GbkText code = std::get<GbkText>(catalogue->read(Field::Code));
        const std::string address =
            std::get<GbkText>(catalogue->read(Field::PictureAddress)).bytes();
        const std::string folder = context.workshopFolder->text();
        const PreviewFiles files = PreviewFiles::of(folder, code);
        if (address.empty() || PathExists(files.picture)) continue;
        const std::string number = GbkToUtf8(DisplayText(catalogue->read(Field::Number)));
        progress.beforeItem();
        progress.setText("正在下载预览图，序号：" + number + "，目录名：" + GbkToUtf8(code));
        ++fetched;
        const bool gone = std::get<bool>(catalogue->read(Field::Gone));
        if (VariantFetch(client, address, files.picture, gone) == 0) {
            failures.add(number, GbkToUtf8(code));
        }
    }
    progress.finish("下载预览图完成，共下载预览图" + std::to_string(fetched) + "个",
                    FailureReport(kDownloadFailedHeading, failures));
    catalogue->close();
    context.busy->leave();
}

void PreviewRefresh(const CommandContext& edit) {
    HttpClient client;
    PreviewRefresh(edit, client);
}

void PreviewRefresh(const CommandContext& edit, HttpClient& client) {
    if (!edit.dialogs->confirm(
            "      "
            "现在将连接到Steam创意工坊页面下载预览图，根据网速和下载量的不同会需要相当长一段时间，"
            "期间会有假死现象。如果继续，将下载相应MOD编号的*.jpg文件到相应目录，是否继续？",
            kQuestionTitle)) {
        return;
    }
    edit.progressBox->setText("正在统计数据...");
    edit.resultBox->append("\r\n正在统计数据...");
    edit.pump->runEvents(1);
    std::vector<PickedItem> items;
    {
        auto catalogue = OpenCatalogueFor(edit, "更新预览图片");
        if (!catalogue) return;
        items = CollectPickedItems(edit, *catalogue);
    }
    if (items.empty()) {
        edit.resultBox->append("\r\n请选择至少一项进行更新。");
        return;
    }
    edit.resultBox->append("\r\n正在下载图片...");
    edit.progressBox->setText("正在下载图片...");
    edit.pump->runEvents(1);
    edit.busy->enter();

    const HourWindow window = HourWindow::read(edit.leastHours->text(), edit.mostHours->text());
    auto showProgress = [&edit](const PickedItem& item) {
        if (edit.showProgress->isChecked()) edit.pump->runEvents(1);
        edit.progressBox->setText("正在下载预览图，序号：" + GbkToUtf8(item.number) + "，目录名：" +
                                  GbkToUtf8(item.code));
    };
    int fetched = 0;
    FailureList failures;
    for (const PickedItem& item : items) {
        const PreviewFiles files = PreviewFiles::of(edit.workshopFolder->text(), item.code);
        if (!PathExists(files.picture)) {
            showProgress(item);
            ++fetched;
            if (VariantFetch(client, item.address, files.temporary, false) == 0) {
                failures.add(GbkToUtf8(item.number), GbkToUtf8(item.code));
            } else {
                ReplaceFile(files.temporary, files.picture);
            }
            continue;
        }
        const auto age = HoursSinceLastWrite(files.picture);
        if (!age || !window.admits(*age)) continue;
        const auto oldDigest = Md5OfFile(files.picture);
        const std::int64_t oldSize = FileSize(files.picture);
        showProgress(item);
        ++fetched;
        const std::int64_t newSize = VariantFetch(client, item.address, files.temporary, false);
        if (newSize == 0) {
            failures.add(GbkToUtf8(item.number), GbkToUtf8(item.code));
            continue;
        }
        if (oldDigest && Md5OfFile(files.temporary) == oldDigest) {
            DeleteFile(files.temporary);
            continue;
        }
        ReplaceOldPicture(files, oldSize, newSize, edit.keepPreviewBackup->isChecked());
    }
    const std::string summary = "更新预览图完成，共下载预览图" + std::to_string(fetched) + "个";
    edit.progressBox->setText(summary);
    edit.resultBox->append("\r\n\r\n" + summary);
    edit.resultBox->append(FailureReport(kRefreshFailedHeading, failures));
    edit.busy->leave();
}

}  // namespace kestavel
