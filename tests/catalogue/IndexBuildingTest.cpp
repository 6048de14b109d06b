#include "catalogue/IndexBuilding.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include "catalogue/ModCatalogue.h"
#include "platform/CodePage.h"
#include "platform/SqliteDatabase.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

using Records = std::vector<std::pair<std::int64_t, std::string>>;

class IndexBuildingTest : public ::testing::Test {
  protected:
    IndexBuildingTest() : window(dir.path()) {
        test::MakeEmptyCatalogue(dir.file("DEVodu.edb"));
        workshop = dir.makeFolder("workshop");
        window.workshopFolder.setText(workshop);
        window.resultBox.setText("");
    }
    void folders(std::initializer_list<const char*> names) {
        for (const char* name : names) dir.makeFolder(std::string("workshop/") + name);
    }
    // Seeds catalogue and list as a previous run would have left them.
    void seed(const Records& records) {
        auto catalogue = ModCatalogue::open(dir.file("DEVodu.edb"), nullptr);
        for (const auto& [number, code] : records) {
            catalogue->addRecord(number, GbkText::fromAscii(code));
            window.list.appendRow(
                {GbkText::fromAscii(std::to_string(number)), GbkText::fromAscii(code)});
        }
    }
    Records stored() {
        Records records;
        auto catalogue = ModCatalogue::open(dir.file("DEVodu.edb"), nullptr);
        catalogue->forEachNumberAndCode([&](double number, const GbkText& code) {
            records.emplace_back(static_cast<std::int64_t>(number), code.bytes());
        });
        return records;
    }
    Records shown() const {
        Records records;
        for (int r = 0; r < window.list.rowCount(); ++r) {
            records.emplace_back(std::stoll(window.list.cell(r, 0).bytes()),
                                 window.list.cell(r, 1).bytes());
        }
        return records;
    }

    test::TempDir dir;
    test::FakeWindow window;
    std::string workshop;
};

TEST_F(IndexBuildingTest, NewIndexNumbersTheSubFoldersAndIgnoresFiles) {
    seed({{1, "900"}});
    window.list.setPicked(0, true);
    folders({"100", "200"});
    dir.write("workshop/readme.txt", "not an item");
    window.dialogs.answers = {true};
    BuildNewIndex(window.context);

    ASSERT_EQ(window.dialogs.asked.size(), 1u);
    EXPECT_EQ(window.dialogs.asked[0].text,
              "      如果新建索引的话，旧的索引及相关信息会全部清除，是否继续？");
    EXPECT_EQ(window.dialogs.asked[0].title, "提示");
    EXPECT_EQ(stored(), (Records{{1, "100"}, {2, "200"}}));
    EXPECT_EQ(shown(), stored());
    EXPECT_FALSE(window.list.isPicked(0));
    EXPECT_EQ(window.list.rows[0].cells.size(), 2u);  // only 序号 and 编码 until a refill
    EXPECT_EQ(window.progressBox.history, (std::vector<std::string>{"正在索引目录：1，目录名：100",
                                                                    "正在索引目录：2，目录名：200",
                                                                    "索引完成，共索引目录2个"}));
    EXPECT_EQ(window.resultBox.text(), "\r\n\r\n索引完成，共索引目录2个");
    EXPECT_EQ(window.busy.entered, 1);
    EXPECT_FALSE(window.busy.busy);
    EXPECT_FALSE(window.progressBox.visible);
    // 1 ms before each folder while "进度显示" is ticked, then the closing 1000 ms.
    EXPECT_EQ(window.pump.runs, (std::vector<int>{1, 1, 1000}));
}

// The box holds text; a workshop folder copied from a Chinese Windows is named by GBK bytes.
TEST_F(IndexBuildingTest, AWorkshopFolderNamedByGbkBytesIsFound) {
    const std::string named = dir.makeFolder(Utf8ToGbk("创意工坊").bytes());
    CreateDirectory(JoinPath(named, "100"));
    CreateDirectory(JoinPath(named, "200"));
    window.workshopFolder.setText(JoinPath(dir.path(), "创意工坊"));
    window.dialogs.answers = {true};
    BuildNewIndex(window.context);
    EXPECT_EQ(stored(), (Records{{1, "100"}, {2, "200"}}));
    CreateDirectory(JoinPath(named, "300"));
    AppendIndex(window.context);
    EXPECT_EQ(stored(), (Records{{1, "100"}, {2, "200"}, {3, "300"}}));
}

