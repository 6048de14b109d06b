#include "catalogue/StartUp.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

std::vector<std::string> Messages(const test::ScriptedDialogs& dialogs) {
    std::vector<std::string> texts;
    for (const auto& asked : dialogs.asked)
        texts.push_back(asked.kind + ":" + asked.title + ":" + asked.text);
    return texts;
}

TEST(StartUp, MissingFilesEndTheProgramWithTheCatalogueTestedFirst) {
    struct Case {
        bool catalogue;
        bool settings;
        const char* message;
    };
    const Case cases[] = {
        {false, true, "DEVodu.edb文件不存在，现在将退出！"},
        {false, false, "DEVodu.edb文件不存在，现在将退出！"},
        {true, false, "VODarer.txt文件不存在，现在将退出！"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        if (c.catalogue) test::MakeEmptyCatalogue(dir.file("DEVodu.edb"));
        if (c.settings) dir.write("VODarer.txt", "/w\nhttp://p/?id=\n");
        test::FakeWindow window(dir.path());
        EXPECT_FALSE(PrepareMainWindow(window.context));
        EXPECT_EQ(Messages(window.dialogs),
                  std::vector<std::string>{std::string("message:信息：:") + c.message});
        EXPECT_EQ(window.workshopFolder.text(), "");
    }
}

TEST(StartUp, ReadsTheSettingsAndFillsTheList) {
    test::TempDir dir;
    const std::string catalogue = dir.file("DEVodu.edb");
    test::MakeEmptyCatalogue(catalogue);
    test::RunSql(catalogue, "INSERT INTO ModCatalogue (\"序号\", \"编码\") VALUES (1, x'313030')");
    dir.write("VODarer.txt", "/steam/255710\r\nhttps://p/?id=\r\n");
    test::FakeWindow window(dir.path());
    ASSERT_TRUE(PrepareMainWindow(window.context));
    EXPECT_TRUE(window.dialogs.asked.empty());
    EXPECT_EQ(window.workshopFolder.text(), "/steam/255710");
    EXPECT_EQ(window.pagePrefix.text(), "https://p/?id=");
    EXPECT_EQ(window.list.column(1), std::vector<std::string>{"100"});
    EXPECT_EQ(window.list.column(5), std::vector<std::string>{"假"});
}

// Files that are no catalogue, or whose records a command would misnumber, are refused with the
// reason and left byte for byte as they were.
TEST(StartUp, ACatalogueThatIsNoCatalogueIsNamedAndLeftAlone) {
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"text", [](const std::string& path) { WriteWholeFile(path, "this is not a database....."); },
         "SQLite"},
        {"a view with the catalogue's columns",
         [](const std::string& path) {
             test::MakeEmptyCatalogue(path);
             test::RunSql(path,
                          "ALTER TABLE ModCatalogue RENAME TO Items; "
                          "CREATE VIEW ModCatalogue AS SELECT * FROM Items");
         },
         "view"},
        {"records with a gap",
         [](const std::string& path) {
             test::MakeEmptyCatalogue(path);
             test::RunSql(path,
                          "INSERT INTO ModCatalogue (rowid, \"序号\", \"编码\") VALUES "
                          "(1, 1, x'313030'), (3, 3, x'333030')");
         },
         "without a gap"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const std::string catalogue = dir.file("DEVodu.edb");
        c.make(catalogue);
        dir.write("VODarer.txt", "/w\n");
        const auto before = ReadWholeFile(catalogue);
        test::FakeWindow window(dir.path());
        EXPECT_FALSE(PrepareMainWindow(window.context));
        ASSERT_EQ(window.dialogs.asked.size(), 1u);
        const std::string& text = window.dialogs.asked[0].text;
        EXPECT_TRUE(text.starts_with("DEVodu.edb不是有效的MOD目录文件，现在将退出！")) << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        EXPECT_EQ(ReadWholeFile(catalogue), before);
        EXPECT_EQ(window.list.rowCount(), 0);
    }
}

TEST(StartUp, ReopeningCommandsTestBothFiles) {
    test::TempDir dir;
    test::FakeWindow window(dir.path());
    EXPECT_FALSE(RunFilesPresent(window.context));
    test::MakeEmptyCatalogue(dir.file("DEVodu.edb"));
    EXPECT_FALSE(RunFilesPresent(window.context));
    dir.write("VODarer.txt", "");
    EXPECT_TRUE(RunFilesPresent(window.context));
    EXPECT_EQ(Messages(window.dialogs),
              (std::vector<std::string>{"message:信息：:DEVodu.edb文件不存在！",
                                        "message:信息：:VODarer.txt文件不存在！"}));
}

}  // namespace
}  // namespace kestavel
