#include "catalogue/ModCatalogue.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"
#include "support/CatalogueFixture.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

using test::Gbk;

class ModCatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("DEVodu.edb");
        test::MakeEmptyCatalogue(path);
    }
    std::unique_ptr<ModCatalogue> open() {
        std::string error;
        auto catalogue = ModCatalogue::open(path, &error);
        EXPECT_TRUE(catalogue) << error;
        return catalogue;
    }
    std::unique_ptr<ModCatalogue> openWith(std::initializer_list<const char*> codes) {
        auto catalogue = open();
        std::int64_t n = 0;
        for (const char* code : codes) catalogue->addRecord(++n, GbkText::fromAscii(code));
        return catalogue;
    }
    test::TempDir dir;
    std::string path;
};

TEST_F(ModCatalogueTest, AddedRecordsHoldNumberCodeAndEmptyValues) {
    {
        auto catalogue = openWith({"100", "200"});
        EXPECT_EQ(catalogue->recordCount(), 2);
    }
    auto catalogue = open();
    ASSERT_EQ(catalogue->recordCount(), 2);
    ASSERT_TRUE(catalogue->goToRecord(2));
    EXPECT_EQ(std::get<std::int64_t>(catalogue->read("序号")), 2);
    EXPECT_EQ(std::get<GbkText>(catalogue->read("编码")).bytes(), "200");
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Name)).bytes(), "");
    EXPECT_EQ(std::get<bool>(catalogue->read(Field::Gone)), false);
    EXPECT_FALSE(std::get<std::optional<LocalDateTime>>(catalogue->read(Field::UpdateDate)));
    EXPECT_FALSE(catalogue->goToRecord(3));
    EXPECT_FALSE(catalogue->goToRecord(0));
    EXPECT_EQ(catalogue->currentRecord(), 2);
}

TEST_F(ModCatalogueTest, ManyRecordsAreAddedInRunsAfterTheExistingOnes) {
    std::vector<std::string> codes;
    for (int i = 0; i < 600; ++i) codes.push_back(std::to_string(5000 + i));
    std::vector<ModCatalogue::NewRecord> records;
    for (int i = 0; i < 600; ++i) records.push_back({1000 + i, codes[static_cast<std::size_t>(i)]});
    {
        auto catalogue = openWith({"100"});
        EXPECT_EQ(catalogue->addRecords(records), 600u);
        EXPECT_EQ(catalogue->recordCount(), 601);
    }
    auto catalogue = open();
    ASSERT_EQ(catalogue->recordCount(), 601);
    for (int n : {2, 257, 258, 601}) {  // either side of a run's end, and the last
        ASSERT_TRUE(catalogue->goToRecord(n));
        EXPECT_EQ(std::get<std::int64_t>(catalogue->read(Field::Number)), 1000 + n - 2);
        EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Code)).bytes(),
                  std::to_string(5000 + n - 2));
        EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Name)).bytes(), "");
    }
}

TEST_F(ModCatalogueTest, AddingToALockedFileWritesNothing) {
    auto catalogue = openWith({});
    auto other = SqliteDatabase::open(path, SqliteDatabase::Mode::ReadWrite, nullptr);
    ASSERT_TRUE(other && other->execute("BEGIN IMMEDIATE"));
    const std::string code = "100";
    const ModCatalogue::NewRecord records[] = {{1, code}, {2, code}};
    EXPECT_EQ(catalogue->addRecords(records), 0u);
    EXPECT_EQ(catalogue->recordCount(), 0);
}

TEST_F(ModCatalogueTest, WrittenFieldsSurviveReopening) {
    const LocalDateTime when{2015, 10, 3, 14, 5, 9};
    {
        auto catalogue = openWith({"100"});
        catalogue->goToRecord(1);
        EXPECT_TRUE(catalogue->write(Field::Name, Gbk("道路标志")));
        EXPECT_TRUE(catalogue->write(Field::Gone, true));
        EXPECT_TRUE(
            catalogue->write(Field::Description8, GbkText::fromBytes(std::string(256, 'd'))));
        EXPECT_TRUE(catalogue->write(Field::UpdateDate, std::optional<LocalDateTime>(when)));
        EXPECT_FALSE(catalogue->write(20, GbkText()));
    }
    auto catalogue = open();
    catalogue->goToRecord(1);
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Name)), Gbk("道路标志"));
    EXPECT_TRUE(std::get<bool>(catalogue->read(Field::Gone)));
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Description8)).size(), 256u);
    EXPECT_EQ(std::get<std::optional<LocalDateTime>>(catalogue->read(Field::UpdateDate)), when);
}

