#include "output/CopyEngine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/FakeThreadPorts.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Every folder (no contents) and file (its bytes) below root, by path relative to root.
using Snapshot = std::map<std::string, std::optional<std::string>>;

Snapshot TakeSnapshot(const std::string& root) {
    Snapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).string();
        if (entry.is_directory()) {
            snapshot[relative] = std::nullopt;
        } else {
            snapshot[relative] = ReadWholeFile(entry.path().string());
        }
    }
    return snapshot;
}

// Entries of the snapshot under one item, as they would lie below another root.
Snapshot ItemPart(const Snapshot& snapshot, const std::string& id) {
    Snapshot part;
    for (const auto& [path, contents] : snapshot) {
        if (path == id || path.rfind(id + "/", 0) == 0) part[path] = contents;
    }
    return part;
}

std::string Bytes(std::size_t size, char seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(seed + i * 7 + i / 251);
    return bytes;
}

bool HasTemporaryFiles(const std::string& root) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() == ".part") return true;
    }
    return false;
}

std::string Summary(int copied, int failed, const char* how = "复制完毕！") {
    return std::string(how) + "成功复制文件" + std::to_string(copied) + "个，失败：" +
           std::to_string(failed) + "个。";
}

// One window's controls around a workshop folder and a target folder in a fresh temp dir.
class CopyWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        workshop = dir.makeFolder("workshop");
        target = dir.makeFolder("target");
        workshopBox.value = workshop;
    }

    // Unless told otherwise every bar change is shown, so a test sees and can stop at each one.
    void open(CopyVariant variant, std::chrono::milliseconds pause = 3s,
              std::chrono::milliseconds barInterval = 0ms) {
        const bool picture = variant == CopyVariant::Picture;
        if (picture) list = test::FakeItemList(1);
        engine = std::make_unique<CopyEngine>(
            CopyWindow{.variant = variant,
                       .list = list,
                       .workshopFolder = workshopBox,
                       .resultBox = resultBox,
                       .overallBar = overallBar,
                       .fileBar = fileBar,
                       .copyButton = button,
                       .dialogs = dialogs,
                       .poster = poster,
                       .progressBox = picture ? nullptr : &progressBox,
                       .targetFolderBox = picture ? &targetFolderBox : nullptr,
                       .defaultTarget = picture ? &defaultTarget : nullptr},
            CopyPacing{.closingPause = pause, .barInterval = barInterval});
    }

    // A list row: 序号 and 编码 in MainWindow and EditWindow, the 编码 alone in PictureWindow.
    void addRow(int number, const std::string& code, bool picked = true) {
        if (list.columnCount() == 1) {
            list.appendRow({test::Gbk(code)});
        } else {
            list.appendRow({test::Gbk(std::to_string(number)), test::Gbk(code)});
        }
        list.setPicked(list.rowCount() - 1, picked);
    }

    // Starts a copy into folder, answering the folder browser and the question with OK.
    void startInto(const std::string& folder) {
        dialogs.paths.push_back(folder);
        dialogs.answers.push_back(true);
        engine->start();
    }

    bool finished() {
        return poster.pumpUntil([this] { return button.enabled; });
    }

    test::TempDir dir;
    std::string workshop;
    std::string target;
    test::FakeItemList list;
    test::FakeTextBox workshopBox;
    test::FakeTextBox resultBox;
    test::FakeTextBox progressBox{"", false};
    test::FakeTextBox targetFolderBox;
    test::FakeCheckBox defaultTarget{false};
    test::FakeProgressBar overallBar;
    test::FakeProgressBar fileBar;
    test::FakeButton button;
    test::ScriptedDialogs dialogs;
    test::FakeWindowPoster poster;
    std::unique_ptr<CopyEngine> engine;  // last, so it ends before the controls it uses
};

