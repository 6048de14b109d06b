#include "output/CopyTarget.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "output/ItemTree.h"
#include "platform/FileSystem.h"

namespace kestavel {
namespace {
namespace fs = std::filesystem;

fs::path Resolved(const std::string& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    if (error) resolved = fs::path(path).lexically_normal();
    // "/a/b/" and "/a/b" name the same folder.
    if (!resolved.has_filename() && resolved.has_relative_path()) {
        resolved = resolved.parent_path();
    }
    return resolved;
}

bool IsSameOrInside(const fs::path& inner, const fs::path& outer) {
    const auto ends = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return ends.first == outer.end();
}

}  // namespace

std::optional<std::string> CopyTargetRefusal(const std::string& target,
                                             const std::string& workshopFolder,
                                             const std::vector<std::string>& ids) {
    const fs::path resolvedTarget = Resolved(target);
    if (resolvedTarget == Resolved(workshopFolder)) {
        return "不能复制到创意工坊MOD文件位置本身：" + target + "\r\n请选择其他文件夹。";
    }
    for (const std::string& id : ids) {
        if (!IsItemFolderName(id)) continue;
        const std::string itemFolder = JoinPath(workshopFolder, id);
        if (IsSameOrInside(resolvedTarget, Resolved(itemFolder))) {
            return "不能复制到所选MOD自己的文件夹中：" + target + "\r\n（" + itemFolder +
                   "）\r\n请选择其他文件夹。";
        }
    }
    return std::nullopt;
}

}  // namespace kestavel
