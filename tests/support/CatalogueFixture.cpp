#include "support/CatalogueFixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "catalogue/ModCatalogue.h"
#include "platform/CodePage.h"
#include "platform/SqliteDatabase.h"

namespace kestavel::test {

GbkText Gbk(std::string_view utf8) {
    GbkText text;
    if (!TryUtf8ToGbk(utf8, text)) throw std::invalid_argument("not convertible to GBK");
    return text;
}

void RunSql(const std::string& path, const std::string& sql) {
    std::string error;
    auto db = SqliteDatabase::open(path, SqliteDatabase::Mode::Create, &error);
    if (!db || !db->execute(sql, &error)) throw std::runtime_error("sql failed: " + error);
}

void MakeEmptyCatalogue(const std::string& path) {
    RunSql(path, ModCatalogue::CreateTableSql());
}

void LeaveHotJournal(const std::string& path) {
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        auto db = SqliteDatabase::open(path, SqliteDatabase::Mode::ReadWrite, nullptr);
        const bool ok = db && db->execute(
                                  "PRAGMA cache_size = 1; BEGIN; UPDATE ModCatalogue SET "
                                  "\"描述1\" = randomblob(length(\"描述1\"))");
        // Dies without committing, closing or cleaning up, as a killed process would.
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the writing child failed");
    }
}

}  // namespace kestavel::test
