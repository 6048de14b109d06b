#include "pages/PageRefresh.h"

#include <string>
#include <vector>

#include "app/CommandFrame.h"
#include "app/ConcurrentFetches.h"
#include "app/HourWindow.h"
#include "catalogue/ItemFolder.h"
#include "pages/FailureReport.h"
#include "pages/FetchTally.h"
#include "pages/PageCommands.h"
#include "pages/PageDocument.h"
#include "pages/PageFetch.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kestavel {
namespace {

constexpr const char* kPickNone = "请选择至少一项进行更新。";
constexpr const char* kReextractLine =
    "\r\n请关闭此编辑窗口并在主窗口中重新获取MOD信息，否则更新的文档信息无法生效。";
constexpr const char* kReextractProgress =
    "。请关闭此编辑窗口并在主窗口中重新获取MOD信息，否则更新的文档信息无法生效！！！";

struct PickedItem {
    std::string number;  // the row's 序号 text, UTF-8
    GbkText code;
};

std::vector<PickedItem> PickedItems(const ItemList& list) {
    std::vector<PickedItem> items;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.isPicked(row)) items.push_back({GbkToUtf8(list.cell(row, 0)), list.cell(row, 1)});
    }
    return items;
}

// A page file that cannot be read counts as dead.
bool IsLivePageFile(const std::string& path) {
    auto page = PageDocument::open(path);
    return page && IsLivePage(*page);
}

// A saved page is fetched again only while it is live and its age lies in the window; a page
// that cannot be read counts as dead. The age, which costs no read of the page, is asked first.
bool SavedPageDue(const std::string& path, const CommandContext& edit) {
    const auto age = WallClockHoursSinceLastWrite(path);
    // The bounds are read at the moment of use, as the boxes stand then.
    const HourWindow window =
        HourWindow::read(edit.window.leastHours->text(), edit.window.mostHours->text());
    return age && window.admits(*age) && IsLivePageFile(path);
}

}  // namespace

void RefreshPages(const CommandContext& edit) {
    if (!Confirmed(edit, kDownloadQuestion)) return;
    CommandFrame frame(edit);
    frame.setProgress("正在统计数据...");
    edit.window.resultBox->append("\r\n正在统计数据...");
    edit.services.pump->runEvents(1);
    const std::vector<PickedItem> items = PickedItems(*edit.window.list);
    if (items.empty()) {
        frame.setProgress(kPickNone);
        edit.window.resultBox->append(std::string("\r\n") + kPickNone);
        return;
    }
    edit.window.resultBox->append("\r\n正在下载文档...");
    frame.setProgress("正在下载文档...");
    edit.services.pump->runEvents(1);

    // Written by the item's job, read once every job has ended.
    std::vector<FetchOutcome> outcomes(items.size(), FetchOutcome::NotFetched);
    {
        ConcurrentFetches fetches(edit, frame);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const PickedItem& item = items[i];
            if (frame.stopRequested()) break;
            // Both settings are taken from their boxes at the moment of use.
            const ItemFolder folder(WorkshopFolder(edit.settings), item.code);
            const std::string path = folder.page();
            if (!fetches.awaitKey(path)) break;
            const bool saved = PathExists(path);
            if (saved && !SavedPageDue(path, edit)) continue;
            frame.beforeItem();
            const std::string progress =
                "正在下载网页文档，序号：" + item.number + "，目录名：" + GbkToUtf8(item.code);
            // The fresh copy is complete under the temporary name before it takes the page's
            // name, so the item always has its last good page and nothing half written is kept.
            auto job = [&outcome = outcomes[i], saved, path, temporary = folder.temporaryPage(),
                        address = PageAddress(edit.settings.pagePrefix->text(), item.code)](
                           FetchWorker& worker) {
                const bool fetched = FetchPageTo(worker.http, address, temporary);
                // A fetch cut short by the stop is no answer.
                if (worker.stopRequested()) {
                    DeleteFile(temporary);
                    return;
                }
                outcome = fetched ? FetchOutcome::Fetched : FetchOutcome::Failed;
                if (!fetched) return;
                // A dead fresh copy must not replace the last live one; an item without a page
                // keeps whatever the workshop answered.
                if (saved && !IsLivePageFile(temporary)) {
                    DeleteFile(temporary);
                    return;
                }
                // One rename: the saved page is replaced, never first removed.
                if (!ReplaceFile(temporary, path)) {
                    DeleteFile(temporary);
                    outcome = FetchOutcome::Failed;
                }
            };
            if (!fetches.start(path, progress, std::move(job))) break;
        }
        fetches.finish();
    }
    const FetchTally tally = TallyFetches(outcomes, [&](std::size_t i) {
        return std::pair(items[i].number, GbkToUtf8(items[i].code));
    });
    const std::string summary =
        "更新网页文档完成，共下载文档" + std::to_string(tally.fetched) + "个";
    frame.finish(summary, FailureReport(kRefreshFailedHeading, tally.failures) + kReextractLine);
    frame.setProgress(summary + kReextractProgress);
}

}  // namespace kestavel
