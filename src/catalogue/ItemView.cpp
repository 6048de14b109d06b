#include "catalogue/ItemView.h"

#include <cstdlib>

#include "catalogue/ModCatalogue.h"
#include "catalogue/ModFolder.h"
#include "catalogue/RunFiles.h"
#include "platform/CodePage.h"

namespace kestavel {
namespace {

GbkText JoinedDescription(const std::string& runDirectory, const GbkText& number) {
    GbkText joined;
    auto catalogue = ModCatalogue::open(CataloguePath(runDirectory), nullptr);
    if (!catalogue) return joined;
    const long record = std::strtol(number.bytes().c_str(), nullptr, 10);
    if (record < 1 || record > catalogue->recordCount()) return joined;
    catalogue->goToRecord(static_cast<int>(record));
    for (int piece = 0; piece < kDescriptionPieces; ++piece) {
        joined += std::get<GbkText>(catalogue->read(Position(Field::Description1) + piece));
    }
    return joined;
}

}  // namespace

std::string PreviewPicturePath(const std::string& workshopFolder, const GbkText& code) {
    return JoinPath(ModFolder(workshopFolder, code), GbkToUtf8(code) + ".jpg");
}

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
    context.shell->setClipboardText(codeText);
    context.previewCaption->setText("预览图:" + GbkToUtf8(number) + "/" + codeText);
    const std::string picture = PreviewPicturePath(context.workshopFolder->text(), code);
    if (PathExists(picture)) {
        context.noPreviewLink->setVisible(false);
        context.previewPicture->showFile(picture);
    } else {
        context.noPreviewLink->setVisible(true);
        context.previewPicture->clear();
    }
    context.descriptionBox->setText(
        DescriptionLines(JoinedDescription(context.runDirectory, number)));
}

}  // namespace kestavel
