#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include "WorkshopPage.h"
#include "WorkshopServer.h"
#include "catalogue/ItemFolder.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/PageDocument.h"
#include "pictures/PreviewFiles.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/ShortTimeouts.h"
#include "support/TempDir.h"
#include "ui/EditWindow.h"
#include "ui/ItemListView.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"
#include "ui/ServedWindows.h"

namespace kestavel {
namespace {

using namespace std::chrono_literals;

// Both windows over a catalogue of items whose pictures and pages a local server answers; the
// pump lets the test close a window in the middle of a command, as a click would.
class CommandFrameTest : public test::ServedWindows {
  protected:
    void open(int records) {
        test::MakeEmptyCatalogue(CataloguePath(dir.path()));
        {
            auto catalogue = ModCatalogue::open(CataloguePath(dir.path()), nullptr);
            for (int n = 1; n <= records; ++n) {
                catalogue->addRecord(n, GbkText::fromAscii(code(n)));
                catalogue->goToRecord(n);
                catalogue->write(Field::PictureAddress,
                                 GbkText::fromAscii(server.base() + "/ugc/" + code(n) + "/"));
                CreateDirectory(JoinPath(workshop, code(n)));
                workshop::Answer picture;
                picture.body = std::string(4000, static_cast<char>('a' + n));
                picture.contentType = "image/jpeg";
                server.setAnswer("/ugc/" + code(n) + "/637x358.resizedimage", picture);
                workshop::Answer page;
                page.body = workshop::BuildItemPage({});
                page.delay = 50ms;
                server.setPage(code(n), page);
            }
        }
        showMainWindow();
    }
    static std::string code(int n) { return std::to_string(700 + n); }
    std::string picture(int n) const {
        return PreviewFiles::of(workshop, GbkText::fromAscii(code(n))).picture;
    }
    // The pictures and pages of the items after the first answer after this delay: with 20 s
    // they are still in flight when a window closes.
    void answerAfterTheFirstAfter(int records, std::chrono::milliseconds delay) {
        for (int n = 2; n <= records; ++n) {
            workshop::Answer picture;
            picture.body = std::string(4000, 'x');
            picture.delay = delay;
            server.setAnswer("/ugc/" + code(n) + "/637x358.resizedimage", picture);
            workshop::Answer page;
            page.body = workshop::BuildItemPage({});
            page.delay = delay;
            server.setPage(code(n), page);
        }
    }
};

TEST_F(CommandFrameTest, ClosingEditWindowDuringAPictureRefreshCutsTheFetchesInFlight) {
    open(5);
    answerAfterTheFirstAfter(5, 20s);
    openEditWindow();
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_全选"), Qt::LeftButton);
    dialogs.answers = {true};
    pump.onceAfter([this] { return PathExists(picture(1)); }, [this] { edit->close(); });
    const auto started = std::chrono::steady_clock::now();
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_更新图片"), Qt::LeftButton);
    ASSERT_TRUE(edit) << "the window went while its command ran";
    // Cut within about a second, not after the server's 20 s.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_NE(edit->context().window.resultBox->text().find("更新预览图完成，共下载预览图1个"),
              std::string::npos);
    test::SettleEvents();
    EXPECT_FALSE(edit);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(PathExists(picture(1)));
    for (int n = 2; n <= 5; ++n) EXPECT_FALSE(PathExists(picture(n))) << n;
    EXPECT_TRUE(test::Child<QPushButton>(main.get(), "按钮_新建索引")->isEnabled());
}

TEST_F(CommandFrameTest, ClosingMainWindowDuringEditWindowsCommandEndsTheProgramAfterIt) {
    open(5);
    answerAfterTheFirstAfter(5, 20s);
    openEditWindow();
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_全选"), Qt::LeftButton);
    dialogs.answers = {true};
    pump.onceAfter([this] { return PathExists(picture(1)); }, [this] { main->close(); });
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_更新图片"), Qt::LeftButton);
    EXPECT_TRUE(main->isVisible());  // not while the command ran
    test::SettleEvents();
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(edit);
    EXPECT_TRUE(PathExists(picture(1)));
    for (int n = 2; n <= 5; ++n) EXPECT_FALSE(PathExists(picture(n))) << n;
}

TEST_F(CommandFrameTest, ClosingMainWindowDuringANewIndexStoresWhatTheSummaryCounts) {
    open(0);
    for (int n = 1; n <= 600; ++n) CreateDirectory(JoinPath(workshop, std::to_string(n)));
    dialogs.answers = {true};
    pump.atRun(100, [this] { main->close(); });
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_新建索引"), Qt::LeftButton);
    test::SettleEvents();
    EXPECT_FALSE(main->isVisible());
    const int stored = ModCatalogue::open(CataloguePath(dir.path()), nullptr)->recordCount();
    EXPECT_GE(stored, 99);
    EXPECT_LT(stored, 600);
    EXPECT_EQ(main->list()->rowCount(), stored);
    const std::string results = main->context().window.resultBox->text();
    EXPECT_TRUE(results.ends_with("索引完成，共索引目录" + std::to_string(stored) + "个"))
        << results;
}

TEST_F(CommandFrameTest, ClosingMainWindowDuringAPageDownloadCutsTheFetchesAndEnds) {
    open(6);
    answerAfterTheFirstAfter(6, 20s);
    dialogs.answers = {true};
    const auto saved = [this](int n) {
        return PathExists(ItemFolder(workshop, GbkText::fromAscii(code(n))).page());
    };
    pump.onceAfter([&] { return saved(1); }, [this] { main->close(); });
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_下载网页源码"), Qt::LeftButton);
    test::SettleEvents();
    EXPECT_FALSE(main->isVisible());
    for (int n = 1; n <= 6; ++n) EXPECT_EQ(saved(n), n == 1) << n;
    for (int n = 1; n <= 6; ++n) {
        EXPECT_FALSE(PathExists(ItemFolder(workshop, GbkText::fromAscii(code(n))).temporaryPage()))
            << n;
    }
    // Four in flight at most; none started after the close.
    EXPECT_LE(server.requestCount(), 5u);
    EXPECT_TRUE(main->context().window.resultBox->text().ends_with("共下载文档1个"));
}

// While one command waits for its fetches with events running, no window starts another.
TEST_F(CommandFrameTest, WhileACommandRunsNeitherWindowStartsAnother) {
    open(3);
    openEditWindow();
    std::vector<bool> seen;
    pump.onRun = [&] {
        seen.push_back(test::Child<QPushButton>(main.get(), "按钮_下载网页源码")->isEnabled() ||
                       test::Child<QPushButton>(edit, "按钮_更新文档")->isEnabled() ||
                       test::Child<QPushButton>(edit, "按钮_提取分类")->isEnabled() ||
                       test::Child<QPushButton>(edit, "按钮_查找编码")->isEnabled());
    };
    dialogs.answers = {true};
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_下载网页源码"), Qt::LeftButton);
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_全选"), Qt::LeftButton);
    dialogs.answers = {true};
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_更新图片"), Qt::LeftButton);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 0);
    EXPECT_TRUE(test::Child<QPushButton>(main.get(), "按钮_下载网页源码")->isEnabled());
    EXPECT_TRUE(test::Child<QPushButton>(edit, "按钮_更新文档")->isEnabled());
    EXPECT_TRUE(test::Child<QPushButton>(edit, "按钮_查找编码")->isEnabled());
}

// EditWindow's commands read its own boxes, not MainWindow's.
TEST_F(CommandFrameTest, EditWindowsContextHoldsItsOwnControls) {
    open(1);
    openEditWindow();
    test::Child<QCheckBox>(edit, "选择框_模糊查找")->setChecked(false);
    test::Child<QLineEdit>(edit, "编辑框_查找条件")->setText(QStringLiteral("道路"));
    EXPECT_FALSE(edit->context().window.fuzzySearch->isChecked());
    EXPECT_TRUE(main->context().window.fuzzySearch->isChecked());
    EXPECT_EQ(edit->context().window.searchCondition->text(), "道路");
    EXPECT_EQ(main->context().window.searchCondition->text(), "");
    EXPECT_NE(edit->context().window.progressBox, main->context().window.progressBox);
    EXPECT_EQ(edit->context().settings.workshopFolder, main->context().settings.workshopFolder);
}

// The page scroll rule counts on 24 whole rows in the main list and 19 in the edit list.
TEST_F(CommandFrameTest, TheListsShowTheWholeRowsThePageRuleCountsOn) {
    open(60);
    openEditWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
    for (auto [view, rows] : {std::pair{main->list(), 24}, std::pair{edit->list(), 19}}) {
        int whole = 0;
        const QRect area = view->viewport()->rect();
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            if (area.contains(view->visualRect(view->model()->index(row, 0)))) ++whole;
        }
        EXPECT_EQ(whole, rows) << view->objectName().toStdString();
        EXPECT_GE(view->rowHeight(0), view->fontMetrics().height());  // Chinese text unclipped
    }
}

