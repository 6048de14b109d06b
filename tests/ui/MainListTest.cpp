#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "catalogue/ModCatalogue.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/QtPrinting.h"
#include "support/TempDir.h"
#include "ui/EditWindow.h"
#include "ui/ItemListView.h"
#include "ui/MainWindow.h"

namespace kestavel {
namespace {

// MainWindow over a catalogue of `rows` items with ids 1001, 1002, … shown and laid out offscreen.
class MainListTest : public ::testing::Test {
  protected:
    void open(int rows) {
        test::MakeEmptyCatalogue(dir.file("DEVodu.edb"));
        {
            auto catalogue = ModCatalogue::open(dir.file("DEVodu.edb"), nullptr);
            for (int n = 1; n <= rows; ++n) {
                catalogue->addRecord(n, GbkText::fromAscii(std::to_string(1000 + n)));
            }
        }
        workshop = dir.makeFolder("workshop");
        dir.write("VODarer.txt", workshop + "\nhttp://127.0.0.1/?id=\n");
        window = MainWindow::create(dir.path(), {&dialogs, &pump, &shell});
        ASSERT_TRUE(window);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        list = window->list();
    }
    template <typename W>
    W* child(const char* name) {
        return window->findChild<W*>(QString::fromUtf8(name));
    }
    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    std::string results() const { return window->context().window.resultBox->text(); }
    int firstVisibleRow() const { return list->rowAt(0); }
    int lastVisibleRow() const { return list->rowAt(list->viewport()->height() - 1); }

