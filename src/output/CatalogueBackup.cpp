#include "output/CatalogueBackup.h"

#include <unistd.h>

#include "catalogue/RunFiles.h"
#include "output/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"

namespace kestavel {
namespace {

// Through SQLite rather than a byte copy, which would take a half-written catalogue as it lies.
bool BackUpInto(const std::string& catalogue, const std::string& target) {
    std::string temporary;
    const int fd = CreateFileBeside(target, temporary);
    if (fd < 0) return false;
    ::close(fd);
    bool ok = false;
    {
        auto source = SqliteDatabase::open(catalogue, SqliteDatabase::Mode::ReadWrite, nullptr);
        auto copy = SqliteDatabase::open(temporary, SqliteDatabase::Mode::ReadWrite, nullptr);
        ok = source && copy && source->copyInto(*copy);
    }
    if (ok && ReplaceFile(temporary, target)) return true;
    DeleteFile(temporary);
    return false;
}

}  // namespace

void CatalogueBackup(const std::string& runDirectory, Dialogs& dialogs, TextBox& resultBox,
                     const LocalDateTime& now) {
    auto catalogue = OpenCatalogueFor(dialogs, runDirectory, "备份");
    if (!catalogue) return;
    const int count = catalogue->recordCount();
    catalogue->close();

    const std::string defaultName =
        JoinPath(runDirectory, "DEVodu_" + FileStamp(now) + "_" + std::to_string(count) + ".edb");
    const auto chosen =
        dialogs.chooseSaveFile("备份", "EDB数据库文件（*.edb）|*.edb", defaultName, runDirectory);
    if (!chosen || chosen->empty()) {
        resultBox.append("\r\n未选择文件，备份终止。");
        return;
    }
    if (!dialogs.confirm("      备份数据库到" + *chosen + "下，是否继续？")) return;

    if (BackUpInto(CataloguePath(runDirectory), *chosen)) {
        resultBox.append("\r\n已成功备份数据库到：" + *chosen);
    } else {
        resultBox.append("\r\n数据库备份失败。");
    }
}

}  // namespace kestavel
