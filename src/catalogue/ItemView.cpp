#include "catalogue/ItemView.h"

#include <cstdlib>

#include "catalogue/ItemFolder.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RecordNumber.h"
#include "catalogue/RunFiles.h"
#include "platform/CodePage.h"

namespace kestavel {
namespace {

GbkText JoinedDescription(const std::string& runDirectory, const GbkText& number) {
    GbkText joined;
    auto catalogue = ModCatalogue::open(CataloguePath(runDirectory), nullptr);
    if (!catalogue) return joined;
    const int record = RecordNumberOf(number);
    if (record < 1 || record > catalogue->recordCount()) return joined;
    catalogue->goToRecord(record);
    for (int piece = 0; piece < kDescriptionPieces; ++piece) {
        joined += std::get<GbkText>(catalogue->read(Position(Field::Description1) + piece));
    }
    return joined;
}

}  // namespace

std::string DescriptionLines(const GbkText& description) {
    // "<br>" is ASCII and cannot start inside a GBK double-byte character's second byte
    // ("<" is below 0x40), so a byte search is safe.
    std::string_view rest = description.view();
    std::string lines;
    while (!rest.empty()) {
        const std::size_t mark = rest.find("<br>");
        const std::string_view piece = rest.substr(0, mark);
        lines += GbkToUtf8(GbkText::fromBytes(std::string(piece))) + "\r\n";
        if (mark == std::string_view::npos) break;
        rest.remove_prefix(mark + 4);
    }
    return lines;
}

void ShowItem(const CommandContext& context, const GbkText& number, const GbkText& code) {
    const std::string codeText = GbkToUtf8(code);
    context.services.shell->setClipboardText(codeText);
    context.itemView.caption->setText("预览图:" + GbkToUtf8(number) + "/" + codeText);
    const std::string picture = ItemFolder(WorkshopFolder(context.settings), code).preview();
    if (PathExists(picture)) {
        context.itemView.noPreviewLink->setVisible(false);
        context.itemView.picture->showFile(picture);
    } else {
        context.itemView.noPreviewLink->setVisible(true);
        context.itemView.picture->clear();
    }
    context.itemView.description->setText(
        DescriptionLines(JoinedDescription(context.runDirectory, number)));
}

}  // namespace kestavel
