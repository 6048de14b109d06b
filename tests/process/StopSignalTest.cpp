#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "ProgramProcess.h"
#include "WorkshopPage.h"
#include "WorkshopServer.h"
#include "catalogue/ItemFolder.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/PageDocument.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"
#include "support/CatalogueFixture.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

using namespace std::chrono_literals;

// Generous bounds: a stopped program ends well within them, a hung one never does.
constexpr auto kExitWithin = 5s;
constexpr auto kLineWithin = 30s;

// The 序号 a progress line names ("…序号：12，目录名：…"); 0 when it names none.
int NumberIn(const std::string& line) {
    const std::string marker = "序号：";
    const std::size_t at = line.find(marker);
    return at == std::string::npos ? 0 : std::atoi(line.c_str() + at + marker.size());
}

class StopSignalTest : public ::testing::Test {
  protected:
    StopSignalTest() : run(dir.makeFolder("run")), workshop(dir.makeFolder("workshop")) {
        test::MakeEmptyCatalogue(CataloguePath(run));
        WriteWholeFile(SettingsPath(run), workshop + "\n" + server.pagePrefix() + "\n");
    }
    void addItems(int count) {
        std::string error;
        auto catalogue = ModCatalogue::open(CataloguePath(run), &error);
        ASSERT_TRUE(catalogue) << error;
        for (int n = 1; n <= count; ++n) {
            ASSERT_TRUE(catalogue->addRecord(n, GbkText::fromAscii(code(n))));
            CreateDirectory(JoinPath(workshop, code(n)));
        }
        ASSERT_TRUE(catalogue->commit());
    }
    static std::string code(int n) { return std::to_string(3000000000 + n); }
    static std::string page(int n) {
        workshop::ItemPage item;
        item.id = code(n);
        item.author = "Author" + std::to_string(n);
        return workshop::BuildItemPage(item);
    }
    std::string pagePath(int n) const {
        return ItemFolder(workshop, GbkText::fromAscii(code(n))).page();
    }
    std::string author(int n) const {
        auto catalogue = ModCatalogue::open(CataloguePath(run), nullptr);
        if (!catalogue || !catalogue->goToRecord(n)) return "<none>";
        return std::get<GbkText>(catalogue->read(Field::Author)).bytes();
    }
    std::string integrity() const {
        auto db = SqliteDatabase::open(CataloguePath(run), SqliteDatabase::Mode::ReadOnly, nullptr);
        if (!db) return "cannot open";
        auto check = db->prepare("PRAGMA integrity_check");
        if (!check || check->step() != SqliteStatement::Step::Row) return "cannot check";
        return check->columnBytes(0);
    }
    // The last item the progress box named before the program ended.
    static int lastShown(const test::ProgramProcess& program) {
        int last = 0;
        for (const std::string& line : program.lines("progress")) {
            if (NumberIn(line) > 0) last = NumberIn(line);
        }
        return last;
    }

    test::TempDir dir;
    workshop::WorkshopServer server;
    std::string run;
    std::string workshop;
};

TEST_F(StopSignalTest, SigtermDuringAPageDownloadKeepsEveryPassedPageWhole) {
    constexpr int kItems = 30;
    addItems(kItems);
    for (int n = 1; n <= kItems; ++n) {
        workshop::Answer answer;
        answer.body = page(n);
        answer.delay = 150ms;
        server.setPage(code(n), answer);
    }
    test::ProgramProcess program(run, "按钮_下载网页源码");
    ASSERT_TRUE(program.waitFor(
        "progress", [](const std::string& line) { return NumberIn(line) >= 4; }, kLineWithin));
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitForExit(kExitWithin), 0);

    const int shown = lastShown(program);
    ASSERT_GE(shown, 4);
    EXPECT_LT(shown, kItems) << "the download ran to its end";
    // Up to four fetches were in flight, among the items up to the last one shown: those were
    // cut, every other one is saved whole, and none after it was started.
    int cut = 0;
    for (int n = 1; n <= kItems; ++n) {
        EXPECT_FALSE(PathExists(ItemFolder(workshop, GbkText::fromAscii(code(n))).temporaryPage()));
        if (n > shown) {
            EXPECT_FALSE(PathExists(pagePath(n))) << n;
        } else if (PathExists(pagePath(n))) {
            EXPECT_EQ(ReadWholeFile(pagePath(n)), page(n)) << n;  // whole or not there
        } else {
            ++cut;
        }
    }
    EXPECT_LE(cut, 4);
    EXPECT_EQ(integrity(), "ok");
}

TEST_F(StopSignalTest, SigtermDuringTheInformationCommandKeepsEveryPassedItem) {
    constexpr int kItems = 600;
    addItems(kItems);
    for (int n = 1; n <= kItems; ++n) WriteWholeFile(pagePath(n), page(n));
    test::ProgramProcess program(run, "按钮_导入说明");
    ASSERT_TRUE(program.waitFor(
        "progress", [](const std::string& line) { return NumberIn(line) >= 1; }, kLineWithin));
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitForExit(kExitWithin), 0);
    EXPECT_EQ(integrity(), "ok");
    const int shown = lastShown(program);
    EXPECT_LT(shown, kItems) << "the command ran to its end";
    for (int n = 1; n < shown; ++n) ASSERT_EQ(author(n), "Author" + std::to_string(n)) << n;
}

// "完成" means on disk: a kill right after the summary loses nothing.
TEST_F(StopSignalTest, SigtermTheMomentTheSummaryAppearsLosesNothing) {
    constexpr int kItems = 40;
    addItems(kItems);
    for (int n = 1; n <= kItems; ++n) WriteWholeFile(pagePath(n), page(n));
    test::ProgramProcess program(run, "按钮_导入说明");
    ASSERT_TRUE(program.waitFor(
        "result",
        [](const std::string& line) { return line.find("获取MOD信息完成") != std::string::npos; },
        kLineWithin));
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitForExit(kExitWithin), 0);
    for (int n = 1; n <= kItems; ++n) ASSERT_EQ(author(n), "Author" + std::to_string(n)) << n;
    EXPECT_EQ(integrity(), "ok");
}

TEST_F(StopSignalTest, ASecondProgramInTheSameRunFolderSaysSoAndLeavesTheFirstRunning) {
    addItems(3);
    for (int n = 1; n <= 3; ++n) {
        workshop::Answer answer;
        answer.body = page(n);
        answer.delay = 2s;
        server.setPage(code(n), answer);
    }
    test::ProgramProcess first(run, "按钮_下载网页源码");
    ASSERT_TRUE(first.waitFor(
        "progress", [](const std::string& line) { return NumberIn(line) == 1; }, kLineWithin));
    const auto before = ReadWholeFile(CataloguePath(run));

    test::ProgramProcess second(run, "按钮_导入说明");
    EXPECT_TRUE(second.waitFor(
        "message",
        [](const std::string& line) { return line.find("另一个Kestavel") != std::string::npos; },
        kLineWithin));
    EXPECT_EQ(second.waitForExit(kExitWithin), 1);
    EXPECT_EQ(ReadWholeFile(CataloguePath(run)), before);
    EXPECT_TRUE(second.lines("progress").empty());

    EXPECT_FALSE(first.waitForExit(100ms).has_value()) << "the first program ended";
    first.signal(SIGTERM);
    EXPECT_EQ(first.waitForExit(kExitWithin), 0);
}

}  // namespace
}  // namespace kestavel