TEST_F(CopyWindowFixture, CopiesThePickedTreesWholeAndCreatesTheFolderOfAMissingItem) {
    dir.write("workshop/100/100.jpg", Bytes(70000, 'a'));
    dir.write("workshop/100/empty.bin", "");
    dir.write("workshop/100/maps/big.crp", Bytes((std::size_t{9} << 20) + 5, 'b'));
    dir.write("workshop/100/maps/deeper/note.txt", "note");
    dir.makeFolder("workshop/100/maps/hollow");
    dir.write("workshop/300/300.jpg", Bytes(1000, 'c'));
    dir.write("workshop/400/not-picked.txt", "x");
    dir.write("target/100/100.jpg", "an older copy, replaced without a question");
    addRow(1, "100");
    addRow(2, "200");
    addRow(3, "300");
    addRow(4, "400", false);
    open(CopyVariant::Main, 20ms);

    startInto(target);
    EXPECT_FALSE(button.enabled);
    EXPECT_TRUE(progressBox.visible);
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].text, "选择要复制到的文件夹");
    EXPECT_EQ(dialogs.asked[1].kind, "confirm");
    EXPECT_EQ(dialogs.asked[1].title, "提示");
    EXPECT_EQ(dialogs.asked[1].text,
              "已选择3个MOD，复制到" + target + "下，将覆盖原有文件，是否继续？");
    ASSERT_TRUE(finished());

    const Snapshot source = TakeSnapshot(workshop);
    Snapshot expected = ItemPart(source, "100");
    expected.merge(ItemPart(source, "300"));
    expected["200"] = std::nullopt;
    EXPECT_EQ(TakeSnapshot(target), expected);

    EXPECT_EQ(resultBox.value, "\r\n\r\n当前共选择MOD个数：3\r\n序号是：1，2，3\r\n复制到：" +
                                   target + "\r\n\r\n" + Summary(5, 0));
    EXPECT_EQ(progressBox.history,
              (std::vector<std::string>{"正在统计所有文件/文件夹...", "正在创建所需文件夹...",
                                        "文件复制中...", Summary(5, 0)}));
    EXPECT_EQ(overallBar.maximum, 5);
    EXPECT_EQ(overallBar.value, 5);
    EXPECT_EQ(fileBar.value, 100);
    EXPECT_TRUE(overallBar.visible && fileBar.visible);

    // MainWindow hides its progress display after the closing pause.
    ASSERT_TRUE(poster.pumpUntil([this] { return !progressBox.visible; }));
    EXPECT_FALSE(overallBar.visible || fileBar.visible);
    EXPECT_EQ(progressBox.value, Summary(5, 0));
}

TEST_F(CopyWindowFixture, NothingTickedIsAskedAboutAndCopiesNothing) {
    dir.write("workshop/100/a.txt", "a");
    addRow(1, "100", false);
    open(CopyVariant::Edit, 10ms);

    startInto(target);
    EXPECT_EQ(dialogs.asked.back().text,
              "已选择0个MOD，复制到" + target + "下，将覆盖原有文件，是否继续？");
    ASSERT_TRUE(finished());
    EXPECT_TRUE(TakeSnapshot(target).empty());
    EXPECT_EQ(progressBox.value, Summary(0, 0));
    EXPECT_EQ(resultBox.value, "\r\n\r\n当前共选择MOD个数：0\r\n序号是：\r\n复制到：" + target +
                                   "\r\n\r\n" + Summary(0, 0));

    // EditWindow keeps its progress box and empties the bars after the pause.
    ASSERT_TRUE(poster.pumpUntil([this] { return overallBar.value == 0 && fileBar.value == 0; }));
    EXPECT_TRUE(progressBox.visible);
}

TEST_F(CopyWindowFixture, CancellingTheQuestionStartsNothing) {
    dir.write("workshop/100/a.txt", "a");
    addRow(1, "100");
    open(CopyVariant::Main);
    dialogs.paths.push_back(target);
    dialogs.answers.push_back(false);
    engine->start();
    EXPECT_TRUE(button.enabled);
    EXPECT_FALSE(progressBox.visible);
    EXPECT_EQ(resultBox.value, "\r\n\r\n当前共选择MOD个数：1\r\n序号是：1");
    EXPECT_TRUE(TakeSnapshot(target).empty());
}

