#include "catalogue/RunFiles.h"

namespace kestavel {

std::unique_ptr<ModCatalogue> OpenCatalogueFor(Dialogs& dialogs, const std::string& runDirectory,
                                               std::string_view command) {
    const std::string path = CataloguePath(runDirectory);
    std::string error;
    auto catalogue = ModCatalogue::open(path, &error);
    if (!catalogue) {
        dialogs.message("DEVodu.edb无法打开，" + std::string(command) + "未进行。\r\n" + path +
                        "\r\n(" + error + ")");
    }
    return catalogue;
}

std::unique_ptr<ModCatalogue> OpenCatalogueFor(const CommandContext& context,
                                               std::string_view command) {
    return OpenCatalogueFor(*context.services.dialogs, context.runDirectory, command);
}

}  // namespace kestavel
