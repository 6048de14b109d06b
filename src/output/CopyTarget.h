#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestavel {

// Why a copy may not go into this target folder, as the message to show; nothing when it may.
// The workshop folder itself is refused, and so is any folder that is or lies inside the folder
// of a picked item, since the copy would then write into what it copies. Links and "." or ".."
// parts are resolved before comparing; a target that does not exist yet is compared as named.
std::optional<std::string> CopyTargetRefusal(const std::string& target,
                                             const std::string& workshopFolder,
                                             const std::vector<std::string>& ids);

}  // namespace kestavel
