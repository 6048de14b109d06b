#pragma once

#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kestavel {

// The folder of one item: the workshop folder joined with the item's id.
inline std::string ModFolder(std::string_view workshopFolder, const GbkText& code) {
    return JoinPath(workshopFolder, GbkToUtf8(code));
}

}  // namespace kestavel
