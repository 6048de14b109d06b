#include "support/CatalogueFixture.h"

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

}  // namespace kestavel::test
