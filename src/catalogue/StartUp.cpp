#include "catalogue/StartUp.h"

#include <string>

#include "catalogue/CatalogueShape.h"
#include "catalogue/ListMirror.h"
#include "catalogue/RunFiles.h"

namespace kestavel {

bool PrepareMainWindow(const CommandContext& context) {
    const std::string catalogue = CataloguePath(context.runDirectory);
    const std::string settingsFile = SettingsPath(context.runDirectory);
    if (!PathExists(catalogue)) {
        context.services.dialogs->message("DEVodu.edb文件不存在，现在将退出！");
        return false;
    }
    if (!PathExists(settingsFile)) {
        context.services.dialogs->message("VODarer.txt文件不存在，现在将退出！");
        return false;
    }
    // A kill in the middle of a write leaves a journal that the first opening rolls back; only
    // then is the file's shape what it will be.
    SettleCatalogueJournal(catalogue);
    if (auto problem = CatalogueShapeProblem(catalogue)) {
        context.services.dialogs->message("DEVodu.edb不是有效的MOD目录文件，现在将退出！\r\n" +
                                          catalogue + "\r\n(" + *problem + ")");
        return false;
    }
    auto settings = WorkshopSettings::read(settingsFile);
    if (!settings) {
        context.services.dialogs->message("VODarer.txt文件无法读取，现在将退出！\r\n" +
                                          settingsFile);
        return false;
    }
    context.settings.workshopFolder->setText(settings->workshopFolder);
    context.settings.pagePrefix->setText(settings->pagePrefix);
    std::string error;
    if (!FillListMirror(*context.window.list, catalogue, &error)) {
        context.services.dialogs->message("DEVodu.edb不是有效的MOD目录文件，现在将退出！\r\n" +
                                          catalogue + "\r\n(" + error + ")");
        return false;
    }
    return true;
}

bool RunFilesPresent(const CommandContext& context) {
    if (!PathExists(CataloguePath(context.runDirectory))) {
        context.services.dialogs->message("DEVodu.edb文件不存在！");
        return false;
    }
    if (!PathExists(SettingsPath(context.runDirectory))) {
        context.services.dialogs->message("VODarer.txt文件不存在！");
        return false;
    }
    return true;
}

}  // namespace kestavel
