#include "catalogue/CatalogueShape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/ModCatalogue.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

const std::string kInsertThree =
    "INSERT INTO ModCatalogue (rowid, \"序号\", \"编码\") VALUES (1, 1, x'31'), (2, 2, x'32'), "
    "(3, 3.0, x'33')";

TEST(CatalogueShape, TellsACatalogueFromEverythingElseAndOnlyReadsTheFile) {
    const struct {
        const char* what;
        std::function<void(const std::string& path)> make;
        bool catalogue;
    } cases[] = {
        {"an empty catalogue", test::MakeEmptyCatalogue, true},
        {"records 1 to 3, one 序号 stored as a fraction",
         [](const std::string& path) {
             test::MakeEmptyCatalogue(path);
             test::RunSql(path, kInsertThree);
         },
         true},
        {"a text file",
         [](const std::string& path) { WriteWholeFile(path, "1\t100\r\n2\t200\r\n"); }, false},
        {"an empty file", [](const std::string& path) { WriteWholeFile(path, ""); }, false},
        {"an SQLite file without the table",
         [](const std::string& path) { test::RunSql(path, "CREATE TABLE other (a)"); }, false},
        {"a view named ModCatalogue",
         [](const std::string& path) {
             test::RunSql(path, ModCatalogue::CreateTableSql());
             test::RunSql(path, "ALTER TABLE ModCatalogue RENAME TO hidden");
             test::RunSql(path, "CREATE VIEW ModCatalogue AS SELECT * FROM hidden");
         },
         false},
        {"other columns",
         [](const std::string& path) {
             test::RunSql(path, "CREATE TABLE ModCatalogue (\"序号\" INTEGER, \"编码\" BLOB)");
         },
         false},
        {"a gap in the record numbers",
         [](const std::string& path) {
             test::MakeEmptyCatalogue(path);
             test::RunSql(path, kInsertThree + "; DELETE FROM ModCatalogue WHERE rowid = 2");
         },
         false},
        // An append numbers a new folder by its place in the listing when that number is free.
        {"a 序号 other than its record number",
         [](const std::string& path) {
             test::MakeEmptyCatalogue(path);
             test::RunSql(path, kInsertThree +
                                    "; UPDATE ModCatalogue SET \"序号\" = 7 WHERE "
                                    "rowid = 2");
         },
         true},
        {"a catalogue in WAL mode",
         [](const std::string& path) {
             test::RunSql(path, "PRAGMA journal_mode = WAL");
             test::RunSql(path, ModCatalogue::CreateTableSql());
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const std::string path = dir.file("chosen.edb");
        c.make(path);
        const auto before = ReadWholeFile(path);
        const auto problem = CatalogueShapeProblem(path);
        EXPECT_EQ(!problem, c.catalogue) << problem.value_or("");
        if (problem) {
            EXPECT_FALSE(problem->empty());
        }
        EXPECT_EQ(ReadWholeFile(path), before);
        EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything),
                  std::vector<std::string>{"chosen.edb"});
    }
}

TEST(CatalogueShape, RefusesWhatIsNoFile) {
    test::TempDir dir;
    EXPECT_TRUE(CatalogueShapeProblem(dir.file("missing.edb")));
    EXPECT_TRUE(CatalogueShapeProblem(dir.path()));
}

}  // namespace
}  // namespace kestavel