TEST_F(IndexBuildingTest, CancelledNewIndexChangesNothing) {
    seed({{1, "900"}});
    folders({"100"});
    window.dialogs.answers = {false};
    BuildNewIndex(window.context);
    EXPECT_EQ(stored(), (Records{{1, "900"}}));
    EXPECT_EQ(shown(), (Records{{1, "900"}}));
    EXPECT_EQ(window.busy.entered, 0);
    EXPECT_EQ(window.resultBox.text(), "");
}

TEST_F(IndexBuildingTest, WithoutProgressDisplayNoEventsRunUntilTheEnd) {
    folders({"100", "200"});
    window.showProgress.checked = false;
    window.dialogs.answers = {true};
    BuildNewIndex(window.context);
    EXPECT_EQ(window.pump.runs, (std::vector<int>{1000}));
    EXPECT_EQ(window.progressBox.history.back(), "索引完成，共索引目录2个");
    EXPECT_EQ(stored().size(), 2u);
}

// A typo or an unmounted library disk is no empty workshop: the catalogue keeps every record.
TEST_F(IndexBuildingTest, AWorkshopFolderThatCannotBeListedChangesNothing) {
    seed({{1, "900"}});
    const std::string missing = dir.file("no-such-folder");
    window.workshopFolder.setText(missing);
    BuildNewIndex(window.context);
    AppendIndex(window.context);
    EXPECT_EQ(stored(), (Records{{1, "900"}}));
    EXPECT_EQ(shown(), (Records{{1, "900"}}));
    ASSERT_EQ(window.dialogs.asked.size(), 2u);  // no question, one message each
    for (const auto& asked : window.dialogs.asked) {
        EXPECT_EQ(asked.kind, "message");
        EXPECT_NE(asked.text.find(missing), std::string::npos) << asked.text;
    }
    EXPECT_EQ(window.resultBox.text(), "");
    EXPECT_EQ(window.busy.entered, 0);

    // An existing empty folder is an empty workshop.
    ASSERT_TRUE(CreateDirectory(missing));
    window.dialogs.answers = {true};
    BuildNewIndex(window.context);
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(window.resultBox.text(), "\r\n\r\n索引完成，共索引目录0个");
}

TEST_F(IndexBuildingTest, AppendChoosesNumbersByTheFolderCounter) {
    struct Case {
        std::vector<const char*> listing;
        Records expected;
        std::vector<std::string> progress;
        int added;
    };
    const Case cases[] = {
        // 050 is counted first: 1 is taken, so it gets the record count + 1 and no progress line.
        {{"050", "100", "200"}, {{1, "100"}, {2, "200"}, {3, "050"}}, {}, 1},
        // 300 is counted third and 3 is free.
        {{"100", "200", "300"},
         {{1, "100"}, {2, "200"}, {3, "300"}},
         {"正在追加索引目录：0，目录名：300"},
         1},
        // Nothing new: the progress box keeps its text and nothing is added.
        {{"100", "200"}, {{1, "100"}, {2, "200"}}, {}, 0},
        // 150 is counted second and 2 is taken, so it gets 3; 400 is counted fourth and 4 is free.
        {{"100", "150", "200", "400"},
         {{1, "100"}, {2, "200"}, {3, "150"}, {4, "400"}},
         {"正在追加索引目录：1，目录名：400"},
         2},
    };
    for (const Case& c : cases) {
        test::TempDir caseDir;
        test::FakeWindow caseWindow(caseDir.path());
        test::MakeEmptyCatalogue(caseDir.file("DEVodu.edb"));
        caseWindow.workshopFolder.setText(caseDir.makeFolder("w"));
        for (const char* name : c.listing) caseDir.makeFolder(std::string("w/") + name);
        {
            auto catalogue = ModCatalogue::open(caseDir.file("DEVodu.edb"), nullptr);
            catalogue->addRecord(1, GbkText::fromAscii("100"));
            catalogue->addRecord(2, GbkText::fromAscii("200"));
        }
        AppendIndex(caseWindow.context);

        Records records;
        auto catalogue = ModCatalogue::open(caseDir.file("DEVodu.edb"), nullptr);
        catalogue->forEachNumberAndCode([&](double number, const GbkText& code) {
            records.emplace_back(static_cast<std::int64_t>(number), code.bytes());
        });
        EXPECT_EQ(records, c.expected);
        std::vector<std::string> progress = caseWindow.progressBox.history;
        const std::string summary = "追加索引完成，共追加目录" + std::to_string(c.added) + "个";
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), summary);
        progress.pop_back();
        EXPECT_EQ(progress, c.progress);
        EXPECT_EQ(caseWindow.resultBox.text(), "\r\n\r\n" + summary);
        EXPECT_EQ(caseWindow.list.rowCount(), c.added);  // only the new rows are appended
        EXPECT_EQ(caseWindow.busy.entered, 1);
        EXPECT_FALSE(caseWindow.busy.busy);
    }
}