TEST_F(CopyWindowFixture, AFileThatCannotBeCopiedIsListedByItsFullSourcePath) {
    for (int i = 0; i < 10; ++i) {
        dir.write("workshop/100/f" + std::to_string(i) + ".dat", Bytes(100 + i, 'f'));
    }
    // A folder where the file should go cannot be replaced by it.
    dir.write("target/100/f7.dat/inside.txt", "in the way");
    addRow(1, "100");
    open(CopyVariant::Main);

    startInto(target);
    ASSERT_TRUE(finished());
    EXPECT_EQ(progressBox.value, Summary(9, 1));
    const std::string tail = "\r\n\r\n" + Summary(9, 1) + "\r\n失败文件：\r\n1." +
                             JoinPath(workshop, "100/f7.dat") + "\r\n";
    ASSERT_GE(resultBox.value.size(), tail.size());
    EXPECT_EQ(resultBox.value.substr(resultBox.value.size() - tail.size()), tail);
    EXPECT_EQ(*ReadWholeFile(dir.file("target/100/f3.dat")), Bytes(103, 'f'));
    EXPECT_FALSE(HasTemporaryFiles(target));
}

TEST_F(CopyWindowFixture, TheSameCodeTickedTwiceIsCopiedTwice) {
    dir.write("workshop/100/a.txt", "a");
    dir.write("workshop/100/sub/b.txt", "b");
    dir.write("workshop/100/sub/c.txt", "c");
    addRow(1, "100");
    addRow(2, "100");
    // Bars that change on screen only now and then still end on the final values.
    open(CopyVariant::Edit, 3s, 1h);

    startInto(target);
    ASSERT_TRUE(finished());
    EXPECT_EQ(progressBox.value, Summary(6, 0));
    EXPECT_EQ(overallBar.value, 6);
    EXPECT_EQ(fileBar.value, 100);
    EXPECT_EQ(TakeSnapshot(target), ItemPart(TakeSnapshot(workshop), "100"));
}

TEST_F(CopyWindowFixture, PictureWindowTakesItsTargetFromTheBoxOrTheBrowser) {
    dir.write("workshop/100/a.txt", "a");
    const std::string other = dir.makeFolder("other");
    const struct {
        const char* what;
        bool ticked;
        std::string boxText;
        std::string browserChoice;  // empty: the browser is not expected
        std::string copiedInto;
    } cases[] = {
        {"ticked with a folder", true, target, "", target},
        {"ticked but empty", true, "", other, other},
        {"not ticked", false, target, other, other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(target + "/100");
        fs::remove_all(other + "/100");
        dialogs.asked.clear();
        resultBox.value.clear();
        list = test::FakeItemList(1);
        open(CopyVariant::Picture, 0ms);
        addRow(0, "100");
        defaultTarget.checked = c.ticked;
        targetFolderBox.value = c.boxText;
        if (!c.browserChoice.empty()) dialogs.paths.push_back(c.browserChoice);
        dialogs.answers.push_back(true);
        engine->start();
        ASSERT_TRUE(finished());

        EXPECT_EQ(dialogs.asked.size(), c.browserChoice.empty() ? 1u : 2u);
        EXPECT_EQ(targetFolderBox.value, c.copiedInto);
        EXPECT_EQ(*ReadWholeFile(c.copiedInto + "/100/a.txt"), "a");
        EXPECT_EQ(resultBox.value,
                  "\r\n当前共选择MOD个数：1\r\n复制到：" + c.copiedInto +
                      "正在统计所有文件/文件夹...正在创建所需文件夹...文件复制中...\r\n" +
                      Summary(1, 0));
        ASSERT_TRUE(poster.pumpUntil([this] { return fileBar.value == 0; }));
    }
}

TEST_F(CopyWindowFixture, NoFolderChosenIsSaidAndNothingElseHappens) {
    addRow(1, "100");
    open(CopyVariant::Picture);
    defaultTarget.checked = true;
    dialogs.paths.push_back(std::nullopt);
    engine->start();
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1].kind, "message");
    EXPECT_EQ(dialogs.asked[1].text, "未选择要复制到的文件夹，按确定键返回。");
    EXPECT_EQ(dialogs.asked[1].title, "信息：");
    EXPECT_TRUE(button.enabled);
    EXPECT_EQ(resultBox.value, "");
    EXPECT_EQ(targetFolderBox.value, "");
}