    test::TempDir dir;
    std::string workshop;
    test::ScriptedDialogs dialogs;
    test::RecordingPump pump;
    test::RecordingShell shell;
    std::unique_ptr<MainWindow> window;
    ItemListView* list = nullptr;
};

TEST_F(MainListTest, ChangingTheCurrentRowShowsItsItem) {
    open(10);
    dir.write("workshop/1007/1007.jpg", "not really a picture");
    list->setCurrentIndex(list->model()->index(6, 0));
    EXPECT_EQ(child<QGroupBox>("分组框_预览图")->title(), QStringLiteral("预览图:7/1007"));
    EXPECT_EQ(shell.clipboard, "1007");
    // Only the file's existence counts for the link, whatever it holds.
    EXPECT_TRUE(child<QWidget>("超级链接框_无预览图")->isHidden());

    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(child<QGroupBox>("分组框_预览图")->title(), QStringLiteral("预览图:8/1008"));
    EXPECT_FALSE(child<QWidget>("超级链接框_无预览图")->isHidden());
    EXPECT_EQ(child<QPlainTextEdit>("编辑框_MOD信息")->toPlainText(), QString());
}

TEST_F(MainListTest, DoubleClickOpensTheItemFolder) {
    open(3);
    list->setCurrentIndex(list->model()->index(1, 1));
    const QRect cell = list->visualRect(list->model()->index(1, 1));
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_FALSE(shell.opened.empty());
    EXPECT_EQ(shell.opened.back(), workshop + "/1002");
}

TEST_F(MainListTest, PickButtonsTickRowsAndReport) {
    open(10);
    click("按钮_全部选择");
    EXPECT_TRUE(list->isPicked(0) && list->isPicked(9));
    click("按钮_取消选择");
    EXPECT_FALSE(list->isPicked(0) || list->isPicked(9));

    list->setPicked(8, true);
    list->setHighlighted(1, true);
    list->setHighlighted(4, true);
    click("按钮_选择");
    EXPECT_TRUE(list->isPicked(1) && list->isPicked(4) && list->isPicked(8));
    EXPECT_TRUE(results().ends_with(
        "\r\n\r\n已选择MOD个数：10\r\n\r\n已选择MOD个数：0"
        "\r\n\r\n本次选择MOD个数：2\r\n当前共选择MOD个数：3\r\n序号是：2，5，9"))
        << results();
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(MainListTest, PickingWithNothingTickedLeavesTheNumberListEmpty) {
    open(0);
    click("按钮_全部选择");
    click("按钮_选择");
    EXPECT_TRUE(results().ends_with(
        "\r\n\r\n已选择MOD个数：0\r\n\r\n本次选择MOD个数：0\r\n当前共选择MOD个数：0\r\n序号是："));
}

TEST_F(MainListTest, JumpPutsTheRowAtTheTopOrShowsTheLastPage) {
    open(100);
    auto* jumpBox = child<QLineEdit>("编辑框_跳转");
    list->setHighlighted(3, true);
    jumpBox->setText(QStringLiteral("10"));
    click("按钮_跳转");
    EXPECT_EQ(firstVisibleRow(), 9);
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(list->isHighlighted(9));
    EXPECT_EQ(child<QGroupBox>("分组框_预览图")->title(), QStringLiteral("预览图:10/1010"));

    jumpBox->setText(QStringLiteral("95"));
    click("按钮_跳转");
    EXPECT_EQ(lastVisibleRow(), 99);
    EXPECT_LE(firstVisibleRow(), 94);
    EXPECT_TRUE(list->isHighlighted(94));
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(MainListTest, JumpsThatGoNowhereDoNothing) {
    open(20);
    auto* jumpBox = child<QLineEdit>("编辑框_跳转");
    for (const char* text : {"0", "", "-3", "abc", "21"}) {
        jumpBox->setText(QString::fromUtf8(text));
        click("按钮_跳转");
        EXPECT_EQ(child<QGroupBox>("分组框_预览图")->title(), QStringLiteral("预览图")) << text;
        EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty()) << text;
    }
}

TEST_F(MainListTest, TheJumpBoxRefusesMinusAndSelectsItsTextForTheNextNumber) {
    open(30);
    auto* jumpBox = child<QLineEdit>("编辑框_跳转");
    jumpBox->setFocus();
    QTest::keyClicks(jumpBox, QStringLiteral("-1-2"));
    EXPECT_EQ(jumpBox->text(), QStringLiteral("12"));
    QTest::keyClick(jumpBox, Qt::Key_Return);
    EXPECT_TRUE(list->isHighlighted(11));
    EXPECT_TRUE(jumpBox->hasFocus());
    EXPECT_EQ(jumpBox->selectedText(), QStringLiteral("12"));
    QTest::keyClicks(jumpBox, QStringLiteral("3"));
    EXPECT_EQ(jumpBox->text(), QStringLiteral("3"));

    jumpBox->deselect();
    QTest::mouseClick(jumpBox, Qt::LeftButton);
    EXPECT_EQ(jumpBox->selectedText(), QStringLiteral("3"));
}

TEST_F(MainListTest, PreviewDoubleClickScrollsBackToTheShownItem) {
    open(100);
    auto* picture = child<QWidget>("图片框_预览图");
    QTest::mouseDClick(picture, Qt::LeftButton);  // nothing shown yet: only the focus moves
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(firstVisibleRow(), 0);

    list->setCurrentIndex(list->model()->index(39, 0));
    list->scrollToTop();
    QTest::mouseDClick(picture, Qt::LeftButton);
    EXPECT_EQ(firstVisibleRow(), 39);
    EXPECT_FALSE(list->isPicked(39));
}

TEST_F(MainListTest, SearchRunsFromTheButtonAndFromEnter) {
    open(30);
    auto* item = child<QComboBox>("组合框_查找项目");
    auto* condition = child<QLineEdit>("编辑框_查找条件");
    condition->setFocus();
    QTest::keyClicks(condition, QStringLiteral("-1-2"));
    EXPECT_EQ(condition->text(), QStringLiteral("12"));  // "-" refused under "序号"
    QTest::keyClick(condition, Qt::Key_Return);
    EXPECT_TRUE(list->isHighlighted(11));
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(condition->hasFocus());
    EXPECT_EQ(condition->selectedText(), QStringLiteral("12"));

    item->setCurrentIndex(1);  // 编码
    condition->clear();
    QTest::keyClicks(condition, QStringLiteral("-1"));
    EXPECT_EQ(condition->text(), QStringLiteral("-1"));
    condition->setText(QStringLiteral("1020"));
    click("按钮_文本输入查找");
    EXPECT_TRUE(list->isHighlighted(19));
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
}

TEST_F(MainListTest, HeaderClicksSortAndShareTheDirectionWithTheEditList) {
    open(12);
    list->horizontalHeader()->setSectionsClickable(true);
    const QRect header = list->horizontalHeader()->geometry();
    const int column1 = list->horizontalHeader()->sectionViewportPosition(1) + 10;
    QTest::mouseClick(list->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(column1, header.height() / 2));
    EXPECT_EQ(list->model()->index(0, 1).data().toString(), QStringLiteral("1001"));
    EXPECT_EQ(list->model()->index(11, 1).data().toString(), QStringLiteral("1012"));
    EXPECT_TRUE(window->context().window.progressBox->text().starts_with(
        "对第1列中的12条记录排序，共耗时："));
    EXPECT_FALSE(list->model()->headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());

    // The next sort anywhere runs the other way.
    QTest::mouseClick(child<QPushButton>("按钮_新窗口"), Qt::LeftButton);
    ItemListView* editList = window->editWindow()->list();
    const int editColumn1 = editList->horizontalHeader()->sectionViewportPosition(1) + 10;
    QTest::mouseClick(editList->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(editColumn1, editList->horizontalHeader()->height() / 2));
    EXPECT_EQ(editList->model()->index(0, 1).data().toString(), QStringLiteral("1012"));
}

}  // namespace
}  // namespace kestavel
