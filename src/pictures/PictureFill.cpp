#include "pictures/PictureFill.h"

#include <string>

#include "app/CommandFrame.h"
#include "catalogue/ItemFolder.h"
#include "pictures/Thumbnail.h"
#include "platform/FileSystem.h"

namespace kestavel {

void PictureFill(const CommandContext& source, const PictureWindowOpener& open) {
    // A fill disables nothing; its frames only keep both windows until it has ended.
    CommandContext unbusy = source;
    unbusy.services.busy = nullptr;
    CommandFrame frame(unbusy);
    frame.setProgress("正在统计数据...");
    source.window.resultBox->append("\r\n正在统计数据...");
    source.services.pump->runEvents(1);

    const ItemList& list = *source.window.list;
    std::vector<GbkText> codes;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.isPicked(row)) codes.push_back(list.cell(row, 1));
    }
    if (codes.empty()) {
        frame.setProgress("请选择至少一项进行操作。");
        source.window.resultBox->append("\r\n请选择至少一项进行操作。");
        return;
    }
    if (codes.size() > kMostPictures) {
        source.services.dialogs->message(
            "图片预览方式一次最多显示" + std::to_string(kMostPictures) +
            "张图片，您当前已经选择了" + std::to_string(codes.size()) + "个MOD，请重新选择。");
        return;
    }
    frame.setProgress("正在生成预览图...");
    source.window.resultBox->append("\r\n正在生成预览图...");
    PictureView& view = open();
    CommandFrame viewFrame(view.context());
    TextBox& viewResults = *view.context().window.resultBox;
    viewResults.append("正在生成预览图，请稍等...");

    std::vector<Thumbnail> pictures;
    for (const GbkText& code : codes) {
        if (frame.stopRequested() || viewFrame.stopRequested()) break;
        const std::string path = ItemFolder(WorkshopFolder(source.settings), code).preview();
        // An item without a preview picture gets no entry.
        if (!PathExists(path)) continue;
        source.services.pump->runEvents(1);
        pictures.push_back({code, MakeThumbnail(path)});
    }
    view.showPictures(std::move(pictures));
    frame.setProgress("预览图生成完毕...");
    source.window.resultBox->append("\r\n预览图生成完毕...");
    viewResults.append("\r\n预览图生成完毕...");
}

}  // namespace kestavel