// A backup taken from the window restores exactly its records: EditWindow closes first and the
// list shows the restored catalogue.
TEST_F(CommandFrameTest, BackupAndRestoreFromTheWindowSwapTheWholeCatalogue) {
    open(3);
    openEditWindow();
    const std::string backup = dir.file("saved.edb");
    dialogs.paths = {backup};
    dialogs.answers = {true};
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_备份"), Qt::LeftButton);
    ASSERT_TRUE(PathExists(backup));

    {
        auto catalogue = ModCatalogue::open(CataloguePath(dir.path()), nullptr);
        ASSERT_TRUE(catalogue->addRecord(4, GbkText::fromAscii("999")));
    }
    // A picked item with a preview opens the picture window.
    WriteWholeFile(picture(1), "not even a picture");
    main->list()->setPicked(0, true);
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_图片选择"), Qt::LeftButton);
    auto pictureWindows = [] {
        int shown = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->windowTitle() == QStringLiteral("Kestavel - 图片选择窗口") &&
                window->isVisible())
                ++shown;
        }
        return shown;
    };
    ASSERT_EQ(pictureWindows(), 1);

    dialogs.paths = {backup};
    dialogs.answers = {true};
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_恢复"), Qt::LeftButton);
    test::SettleEvents();
    EXPECT_FALSE(edit);
    EXPECT_EQ(pictureWindows(), 0);
    EXPECT_EQ(ModCatalogue::open(CataloguePath(dir.path()), nullptr)->recordCount(), 3);
    EXPECT_EQ(main->list()->rowCount(), 3);
}

