#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "output/CatalogueBackup.h"
#include "output/CatalogueRestore.h"
#include "platform/FileSystem.h"
#include "platform/Md5.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

constexpr LocalDateTime kNow{2015, 10, 4, 9, 30, 7};

std::string Records(int count) {
    return "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " +
           std::to_string(count) +
           ") INSERT INTO ModCatalogue (rowid, \"序号\", \"编码\", \"描述1\") "
           "SELECT x, x, CAST(x AS BLOB), CAST('description ' || x AS BLOB) FROM n";
}

// Descriptions long enough that a crashed write leaves changed pages in the file.
const std::string kLongDescriptions =
    "UPDATE ModCatalogue SET \"描述1\" = CAST(printf('%-2000s', \"描述1\") AS BLOB)";

// Every record's 编码 and 描述1, in stored order.
std::vector<std::string> Contents(const std::string& path) {
    std::vector<std::string> contents;
    std::string error;
    auto catalogue = ModCatalogue::open(path, &error);
    EXPECT_TRUE(catalogue) << error;
    if (!catalogue) return contents;
    catalogue->forEachRecord([&](int, const ModRecord& record) {
        contents.push_back(std::get<GbkText>(record[1]).bytes() + "/" +
                           std::get<GbkText>(record[6]).bytes());
    });
    return contents;
}

class CatalogueFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue = CataloguePath(dir.path());
        test::MakeEmptyCatalogue(catalogue);
    }

    // Answers the dialog with file and the question with OK.
    void backUpInto(const std::string& file) {
        dialogs.paths.push_back(file);
        dialogs.answers.push_back(true);
        CatalogueBackup(dir.path(), dialogs, resultBox, kNow);
    }

    void restoreFrom(const std::string& file) {
        dialogs.paths.push_back(file);
        dialogs.answers.push_back(true);
        CatalogueRestore(dir.path(), dialogs, resultBox, busy, steps);
    }

    test::TempDir dir;
    std::string catalogue;
    test::ScriptedDialogs dialogs;
    test::FakeTextBox resultBox;
    test::CountingBusyState busy;
    // What the window does around the swap, with the busy state seen at each step.
    std::vector<std::string> windowSteps;
    test::FakeItemList list;
    RestoreWindowSteps steps{
        [this] { windowSteps.push_back(busy.busy ? "before, busy" : "before"); },
        [this] {
            windowSteps.push_back(busy.busy ? "after, busy" : "after");
            std::string error;
            EXPECT_TRUE(FillListMirror(list, catalogue, &error)) << error;
        }};
};

TEST_F(CatalogueFileTest, OffersAStampedNameAndEndsWithALineWhenCancelled) {
    test::RunSql(catalogue, Records(1234));
    dialogs.paths.push_back(std::nullopt);
    CatalogueBackup(dir.path(), dialogs, resultBox, kNow);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, dir.path() + "/DEVodu_2015_10_04_0930_07_1234.edb");
    EXPECT_EQ(dialogs.asked[0].filter, "EDB数据库文件（*.edb）|*.edb");
    EXPECT_EQ(resultBox.value, "\r\n未选择文件，备份终止。");

    // Cancelling the question ends it without a word.
    const std::string file = dir.file("backup.edb");
    dialogs.paths.push_back(file);
    dialogs.answers.push_back(false);
    CatalogueBackup(dir.path(), dialogs, resultBox, kNow);
    EXPECT_EQ(dialogs.asked.back().text, "      备份数据库到" + file + "下，是否继续？");
    EXPECT_EQ(dialogs.asked.back().title, "提示");
    EXPECT_EQ(resultBox.value, "\r\n未选择文件，备份终止。");
    EXPECT_FALSE(PathExists(file));
}

TEST_F(CatalogueFileTest, ReplacesAnExistingFileWithTheCatalogue) {
    test::RunSql(catalogue, Records(3));
    const std::string file = dir.write("backup.edb", "an older file of that name");
    backUpInto(file);
    EXPECT_EQ(resultBox.value, "\r\n已成功备份数据库到：" + file);
    EXPECT_EQ(Contents(file), Contents(catalogue));
    EXPECT_EQ(Contents(file).size(), 3u);
    EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything).size(), 2u);
}

