#include "output/ItemTree.h"

#include <filesystem>
#include <string_view>

#include "platform/FileSystem.h"

namespace kestavel {

void GatherItemTree(const std::string& root, const std::string& relative, ItemTree& tree,
                    std::stop_token stop) {
    if (stop.stop_requested()) return;
    std::vector<std::string> subfolders;
    std::vector<std::string> files;
    ForEachDirectoryEntryKind(JoinPath(root, relative), [&](std::string_view name, EntryKind kind) {
        if (kind == EntryKind::Directory) {
            subfolders.emplace_back(name);
        } else if (kind == EntryKind::Other) {
            files.emplace_back(name);
        }
    });
    for (const std::string& name : subfolders) {
        std::string folder = JoinPath(relative, name);
        tree.folders.push_back(folder);
        GatherItemTree(root, folder, tree, stop);
    }
    for (const std::string& name : files) tree.files.push_back(JoinPath(relative, name));
}

bool IsItemFolderName(const std::string& id) {
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    return !id.empty() && id != "." && id != ".." && id.find(separator) == std::string::npos &&
           id.find('/') == std::string::npos && id.find('\0') == std::string::npos;
}

}  // namespace kestavel
