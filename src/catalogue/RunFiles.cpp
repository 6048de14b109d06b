#include "catalogue/RunFiles.h"

namespace kestavel {

std::unique_ptr<ModCatalogue> OpenCatalogueFor(const CommandContext& context,
                                               std::string_view command) {
    const std::string path = CataloguePath(context.runDirectory);
    std::string error;
    auto catalogue = ModCatalogue::open(path, &error);
    if (!catalogue) {
        context.services.dialogs->message("DEVodu.edb无法打开，" + std::string(command) +
                                          "未进行。\r\n" + path + "\r\n(" + error + ")");
    }
    return catalogue;
}

}  // namespace kestavel