TEST_F(CatalogueFileTest, ACatalogueLeftHalfWrittenByACrashIsBackedUpAsLastCommitted) {
    test::RunSql(catalogue, Records(300) + "; " + kLongDescriptions);
    const auto committed = Contents(catalogue);
    test::LeaveHotJournal(catalogue);
    ASSERT_GT(FileSize(catalogue + "-journal"), 0);

    const std::string file = dir.file("backup.edb");
    backUpInto(file);
    EXPECT_EQ(resultBox.value, "\r\n已成功备份数据库到：" + file);
    EXPECT_EQ(Contents(file), committed);
}

TEST_F(CatalogueFileTest, ATargetThatCannotBeWrittenFailsAndLeavesNothing) {
    test::RunSql(catalogue, Records(3));
    const std::string folder = dir.makeFolder("folder");
    for (const std::string& file : {dir.file("missing/backup.edb"), folder}) {
        SCOPED_TRACE(file);
        resultBox.value.clear();
        backUpInto(file);
        EXPECT_EQ(resultBox.value, "\r\n数据库备份失败。");
    }
    EXPECT_TRUE(ListDirectory(folder, ListFilter::Everything).empty());
    EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything).size(), 2u);
}

TEST_F(CatalogueFileTest, ARestoreCancelledAtTheDialogOrTheQuestionChangesNothing) {
    test::RunSql(catalogue, Records(3));
    const auto before = ReadWholeFile(catalogue);
    const std::string backup = dir.file("backup.edb");
    backUpInto(backup);
    test::RunSql(catalogue, "DELETE FROM ModCatalogue WHERE rowid = 3");
    const auto changed = ReadWholeFile(catalogue);
    resultBox.value.clear();

    dialogs.paths.push_back(std::nullopt);
    CatalogueRestore(dir.path(), dialogs, resultBox, busy, steps);
    EXPECT_EQ(dialogs.asked.back().kind, "open");
    EXPECT_EQ(dialogs.asked.back().filter, "EDB数据库文件（*.edb）|*.edb|所有文件（*.*）|*.*");
    EXPECT_EQ(dialogs.asked.back().folder, dir.path());
    EXPECT_EQ(resultBox.value, "\r\n未选择文件，恢复终止。");

    dialogs.paths.push_back(backup);
    dialogs.answers.push_back(false);
    CatalogueRestore(dir.path(), dialogs, resultBox, busy, steps);
    EXPECT_EQ(dialogs.asked.back().text, "      现在将恢复数据库备份文件" + backup +
                                             "到主程序目录下并覆盖当前操作数据库，是否继续？");
    EXPECT_EQ(dialogs.asked.back().title, "提示");
    EXPECT_EQ(resultBox.value, "\r\n未选择文件，恢复终止。");
    EXPECT_EQ(ReadWholeFile(catalogue), changed);
    EXPECT_NE(changed, before);
    EXPECT_TRUE(windowSteps.empty());
    EXPECT_EQ(busy.entered, 0);
}

TEST_F(CatalogueFileTest, ARestoredBackupGivesExactlyItsRecordsToTheCatalogueAndTheList) {
    test::RunSql(catalogue, Records(3));
    const auto saved = Contents(catalogue);
    const std::string backup = dir.file("backup.edb");
    backUpInto(backup);
    test::RunSql(catalogue, "UPDATE ModCatalogue SET \"描述1\" = x'00'; " +
                                Records(5).replace(Records(5).find("SELECT 1"), 8, "SELECT 4"));
    ASSERT_EQ(Contents(catalogue).size(), 5u);
    resultBox.value.clear();

    restoreFrom(backup);
    EXPECT_EQ(resultBox.value, "\r\n已成功恢复数据库文件" + backup + "。");
    EXPECT_EQ(Contents(catalogue), saved);
    EXPECT_EQ(windowSteps, (std::vector<std::string>{"before, busy", "after, busy"}));
    EXPECT_FALSE(busy.busy);
    EXPECT_EQ(list.column(1), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(list.column(6)[2], "description 3");
    EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything).size(), 2u);
}

