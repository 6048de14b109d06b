#include "output/ItemListExport.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

constexpr LocalDateTime kNow{2015, 10, 4, 9, 30, 7};

class ItemListExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        workshop = dir.makeFolder("workshop");
        test::MakeEmptyCatalogue(CataloguePath(dir.path()));
    }

    // A record with every exported field filled, and one as index building adds it.
    void addTwoRecords() {
        std::string error;
        auto catalogue = ModCatalogue::open(CataloguePath(dir.path()), &error);
        ASSERT_TRUE(catalogue) << error;
        ASSERT_TRUE(catalogue->addRecord(1, GbkText::fromAscii("111")));
        ASSERT_TRUE(catalogue->addRecord(2, GbkText::fromAscii("222")));
        ASSERT_TRUE(catalogue->goToRecord(1));
        ASSERT_TRUE(catalogue->write({
            {Field::Name, test::Gbk("道路")},
            {Field::Author, GbkText::fromAscii("Ann")},
            {Field::PictureAddress, GbkText::fromAscii("http://never.exported/")},
            {Field::Gone, true},
            {Field::Description1, GbkText::fromAscii("first")},
            {Field::Description8, GbkText::fromAscii("last")},
            {Field::MainCategory, GbkText::fromAscii("Mod")},
            {Field::Detail1, GbkText::fromAscii("Road")},
            {Field::UpdateDate, std::optional<LocalDateTime>({2015, 10, 3, 14, 5, 0})},
        }));
        catalogue->close();
    }

    // Answers the save dialog with file, OK and the description question with descriptions.
    void exportInto(const std::string& file, bool descriptions) {
        dialogs.paths.push_back(file);
        dialogs.answers.push_back(true);
        dialogs.answers.push_back(descriptions);
        ItemListExport(dir.path(), workshop, dialogs, resultBox, kNow);
    }

    test::TempDir dir;
    std::string workshop;
    test::ScriptedDialogs dialogs;
    test::FakeTextBox resultBox;
};

TEST_F(ItemListExportTest, WritesNineOrSeventeenCellsPerRecordInGbk) {
    addTwoRecords();
    const std::string record1 = "| 1\t| 111\t| " + test::Gbk("道路").bytes() + "\t| Ann\t| " +
                                test::Gbk("2015年10月3日14时5分").bytes() +
                                "\t| Mod\t| Road\t| \t| \t";
    const std::string record2 = "| 2\t| 222\t| \t| \t| \t| \t| \t| \t| \t";
    const std::string descriptions1 = "| first\t| \t| \t| \t| \t| \t| \t| last\t";
    const std::string descriptions2 = "| \t| \t| \t| \t| \t| \t| \t| \t";
    const struct {
        bool descriptions;
        std::string contents;
    } cases[] = {
        {false, record1 + "\r\n" + record2 + "\r\n"},
        {true, record1 + descriptions1 + "\r\n" + record2 + descriptions2 + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.descriptions);
        dialogs.asked.clear();
        resultBox.value.clear();
        const std::string file = dir.file(c.descriptions ? "full.txt" : "short.txt");
        exportInto(file, c.descriptions);
        EXPECT_EQ(ReadWholeFile(file), c.contents);
        EXPECT_EQ(resultBox.value, "\r\n已导出MOD列表到：" + file);
        ASSERT_EQ(dialogs.asked.size(), 3u);
        EXPECT_EQ(dialogs.asked[0].filter, "文本文件（*.txt）|*.txt");
        EXPECT_EQ(dialogs.asked[1].kind, "confirm");
        EXPECT_EQ(dialogs.asked[1].text, "      导出MOD列表到" + file + "下，是否继续？");
        EXPECT_EQ(dialogs.asked[1].title, "提示");
        EXPECT_EQ(dialogs.asked[2].kind, "yesno");
        EXPECT_EQ(dialogs.asked[2].text, "是否同时将描述信息导出？");
        EXPECT_EQ(dialogs.asked[2].title, "提示");
    }
}

TEST_F(ItemListExportTest, TheDefaultNameCarriesTheStampAndTheRecordCount) {
    test::RunSql(CataloguePath(dir.path()),
                 "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 1234) "
                 "INSERT INTO ModCatalogue (rowid, \"序号\", \"编码\") "
                 "SELECT x, x, CAST(x AS BLOB) FROM n");
    dialogs.paths.push_back(std::nullopt);
    ItemListExport(dir.path(), workshop, dialogs, resultBox, kNow);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, workshop + "/DEVodu_List_2015_10_04_0930_07_1234.txt");
    EXPECT_EQ(resultBox.value, "\r\n未选择文件，导出终止。");
}

TEST_F(ItemListExportTest, CancellingTheQuestionWritesAndSaysNothing) {
    addTwoRecords();
    const std::string file = dir.file("list.txt");
    dialogs.paths.push_back(file);
    dialogs.answers.push_back(false);
    ItemListExport(dir.path(), workshop, dialogs, resultBox, kNow);
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(resultBox.value, "");
    EXPECT_FALSE(PathExists(file));
}

TEST_F(ItemListExportTest, ASecondExportReplacesTheFirst) {
    addTwoRecords();
    const std::string file = dir.file("list.txt");
    exportInto(file, true);
    const auto longer = ReadWholeFile(file);
    exportInto(file, false);
    const auto shorter = ReadWholeFile(file);
    ASSERT_TRUE(longer && shorter);
    EXPECT_LT(shorter->size(), longer->size());
    EXPECT_EQ(shorter->find("first"), std::string::npos);
    EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything).size(), 3u);  // no leftovers
}

TEST_F(ItemListExportTest, AFileThatCannotBeWrittenIsReportedByName) {
    addTwoRecords();
    for (const std::string& file : {dir.file("no-such-folder/list.txt"), workshop}) {
        SCOPED_TRACE(file);
        resultBox.value.clear();
        exportInto(file, false);
        EXPECT_EQ(resultBox.value, "\r\n无法写入文件，MOD列表未导出：" + file);
    }
    EXPECT_TRUE(IsDirectory(workshop));
    EXPECT_TRUE(ListDirectory(workshop, ListFilter::Everything).empty());
}

}  // namespace
}  // namespace kestavel
