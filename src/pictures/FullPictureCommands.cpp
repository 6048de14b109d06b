#include "pictures/FullPictureCommands.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CommandFrame.h"
#include "app/ConcurrentFetches.h"
#include "catalogue/ItemFolder.h"
#include "catalogue/PickMarks.h"
#include "pages/PageDocument.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/HttpClient.h"

namespace kestavel {
namespace {

// A smaller answer is an error page or a cut-down picture, not worth a full picture's name.
constexpr std::size_t kLargestDiscarded = 10240;

struct PickedRow {
    int row;
    std::string number;  // 序号 as UTF-8
    GbkText code;
};

std::vector<PickedRow> CollectPickedRows(const ItemList& list) {
    std::vector<PickedRow> rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.isPicked(row))
            rows.push_back({row, GbkToUtf8(list.cell(row, 0)), list.cell(row, 1)});
    }
    return rows;
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        if (!joined.empty()) joined += "，";
        joined += text;
    }
    return joined;
}

}  // namespace

void FullPictureDownload(const CommandContext& edit, std::span<const std::string_view> markers) {
    if (!Confirmed(edit,
                   "      "
                   "现在将连接到Steam创意工坊页面下载相关图片。由于图片数量会很多，"
                   "需要下载很多的数据，根据网速的不同会需要相当长一段时间，期间会有假死现象。"
                   "如果继续，将下载相应MOD编号的*_pic*.jpg文件到相应目录，是否继续？")) {
        return;
    }
    CommandFrame frame(edit);
    frame.setProgress("正在统计数据...");
    edit.window.resultBox->append("\r\n正在统计数据...");
    edit.services.pump->runEvents(1);
    const std::vector<PickedRow> items = CollectPickedRows(*edit.window.list);
    if (items.empty()) {
        edit.window.resultBox->append("\r\n请选择至少一项进行下载。");
        frame.setProgress("请选择至少一项进行下载。");
        return;
    }
    edit.window.resultBox->append("\r\n正在下载图片...");
    frame.setProgress("正在下载图片...");
    edit.services.pump->runEvents(1);

    // Counted by the jobs: each fetch the stop did not cut short.
    std::atomic<int> fetched{0};
    {
        ConcurrentFetches fetches(edit, frame);
        for (const PickedRow& item : items) {
            if (frame.stopRequested()) break;
            const std::string workshopFolder = WorkshopFolder(edit.settings);
            std::vector<std::string> addresses;
            const ItemFolder folder(workshopFolder, item.code);
            if (auto page = PageDocument::open(folder.page())) {
                addresses = PictureAddresses(*page, markers);
            }
            const std::string code = GbkToUtf8(item.code);
            for (std::size_t k = 1; k <= addresses.size(); ++k) {
                const std::string path = folder.fullPicture(static_cast<int>(k));
                const std::string name = std::filesystem::path(path).filename().string();
                frame.beforeItem();
                if (!fetches.awaitKey(path)) break;
                auto job = [&fetched, path,
                            temporary = folder.fullPictureTemporary(static_cast<int>(k)),
                            address = addresses[k - 1]](FetchWorker& worker) {
                    const auto answer = worker.http.get(address);
                    // A fetch the stop cut short is no answer, and is not counted.
                    if (worker.stopRequested()) return;
                    ++fetched;
                    if (!answer || !answer->succeeded() ||
                        answer->body.size() <= kLargestDiscarded) {
                        return;
                    }
                    // Written whole under its temporary name and renamed over the old picture in
                    // one step; a kill leaves at most that name, which the next download takes.
                    if (!WriteWholeFile(temporary, answer->body) || !ReplaceFile(temporary, path)) {
                        DeleteFile(temporary);
                    }
                };
                const std::string progress = "正在下载图片，序号：" + item.number + "，目录名：" +
                                             code + "，文件名：" + name;
                if (!fetches.start(path, progress, std::move(job))) break;
            }
        }
        fetches.finish();
    }
    const std::string summary =
        "\r\n下载完成，共下载图片" + std::to_string(fetched.load()) + "个。";
    frame.setProgress(summary);
    edit.window.resultBox->append(summary);
}

void FullPictureCheck(const CommandContext& edit) {
    ItemList& list = *edit.window.list;
    CommandFrame frame(edit);
    frame.setProgress("正在统计数据...");
    edit.window.resultBox->append("\r\n正在统计数据...");
    edit.services.pump->runEvents(1);
    const std::vector<PickedRow> items = CollectPickedRows(list);
    if (items.empty()) {
        edit.window.resultBox->append("\r\n请选择至少一项进行更新。");
        return;
    }
    ClearPickMarks(list);
    list.clearHighlight();
    edit.window.resultBox->append("\r\n正在检查是否下载过网页全图...");
    frame.setProgress("正在检查是否下载过网页全图...");
    edit.services.pump->runEvents(1);

    std::vector<int> rows;
    std::vector<std::string> numbers;
    std::vector<std::string> codes;
    for (const PickedRow& item : items) {
        if (frame.stopRequested()) break;
        const ItemFolder folder(WorkshopFolder(edit.settings), item.code);
        if (!ListDirectory(folder.path(), ListFilter::Everything, "*_pic*.jpg").empty()) continue;
        rows.push_back(item.row);
        numbers.push_back(item.number);
        codes.push_back(GbkToUtf8(item.code));
    }
    // No events run between the items, so highlighting and scrolling once at the end shows
    // what doing it item by item would.
    if (!rows.empty()) {
        list.highlightRows(rows);
        list.makeVisibleInTurn(rows);
        list.focus();
    }
    const std::string summary =
        "\r\n已检测完毕，共有" + std::to_string(rows.size()) + "个MOD未下载网页全图。";
    frame.setProgress(summary);
    edit.window.resultBox->append(summary);
    if (!rows.empty()) {
        edit.window.resultBox->append("\r\n序号是：" + Joined(numbers) + "\r\n编码是：" +
                                      Joined(codes));
    }
}

}  // namespace kestavel