// A restore asked for while a command runs waits until that command has stopped at its next
// item: no command holds the catalogue while it is swapped.
TEST_F(CommandFrameTest, ARestoreDuringACommandWaitsForItToStop) {
    open(6);
    const std::string backup = dir.file("saved.edb");
    dialogs.paths = {backup};
    dialogs.answers = {true};
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_备份"), Qt::LeftButton);

    dialogs.answers = {true, true};
    dialogs.paths = {backup};
    answerAfterTheFirstAfter(6, 20s);
    pump.onceAfter(
        [this] { return PathExists(ItemFolder(workshop, GbkText::fromAscii(code(1))).page()); },
        [this] {
            QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_恢复"), Qt::LeftButton);
            // Nothing was asked yet: the restore waits for the download.
            EXPECT_EQ(dialogs.paths.size(), 1u);
        });
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_下载网页源码"), Qt::LeftButton);
    EXPECT_TRUE(main->context().window.resultBox->text().ends_with("共下载文档1个"));
    test::SettleEvents();
    EXPECT_TRUE(dialogs.paths.empty());  // the restore ran once the download had ended
    EXPECT_TRUE(main->isVisible());
    // Later commands are not stopped by the restore's request.
    dialogs.answers = {true};
    pump.onRun = nullptr;
    answerAfterTheFirstAfter(6, 50ms);
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_下载网页源码"), Qt::LeftButton);
    EXPECT_TRUE(main->context().window.resultBox->text().ends_with("共下载文档5个"));
}

TEST_F(CommandFrameTest, EditWindowsFindButtonsReadItsRadioButtonsAndSearchBox) {
    open(3);
    {
        auto catalogue = ModCatalogue::open(CataloguePath(dir.path()), nullptr);
        catalogue->goToRecord(2);
        catalogue->write(Field::Detail2, GbkText::fromAscii("Roads"));
        catalogue->goToRecord(3);
        catalogue->write(Field::MainCategory, GbkText::fromAscii("Roads"));
    }
    openEditWindow();
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_全部显示"), Qt::LeftButton);
    test::Child<QLineEdit>(edit, "编辑框_查找条件")->setText(QStringLiteral("roads"));
    auto results = [this] { return edit->context().window.resultBox->text(); };
    // Just after opening, "主分类" is the chosen category: column 5.
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_查找分类"), Qt::LeftButton);
    EXPECT_EQ(edit->list()->highlightedRows(), std::vector<int>{2});
    EXPECT_TRUE(results().ends_with("序号是：3")) << results();
    test::Child<QRadioButton>(edit, "单选框_分类2")->setChecked(true);
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_查找分类"), Qt::LeftButton);
    EXPECT_EQ(edit->list()->highlightedRows(), std::vector<int>{1});
    EXPECT_TRUE(results().ends_with("序号是：2")) << results();
    EXPECT_TRUE(main->list()->highlightedRows().empty());  // never MainWindow's list

    // No hit: a count of 0 and nothing after "序号是：".
    test::Child<QLineEdit>(edit, "编辑框_查找条件")->setText(QStringLiteral("no such code"));
    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_查找编码"), Qt::LeftButton);
    EXPECT_TRUE(edit->list()->highlightedRows().empty());
    EXPECT_TRUE(results().ends_with("序号是：")) << results();

    // And MainWindow's search never reaches the edit list.
    test::Child<QLineEdit>(main.get(), "编辑框_查找条件")->setText(QStringLiteral("702"));
    test::Child<QComboBox>(main.get(), "组合框_查找项目")->setCurrentIndex(1);
    QTest::mouseClick(test::Child<QPushButton>(main.get(), "按钮_文本输入查找"), Qt::LeftButton);
    EXPECT_EQ(main->list()->highlightedRows(), std::vector<int>{1});
    EXPECT_TRUE(edit->list()->highlightedRows().empty());

    QTest::mouseClick(test::Child<QPushButton>(edit, "按钮_多列排序"), Qt::LeftButton);
    int sortWindows = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == QStringLiteral("多列排序(Cobbletide)") && window->isVisible())
            ++sortWindows;
    }
    EXPECT_EQ(sortWindows, 1);
}