TEST_F(IndexBuildingTest, AppendNeverAddsANameTwice) {
    folders({"100", "200"});
    AppendIndex(window.context);
    AppendIndex(window.context);
    folders({"300"});
    AppendIndex(window.context);
    EXPECT_EQ(stored(), (Records{{1, "100"}, {2, "200"}, {3, "300"}}));
    EXPECT_EQ(shown(), stored());
}

TEST_F(IndexBuildingTest, NamesGbkCannotHoldAreSkippedAndListed) {
    folders({"100", "\xF0\x9F\x98\x80", "200"});
    window.dialogs.answers = {true};
    BuildNewIndex(window.context);
    EXPECT_EQ(stored(), (Records{{1, "100"}, {2, "200"}}));
    EXPECT_EQ(window.resultBox.text(),
              "\r\n\r\n索引完成，共索引目录2个\r\n以下目录名无法转为GBK编码，未索引：\r\n\xF0\x9F"
              "\x98\x80");
}

TEST_F(IndexBuildingTest, ChineseNamesAreStoredAsGbkAndTakenInTheirByteOrder) {
    folders({"道路", "200", "Zoo", "100"});
    window.dialogs.answers = {true};
    BuildNewIndex(window.context);
    const Records expected{{1, "100"}, {2, "200"}, {3, "Zoo"}, {4, test::Gbk("道路").bytes()}};
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(shown(), expected);
    EXPECT_EQ(window.progressBox.history[3], "正在索引目录：4，目录名：道路");

    folders({"公园"});
    AppendIndex(window.context);
    EXPECT_EQ(stored().back(),
              (std::pair<std::int64_t, std::string>{5, test::Gbk("公园").bytes()}));
}

// Another program holds the catalogue's write lock for the whole command.
TEST_F(IndexBuildingTest, ACatalogueThatCannotBeWrittenKeepsWhatItHeld) {
    seed({{1, "900"}});
    folders({"100", "200"});
    auto other =
        SqliteDatabase::open(dir.file("DEVodu.edb"), SqliteDatabase::Mode::ReadWrite, nullptr);
    ASSERT_TRUE(other && other->execute("BEGIN IMMEDIATE"));

    window.dialogs.answers = {true};
    BuildNewIndex(window.context);
    ASSERT_EQ(window.dialogs.asked.size(), 2u);
    EXPECT_EQ(window.dialogs.asked[1].text, "DEVodu.edb无法写入，旧的索引保持不变。");
    EXPECT_EQ(shown(), (Records{{1, "900"}}));

    AppendIndex(window.context);
    ASSERT_EQ(window.dialogs.asked.size(), 3u);
    EXPECT_EQ(window.dialogs.asked[2].text,
              "DEVodu.edb无法写入，追加索引已中止。\r\n此前处理的0项已保存在DEVodu.edb中。");
    EXPECT_EQ(shown(), (Records{{1, "900"}}));
    // Neither command claims work the file does not hold.
    EXPECT_EQ(window.resultBox.text(), "");
    EXPECT_FALSE(window.busy.busy);

    other->execute("ROLLBACK");
    EXPECT_EQ(stored(), (Records{{1, "900"}}));
}

TEST_F(IndexBuildingTest, BrowseSetsTheFolderUnlessCancelled) {
    window.dialogs.paths = {std::nullopt, std::string("/chosen/255710")};
    BrowseWorkshopFolder(window.context);
    EXPECT_EQ(window.workshopFolder.text(), workshop);
    BrowseWorkshopFolder(window.context);
    EXPECT_EQ(window.workshopFolder.text(), "/chosen/255710");
    EXPECT_EQ(window.dialogs.asked[0].text, "浏览创意工坊下载MOD所在的文件夹");
}

TEST_F(IndexBuildingTest, ACatalogueThatCannotBeOpenedIsReportedAndTheListKept) {
    seed({{1, "900"}});
    dir.write("DEVodu.edb", "garbage, not a database, garbage");
    folders({"100"});
    window.dialogs.answers = {true};
    BuildNewIndex(window.context);
    AppendIndex(window.context);
    EXPECT_EQ(shown(), (Records{{1, "900"}}));
    ASSERT_EQ(window.dialogs.asked.size(), 3u);
    EXPECT_NE(window.dialogs.asked[1].text.find("DEVodu.edb"), std::string::npos);
    EXPECT_FALSE(window.busy.busy);
}

}  // namespace
}  // namespace kestavel
