#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/CommandContext.h"
#include "app/Dialogs.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/WorkshopSettings.h"
#include "platform/FileSystem.h"

namespace kestavel {

// The catalogue and the settings file lie in the run directory.
inline std::string CataloguePath(const std::string& runDirectory) {
    return JoinPath(runDirectory, ModCatalogue::kFileName);
}
inline std::string SettingsPath(const std::string& runDirectory) {
    return JoinPath(runDirectory, WorkshopSettings::kFileName);
}

// Opens the catalogue for a command; when it cannot be opened, says so, naming the file and the
// command that did not run, and gives nothing.
std::unique_ptr<ModCatalogue> OpenCatalogueFor(Dialogs& dialogs, const std::string& runDirectory,
                                               std::string_view command);
std::unique_ptr<ModCatalogue> OpenCatalogueFor(const CommandContext& context,
                                               std::string_view command);

}  // namespace kestavel