TEST(QtFileFilter, TurnsCaptionAndPatternPairsIntoQtFilters) {
    EXPECT_EQ(QtFileFilter("文本文件（*.txt）|*.txt"), QStringLiteral("文本文件（*.txt） (*.txt)"));
    EXPECT_EQ(QtFileFilter("EDB数据库文件（*.edb）|*.edb|所有文件（*.*）|*.*"),
              QStringLiteral("EDB数据库文件（*.edb） (*.edb);;所有文件（*.*） (*.*)"));
    EXPECT_EQ(QtFileFilter(""), QString());
}

// Closing a window while its copy runs: No lets the copy go on to its summary; Yes ends it, and
// no file stands cut under its real name.
TEST_F(CommandFrameTest, ClosingDuringACopyAsksAndYesEndsItWithoutCutFiles) {
    open(2);
    const std::string big(16 * 1024 * 1024, 'k');
    for (int n = 1; n <= 2; ++n)
        WriteWholeFile(JoinPath(JoinPath(workshop, code(n)), "big.crp"), big);
    openEditWindow();
    auto waitForCopy = [](QPushButton* button) {
        for (int i = 0; i < 2000 && !button->isEnabled(); ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        return button->isEnabled();
    };
    for (QWidget* window : {static_cast<QWidget*>(edit), static_cast<QWidget*>(main.get())}) {
        SCOPED_TRACE(window->objectName().toStdString());
        auto* copyButton = test::Child<QPushButton>(window, "按钮_复制到");
        QTest::mouseClick(
            test::Child<QPushButton>(window, window == edit ? "按钮_全选" : "按钮_全部选择"),
            Qt::LeftButton);
        const std::string target = dir.makeFolder(window->objectName().toStdString() + "-target");

        dialogs.paths = {target};
        dialogs.answers = {true, false};  // copy: OK; close: No
        QTest::mouseClick(copyButton, Qt::LeftButton);
        ASSERT_FALSE(copyButton->isEnabled());
        EXPECT_FALSE(window->close());
        ASSERT_TRUE(waitForCopy(copyButton));
        for (int n = 1; n <= 2; ++n) {
            EXPECT_EQ(ReadWholeFile(JoinPath(JoinPath(target, code(n)), "big.crp")), big);
        }

        const std::string second = dir.makeFolder(window->objectName().toStdString() + "-ended");
        dialogs.paths = {second};
        dialogs.answers = {true, true};  // copy: OK; close: Yes
        QTest::mouseClick(copyButton, Qt::LeftButton);
        ASSERT_FALSE(copyButton->isEnabled());
        EXPECT_TRUE(window->close());
        EXPECT_TRUE(dialogs.answers.empty());
        test::SettleEvents();
    }
    EXPECT_FALSE(edit);
    main.reset();  // joins the copy's thread
    for (const char* folder : {"MainWindow-ended", "EditWindow-ended"}) {
        for (int n = 1; n <= 2; ++n) {
            const std::string copied = JoinPath(JoinPath(dir.file(folder), code(n)), "big.crp");
            if (PathExists(copied)) {
                EXPECT_EQ(ReadWholeFile(copied), big) << copied;
            }
        }
    }
}

}  // namespace
}  // namespace kestavel
