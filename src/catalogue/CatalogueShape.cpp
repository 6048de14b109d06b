#include "catalogue/CatalogueShape.h"

#include <fstream>
#include <string_view>

#include "catalogue/ModRecord.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"

namespace kestavel {
namespace {

constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};
constexpr std::size_t kHeaderBytes = 100;

// Told from the file's header before SQLite sees it, so that SQLite never treats an empty file
// as a new database and never looks for the side files a WAL database needs.
std::optional<std::string> HeaderProblem(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string header(kHeaderBytes, '\0');
    if (!in || !in.read(header.data(), static_cast<std::streamsize>(header.size()))) {
        return "the file is too short for an SQLite database";
    }
    if (std::string_view(header).substr(0, kSqliteMagic.size()) != kSqliteMagic) {
        return "the file is not an SQLite 3 database";
    }
    // Bytes 18 and 19 are the write and read versions: 1 for a rollback journal, 2 for WAL.
    if (header[18] != 1 || header[19] != 1) return "the database is not in rollback-journal mode";
    return std::nullopt;
}

// One row of one whole-number column, or nothing with the reason in *problem.
std::optional<std::int64_t> Number(SqliteDatabase& db, const std::string& sql,
                                   std::string& problem) {
    auto statement = db.prepare(sql, &problem);
    if (!statement) return std::nullopt;
    if (statement->step() != SqliteStatement::Step::Row) {
        problem = db.lastError();
        return std::nullopt;
    }
    return statement->columnInt(0);
}

}  // namespace

std::optional<std::string> CatalogueColumnsProblem(SqliteDatabase& db) {
    std::string reason;
    auto columns = db.prepare("SELECT name FROM pragma_table_info('ModCatalogue')", &reason);
    if (!columns) return reason;
    std::size_t i = 0;
    for (;;) {
        const auto step = columns->step();
        if (step == SqliteStatement::Step::Error) return db.lastError();
        if (step == SqliteStatement::Step::Done) break;
        if (i >= kFields.size() || columns->columnView(0) != kFields[i].name) {
            return "the table ModCatalogue has other columns than a catalogue";
        }
        ++i;
    }
    if (i == 0) return "there is no table ModCatalogue";
    if (i != kFields.size()) return "the table ModCatalogue lacks columns";
    return std::nullopt;
}

std::optional<std::string> CatalogueShapeProblem(const std::string& path) {
    if (IsDirectory(path)) return "it is a folder";
    if (!PathExists(path)) return "the file does not exist";
    if (auto problem = HeaderProblem(path)) return problem;

    std::string problem;
    auto db = SqliteDatabase::open(path, SqliteDatabase::Mode::ReadOnly, &problem);
    if (!db) return problem;
    auto kind = db->prepare(
        "SELECT type FROM sqlite_master WHERE name = 'ModCatalogue' COLLATE NOCASE", &problem);
    if (!kind) return problem;
    const auto step = kind->step();
    if (step == SqliteStatement::Step::Error) return db->lastError();
    if (step == SqliteStatement::Step::Done) return "there is no table ModCatalogue";
    if (kind->columnView(0) != "table") return "ModCatalogue is a " + kind->columnBytes(0);
    if (auto columns = CatalogueColumnsProblem(*db)) return columns;

    const auto count = Number(*db, "SELECT count(*) FROM ModCatalogue", problem);
    const auto first = Number(*db, "SELECT coalesce(min(rowid), 1) FROM ModCatalogue", problem);
    const auto last = Number(*db, "SELECT coalesce(max(rowid), 0) FROM ModCatalogue", problem);
    if (!count || !first || !last) return problem;
    if (*first != 1 || *last != *count) {
        return "the records are not numbered 1 to " + std::to_string(*count) + " without a gap";
    }
    return std::nullopt;
}

bool SettleCatalogueJournal(const std::string& path) {
    const std::string journal = path + "-journal";
    if (FileSize(journal) <= 0) return true;
    if (auto db = SqliteDatabase::open(path, SqliteDatabase::Mode::ReadWrite, nullptr)) {
        db->execute("SELECT count(*) FROM sqlite_master");
    }
    return FileSize(journal) <= 0;
}

}  // namespace kestavel
