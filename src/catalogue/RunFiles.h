#pragma once

#include <string>

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

}  // namespace kestavel