TEST_F(CopyWindowFixture, ATypedTargetThatDoesNotExistFailsEveryFile) {
    dir.write("workshop/100/a.txt", "a");
    dir.write("workshop/100/sub/b.txt", "b");
    open(CopyVariant::Picture);
    addRow(0, "100");
    defaultTarget.checked = true;
    targetFolderBox.value = dir.file("missing/deeper");
    dialogs.answers.push_back(true);
    engine->start();
    ASSERT_TRUE(finished());
    EXPECT_NE(resultBox.value.find(Summary(0, 2) + "\r\n失败文件：\r\n1." +
                                   JoinPath(workshop, "100/sub/b.txt") + "\r\n2." +
                                   JoinPath(workshop, "100/a.txt") + "\r\n"),
              std::string::npos)
        << resultBox.value;
    EXPECT_FALSE(PathExists(dir.file("missing")));
}

TEST_F(CopyWindowFixture, RefusesTheWorkshopFolderAndFoldersInsideAPickedItem) {
    dir.write("workshop/100/a.txt", "a");
    dir.makeFolder("workshop/100/sub");
    addRow(1, "100");
    open(CopyVariant::Main);
    for (const std::string& refused :
         {workshop, workshop + "/", workshop + "/100", workshop + "/100/sub"}) {
        SCOPED_TRACE(refused);
        dialogs.asked.clear();
        dialogs.paths.push_back(refused);
        engine->start();
        ASSERT_EQ(dialogs.asked.size(), 2u);
        EXPECT_EQ(dialogs.asked[1].kind, "message");
        EXPECT_NE(dialogs.asked[1].text.find(refused), std::string::npos);
        EXPECT_TRUE(button.enabled);
    }
    EXPECT_EQ(TakeSnapshot(workshop),
              (Snapshot{{"100", std::nullopt}, {"100/a.txt", "a"}, {"100/sub", std::nullopt}}));
}

// A tree whose small files are copied before one large file that takes several chunks.
class StoppedCopyFixture : public CopyWindowFixture {
  protected:
    void SetUp() override {
        CopyWindowFixture::SetUp();
        for (const char* name : {"a", "b", "c"}) {
            dir.write(std::string("workshop/100/sub/") + name + ".txt", name);
        }
        dir.write("workshop/100/big.bin", Bytes(std::size_t{40} << 20, 'g'));
        dir.write("target/100/big.bin", "the old copy");
        addRow(1, "100");
        open(CopyVariant::Main);
        poster.setLockstep(true);
        startInto(target);
        // Within the large file: the worker now waits for its next change to be shown.
        ASSERT_TRUE(poster.pumpUntil(
            [this] { return overallBar.value == 3 && fileBar.value > 0 && fileBar.value < 100; }));
    }

    void expectNoCutFile() {
        EXPECT_EQ(*ReadWholeFile(dir.file("target/100/big.bin")), "the old copy");
        EXPECT_EQ(*ReadWholeFile(dir.file("target/100/sub/b.txt")), "b");
        EXPECT_FALSE(HasTemporaryFiles(target));
    }
};

TEST_F(StoppedCopyFixture, AStopEndsBetweenChunksAndReportsWhatWasCopied) {
    dialogs.answers.push_back(true);
    EXPECT_TRUE(engine->askToStop());
    EXPECT_EQ(dialogs.asked.back().kind, "yesno");
    poster.setLockstep(false);
    ASSERT_TRUE(finished());
    expectNoCutFile();
    EXPECT_EQ(progressBox.value, Summary(3, 0, "复制已停止！"));
    EXPECT_TRUE(resultBox.value.ends_with("\r\n\r\n" + Summary(3, 0, "复制已停止！")));
}

TEST_F(StoppedCopyFixture, ClosingTheWindowAsksAndOnYesEndsTheCopyWithoutASummary) {
    dialogs.answers.push_back(false);
    EXPECT_FALSE(engine->allowClose());
    EXPECT_EQ(dialogs.asked.back().text, "正在复制文件中，是否强制关闭？");
    EXPECT_TRUE(engine->running());

    dialogs.answers.push_back(true);
    EXPECT_TRUE(engine->allowClose());
    poster.setLockstep(false);
    engine.reset();
    poster.pumpWaiting();
    expectNoCutFile();
    EXPECT_EQ(resultBox.value.find("复制完毕"), std::string::npos);
    EXPECT_EQ(resultBox.value.find("复制已停止"), std::string::npos);
    EXPECT_FALSE(button.enabled);
}

}  // namespace
}  // namespace kestavel