TEST_F(CatalogueFileTest, AFileThatIsNoCatalogueIsRefusedByNameAndChangesNothing) {
    test::RunSql(catalogue, Records(3));
    const auto before = ReadWholeFile(catalogue);
    for (const std::string& chosen :
         {dir.write("list.txt", "| 1\t| 100\t\r\n"), dir.write("empty.edb", "")}) {
        SCOPED_TRACE(chosen);
        const auto chosenBefore = ReadWholeFile(chosen);
        dialogs.paths.push_back(chosen);
        CatalogueRestore(dir.path(), dialogs, resultBox, busy, steps);
        ASSERT_EQ(dialogs.asked.back().kind, "message");
        EXPECT_NE(dialogs.asked.back().text.find(chosen), std::string::npos);
        EXPECT_EQ(ReadWholeFile(chosen), chosenBefore);
    }
    EXPECT_EQ(ReadWholeFile(catalogue), before);
    EXPECT_EQ(resultBox.value, "");
    EXPECT_TRUE(windowSteps.empty());
    EXPECT_EQ(busy.entered, 0);
    EXPECT_EQ(dialogs.unanswered, 0);
}

TEST_F(CatalogueFileTest, ChoosingTheCatalogueItselfChangesNothingAndSucceeds) {
    test::RunSql(catalogue, Records(3));
    const auto before = ReadWholeFile(catalogue);
    dialogs.paths.push_back(catalogue);
    CatalogueRestore(dir.path(), dialogs, resultBox, busy, steps);
    EXPECT_EQ(resultBox.value, "\r\n已成功恢复数据库文件" + catalogue + "。");
    EXPECT_EQ(ReadWholeFile(catalogue), before);
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(windowSteps.empty());
}

TEST_F(CatalogueFileTest, AJournalLeftByACrashOfTheOldCatalogueDoesNotReachTheRestoredOne) {
    test::RunSql(catalogue, Records(300));
    const std::string backup = dir.file("backup.edb");
    backUpInto(backup);
    const auto saved = Contents(backup);
    test::RunSql(catalogue, kLongDescriptions);
    test::LeaveHotJournal(catalogue);
    ASSERT_GT(FileSize(catalogue + "-journal"), 0);

    restoreFrom(backup);
    EXPECT_EQ(resultBox.value.substr(resultBox.value.rfind("\r\n")),
              "\r\n已成功恢复数据库文件" + backup + "。");
    EXPECT_EQ(Contents(catalogue), saved);
}

// How far a restore has written: the size of a temporary file beside the catalogue, else of the
// catalogue once it is no longer the old one; -1 before it has begun.
std::int64_t WrittenSoFar(const std::string& folder, const std::string& catalogue,
                          std::int64_t oldSize) {
    for (const std::string& name : ListDirectory(folder, ListFilter::Everything, ".kestavel-*")) {
        return FileSize(JoinPath(folder, name));
    }
    const std::int64_t size = FileSize(catalogue);
    return size == oldSize ? -1 : size;
}

TEST_F(CatalogueFileTest, AKillDuringARestoreLeavesTheOldOrTheNewCatalogueWhole) {
    test::RunSql(catalogue, Records(3));
    const std::string backup = dir.file("large.edb");
    test::MakeEmptyCatalogue(backup);
    test::RunSql(backup,
                 "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 6000) "
                 "INSERT INTO ModCatalogue (rowid, \"序号\", \"编码\", \"描述1\") "
                 "SELECT x, x, CAST(x AS BLOB), randomblob(1500) FROM n");
    const auto oldBytes = ReadWholeFile(catalogue);
    const auto oldDigest = Md5OfFile(catalogue);
    const auto newDigest = Md5OfFile(backup);
    ASSERT_TRUE(oldBytes && oldDigest && newDigest);

    int caughtWhileCopying = 0;
    // Killed as soon as writing begins, half way through and once all is written.
    for (const std::int64_t killAt : {std::int64_t{0}, FileSize(backup) / 2, FileSize(backup)}) {
        SCOPED_TRACE(killAt);
        ASSERT_TRUE(WriteWholeFile(catalogue, *oldBytes));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            restoreFrom(backup);
            ::_exit(0);
        }
        int status = 0;
        while (::waitpid(child, &status, WNOHANG) == 0) {
            if (WrittenSoFar(dir.path(), catalogue, std::ssize(*oldBytes)) >= killAt) {
                ++caughtWhileCopying;
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                break;
            }
        }
        const auto digest = Md5OfFile(catalogue);
        EXPECT_TRUE(digest == oldDigest || digest == newDigest);
        for (const std::string& name :
             ListDirectory(dir.path(), ListFilter::Everything, ".kestavel-*")) {
            DeleteFile(JoinPath(dir.path(), name));
        }
    }
    EXPECT_GT(caughtWhileCopying, 0);
}

}  // namespace
}  // namespace kestavel
