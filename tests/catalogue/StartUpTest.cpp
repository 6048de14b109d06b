#include "catalogue/StartUp.h"

#include <gtest/gtest.h>

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

TEST(StartUp, ACatalogueThatIsNoCatalogueIsNamedAndLeftAlone) {
    test::TempDir dir;
    const std::string catalogue = dir.write("DEVodu.edb", "this is not a database at all.....");
    dir.write("VODarer.txt", "/w\n");
    test::FakeWindow window(dir.path());
    EXPECT_FALSE(PrepareMainWindow(window.context));
    ASSERT_EQ(window.dialogs.asked.size(), 1u);
    EXPECT_NE(window.dialogs.asked[0].text.find("DEVodu.edb"), std::string::npos);
    EXPECT_NE(window.dialogs.asked[0].text.find("现在将退出"), std::string::npos);
    EXPECT_EQ(*ReadWholeFile(catalogue), "this is not a database at all.....");
    EXPECT_EQ(window.list.rowCount(), 0);
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