TEST_F(ModCatalogueTest, ClearRemovesEveryRecordAndNumberingStartsAgain) {
    auto catalogue = openWith({"100", "200"});
    EXPECT_TRUE(catalogue->clear());
    EXPECT_EQ(catalogue->recordCount(), 0);
    catalogue->addRecord(1, GbkText::fromAscii("300"));
    catalogue->close();
    auto reopened = open();
    ASSERT_EQ(reopened->recordCount(), 1);
    reopened->goToRecord(1);
    EXPECT_EQ(std::get<GbkText>(reopened->read(Field::Code)).bytes(), "300");
}

TEST_F(ModCatalogueTest, FindByCodeGoesForwardAndAFailureKeepsTheCurrentRecord) {
    auto catalogue = openWith({"100", "200", "100", "300"});
    catalogue->goToFirstRecord();
    EXPECT_TRUE(catalogue->findCode(GbkText::fromAscii("100")));
    EXPECT_EQ(catalogue->currentRecord(), 1);
    catalogue->goToRecord(2);
    EXPECT_TRUE(catalogue->findCode(GbkText::fromAscii("100")));
    EXPECT_EQ(catalogue->currentRecord(), 3);

    catalogue->goToRecord(4);
    EXPECT_FALSE(catalogue->findCode(GbkText::fromAscii("200")));  // only behind the current one
    EXPECT_EQ(catalogue->currentRecord(), 4);
    EXPECT_FALSE(catalogue->findCode(GbkText::fromAscii("10")));  // whole text, not a prefix
    EXPECT_TRUE(catalogue->findCode(GbkText::fromAscii("300")));  // still searched from record 4
    EXPECT_EQ(catalogue->currentRecord(), 4);
}

TEST_F(ModCatalogueTest, FindOnAnEmptyTableFails) {
    auto catalogue = open();
    catalogue->goToFirstRecord();
    EXPECT_FALSE(catalogue->findCode(GbkText::fromAscii("100")));
    EXPECT_FALSE(catalogue->findNumber(1));
    EXPECT_EQ(catalogue->currentRecord(), 0);
}

TEST_F(ModCatalogueTest, FindByNumberAcceptsAFractionalStoredValueWithinTheTolerance) {
    openWith({"100", "200", "300"})->close();
    test::RunSql(path,
                 "UPDATE ModCatalogue SET \"序号\" = 2.00000001 WHERE rowid = 2;"
                 "UPDATE ModCatalogue SET \"序号\" = 3.001 WHERE rowid = 3;");
    auto catalogue = open();
    catalogue->goToFirstRecord();
    EXPECT_TRUE(catalogue->findNumber(2));
    EXPECT_EQ(catalogue->currentRecord(), 2);
    catalogue->goToFirstRecord();
    EXPECT_FALSE(catalogue->findNumber(3));
    EXPECT_EQ(catalogue->currentRecord(), 1);
    EXPECT_TRUE(catalogue->findNumber(1));
}

TEST_F(ModCatalogueTest, AHeldBatchLandsOnlyWhenCommitted) {
    {
        auto catalogue = open();
        catalogue->holdBatch(true);
        catalogue->addRecord(1, GbkText::fromAscii("100"));
        catalogue->rollback();
        EXPECT_EQ(catalogue->recordCount(), 0);
        catalogue->addRecord(1, GbkText::fromAscii("200"));
        EXPECT_TRUE(catalogue->commit());
    }
    auto catalogue = open();
    ASSERT_EQ(catalogue->recordCount(), 1);
    catalogue->goToRecord(1);
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Code)).bytes(), "200");
}

TEST_F(ModCatalogueTest, RefusesFilesThatAreNotACatalogueAndLeavesThemUnchanged) {
    struct Case {
        const char* what;
        std::string contents;
        const char* sql;
    };
    const Case cases[] = {
        {"garbage", std::string(5000, '\x5A'), nullptr},
        {"empty file", "", nullptr},
        {"database without the table", "", "CREATE TABLE other (a INTEGER)"},
        {"table with other columns", "",
         "CREATE TABLE ModCatalogue (\"序号\" INTEGER, \"编码\" BLOB)"},
    };
    for (const Case& c : cases) {
        const std::string file = dir.file(std::string(c.what) + ".edb");
        WriteWholeFile(file, c.contents);
        if (c.sql) test::RunSql(file, c.sql);
        const std::string before = *ReadWholeFile(file);
        std::string error;
        EXPECT_FALSE(ModCatalogue::open(file, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(*ReadWholeFile(file), before) << c.what;
    }
    std::string error;
    EXPECT_FALSE(ModCatalogue::open(dir.file("missing.edb"), &error));
    EXPECT_FALSE(PathExists(dir.file("missing.edb")));
}

}  // namespace
}  // namespace kestavel
