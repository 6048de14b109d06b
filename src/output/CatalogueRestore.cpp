#include "output/CatalogueRestore.h"

#include <filesystem>
#include <system_error>

#include "catalogue/CatalogueShape.h"
#include "catalogue/RunFiles.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"

namespace kestavel {
namespace {

bool IsSameFile(const std::string& one, const std::string& other) {
    std::error_code error;
    return std::filesystem::equivalent(one, other, error) && !error;
}

}  // namespace

void CatalogueRestore(const std::string& runDirectory, Dialogs& dialogs, TextBox& resultBox,
                      BusyState& busy, const RestoreWindowSteps& steps) {
    const std::string catalogue = CataloguePath(runDirectory);
    const auto chosen = dialogs.chooseOpenFile(
        "恢复", "EDB数据库文件（*.edb）|*.edb|所有文件（*.*）|*.*", runDirectory);
    if (!chosen || chosen->empty()) {
        resultBox.append("\r\n未选择文件，恢复终止。");
        return;
    }
    const std::string success = "\r\n已成功恢复数据库文件" + *chosen + "。";
    if (IsSameFile(*chosen, catalogue)) {
        resultBox.append(success);
        return;
    }
    if (auto problem = CatalogueShapeProblem(*chosen)) {
        dialogs.message("所选文件不是MOD目录文件，恢复未进行：\r\n" + *chosen + "\r\n(" + *problem +
                        ")");
        return;
    }
    if (!dialogs.confirm("      现在将恢复数据库备份文件" + *chosen +
                         "到主程序目录下并覆盖当前操作数据库，是否继续？")) {
        return;
    }

    busy.enter();
    if (steps.beforeSwap) steps.beforeSwap();
    const bool swapped =
        SettleCatalogueJournal(catalogue) &&
        CopyFileInChunks(*chosen, catalogue, {}, {}, Durability::OnDisk) == CopyResult::Copied;
    if (steps.afterSwap) steps.afterSwap();
    resultBox.append(swapped ? success : "\r\n恢复数据库文件" + *chosen + "失败。");
    busy.leave();
}

}  // namespace kestavel
