#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "catalogue/ModCatalogue.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/QtPrinting.h"
#include "support/TempDir.h"
#include "ui/EditWindow.h"
#include "ui/EditWindowTexts.h"
#include "ui/ItemListView.h"
#include "ui/MainWindow.h"

namespace kestavel {
namespace {

class EditWindowTest : public ::testing::Test {
  protected:
    void open(int records) {
        const std::string path = dir.file("DEVodu.edb");
        test::MakeEmptyCatalogue(path);
        {
            auto catalogue = ModCatalogue::open(path, nullptr);
            for (int n = 1; n <= records; ++n) {
                catalogue->addRecord(n, GbkText::fromAscii(std::to_string(500 + n)));
                catalogue->goToRecord(n);
                catalogue->write(Field::PictureAddress,
                                 GbkText::fromAscii("https://images/" + std::to_string(n)));
                catalogue->write(Field::Gone, n == 2);
                catalogue->write(Field::Description1,
                                 GbkText::fromAscii("line" + std::to_string(n) + "<br>more"));
                catalogue->write(Field::UpdateDate, std::optional<LocalDateTime>(
                                                        LocalDateTime{2015, 10, 4, 12, 30, 0}));
            }
        }
        dir.write("VODarer.txt", dir.makeFolder("workshop") + "\nhttp://127.0.0.1/?id=\n");
        main = MainWindow::create(dir.path(), {&dialogs, &pump, &shell});
        ASSERT_TRUE(main);
        main->show();
        QTest::mouseClick(mainChild<QPushButton>("按钮_新窗口"), Qt::LeftButton);
        edit = main->editWindow();
        ASSERT_TRUE(edit);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
        list = edit->list();
    }
    template <typename W>
    W* mainChild(const char* name) {
        return main->findChild<W*>(QString::fromUtf8(name));
    }
    template <typename W>
    W* editChild(const char* name) {
        W* found = edit->findChild<W*>(QString::fromUtf8(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    void click(const char* button) {
        QTest::mouseClick(editChild<QPushButton>(button), Qt::LeftButton);
    }
    QString cell(int row, int column) const {
        return list->model()->index(row, column).data().toString();
    }
    std::string results() const { return edit->context().window.resultBox->text(); }

    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingPump pump;
    test::RecordingShell shell;
    std::unique_ptr<MainWindow> main;
    EditWindow* edit = nullptr;
    ItemListView* list = nullptr;
};

TEST_F(EditWindowTest, ShowsTenColumnsWithoutPictureAddresses) {
    open(3);
    EXPECT_EQ(edit->windowTitle(), QStringLiteral("Kestavel - 编辑窗口"));
    ASSERT_EQ(list->model()->rowCount(), 3);
    ASSERT_EQ(list->model()->columnCount(), 10);
    EXPECT_EQ(cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("502"));
    EXPECT_EQ(cell(0, 4), QStringLiteral("假"));
    EXPECT_EQ(cell(1, 4), QStringLiteral("真"));
    EXPECT_EQ(cell(2, 9), QStringLiteral("2015年10月4日12时30分"));
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 10; ++c)
            EXPECT_FALSE(cell(r, c).contains(QStringLiteral("images"))) << r << c;
    }
    const int widths[] = {50, 80, 150, 120, 80, 120, 150, 150, 150, 160};
    const char* titles[] = {"1.序号",   "2.编码",      "3.名称",      "4.作者",      "5.是否失效",
                            "6.主分类", "7.明细分类1", "8.明细分类2", "9.明细分类3", "10.更新日期"};
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(list->columnWidth(c), widths[c]);
        EXPECT_EQ(list->model()->headerData(c, Qt::Horizontal).toString(),
                  QString::fromUtf8(titles[c]));
    }
    EXPECT_TRUE(mainChild<QPushButton>("按钮_新窗口")->isEnabled());  // the busy state was left
}

TEST_F(EditWindowTest, PlacesItsControlsWithTheirFirstStates) {
    open(0);
    struct Place {
        const char* name;
        QRect rect;
    };
    const Place places[] = {
        {"分组框_编辑", {8, 8, 976, 576}},      {"分组框1", {8, 24, 136, 176}},
        {"编辑框_最少时间", {16, 20, 64, 20}},  {"编辑框_最多时间", {16, 44, 64, 20}},
        {"按钮_更新文档", {16, 72, 104, 24}},   {"按钮_更新图片", {16, 104, 104, 24}},
        {"按钮_下载全图", {16, 136, 104, 24}},  {"标签3", {119, 8, 14, 16}},
        {"分组框3", {152, 24, 112, 176}},       {"按钮_全选", {16, 16, 80, 24}},
        {"编辑框_跳转", {16, 112, 56, 24}},     {"按钮_全图检测", {16, 144, 80, 24}},
        {"编辑框_查找结果", {8, 20, 232, 148}}, {"选择框_备份预览图", {8, 72, 80, 16}},
        {"按钮_复制到", {8, 104, 80, 64}},      {"按钮_提取分类", {16, 16, 96, 24}},
        {"按钮_全部显示", {16, 112, 96, 24}},   {"编辑框_查找条件", {8, 16, 184, 24}},
        {"单选框_分类3", {120, 64, 56, 16}},    {"按钮_选中作者查作品", {8, 144, 184, 24}},
        {"编辑框_复制框", {8, 208, 616, 16}},   {"进度条1", {632, 208, 208, 16}},
        {"进度条2", {848, 208, 120, 16}},       {"超级列表框1", {8, 232, 960, 336}},
    };
    for (const Place& place : places) {
        if (auto* widget = editChild<QWidget>(place.name)) {
            EXPECT_EQ(widget->geometry(), place.rect) << place.name;
        }
    }
    EXPECT_EQ(edit->geometry().size(), QSize(998, 619));
    for (const char* box : {"选择框_进度显示", "选择框_模糊查找", "选择框_备份预览图"}) {
        EXPECT_TRUE(editChild<QCheckBox>(box)->isChecked()) << box;
    }
    EXPECT_TRUE(editChild<QRadioButton>("单选框_主分类")->isChecked());
    EXPECT_FALSE(editChild<QRadioButton>("单选框_分类1")->isChecked());
    EXPECT_TRUE(editChild<QLineEdit>("编辑框_复制框")->isVisible());
    EXPECT_EQ(results(), "本窗口为信息显示窗口，欢迎使用！");
    EXPECT_EQ(editChild<QPushButton>("按钮_复制到")->text(), QStringLiteral("复制"));
    const auto tip = [](const char* text) {
        return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    EXPECT_EQ(editChild<QLabel>("标签3")->toolTip(), tip(kHourWindowTip));
    EXPECT_TRUE(
        editChild<QLabel>("标签3")->toolTip().startsWith(QStringLiteral("提示：\n    更新时间为")));
    EXPECT_EQ(editChild<QPushButton>("按钮_复制到")->toolTip(),
              QStringLiteral("复制到选定文件夹。"));
    EXPECT_EQ(editChild<QPushButton>("按钮_全图检测")->toolTip(),
              QStringLiteral("检测是否有没下载过全图的MOD。"));
}

TEST_F(EditWindowTest, ShowingPickedRowsAndAllRowsAgain) {
    open(3);
    list->setPicked(0, true);
    list->setPicked(2, true);
    click("按钮_选择显示");
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(cell(0, 1), QStringLiteral("501"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("503"));
    EXPECT_TRUE(list->isPicked(0) && list->isPicked(1));

    click("按钮_全部显示");
    ASSERT_EQ(list->model()->rowCount(), 3);
    for (int r = 0; r < 3; ++r) EXPECT_FALSE(list->isPicked(r));
    EXPECT_TRUE(mainChild<QPushButton>("按钮_新建索引")->isEnabled());
}

TEST_F(EditWindowTest, PickButtonsReportOnlyWhereTheyShould) {
    open(4);
    click("按钮_全选");
    EXPECT_EQ(results(), "本窗口为信息显示窗口，欢迎使用！\r\n\r\n已选择MOD个数：4");
    click("按钮_取消选择");
    EXPECT_EQ(results(), "本窗口为信息显示窗口，欢迎使用！\r\n\r\n已选择MOD个数：4");
    EXPECT_FALSE(list->isPicked(0));
    list->setHighlighted(1, true);
    click("按钮_选择");
    EXPECT_TRUE(
        results().ends_with("\r\n\r\n本次选择MOD个数：1\r\n当前共选择MOD个数：1\r\n序号是：2"));
}

TEST_F(EditWindowTest, ARowClickMovesMainWindowToTheItem) {
    open(3);
    click("按钮_全部显示");
    list->setCurrentIndex(list->model()->index(2, 0));
    EXPECT_EQ(mainChild<QGroupBox>("分组框_预览图")->title(), QStringLiteral("预览图:3/503"));
    EXPECT_EQ(shell.clipboard, "503");
    EXPECT_EQ(mainChild<QPlainTextEdit>("编辑框_MOD信息")->toPlainText(),
              QStringLiteral("line3\nmore\n"));
    EXPECT_EQ(main->list()->currentRow(), 2);
}

TEST_F(EditWindowTest, JumpUsesItsOwnPageLength) {
    open(30);
    auto* jumpBox = editChild<QLineEdit>("编辑框_跳转");
    jumpBox->setFocus();
    jumpBox->setText(QStringLiteral("5"));
    QTest::keyClick(jumpBox, Qt::Key_Return);
    EXPECT_EQ(list->rowAt(0), 4);
    EXPECT_TRUE(list->isHighlighted(4));
    EXPECT_EQ(mainChild<QGroupBox>("分组框_预览图")->title(), QStringLiteral("预览图:5/505"));
    EXPECT_TRUE(jumpBox->hasFocus());
    EXPECT_EQ(jumpBox->selectedText(), QStringLiteral("5"));

    jumpBox->setText(QStringLiteral("20"));
    QTest::keyClick(jumpBox, Qt::Key_Return);
    EXPECT_EQ(list->rowAt(list->viewport()->height() - 1), 29);
    EXPECT_LE(list->rowAt(0), 19);
    EXPECT_TRUE(list->isHighlighted(19));
}

TEST_F(EditWindowTest, ASecondOpenOnlyBringsTheWindowToTheFront) {
    open(2);
    list->setPicked(1, true);
    {
        auto catalogue = ModCatalogue::open(dir.file("DEVodu.edb"), nullptr);
        catalogue->addRecord(3, GbkText::fromAscii("999"));
    }
    QTest::mouseClick(mainChild<QPushButton>("按钮_新窗口"), Qt::LeftButton);
    EXPECT_EQ(main->editWindow(), edit);
    EXPECT_EQ(list->model()->rowCount(), 2);
    EXPECT_TRUE(list->isPicked(1));
}

TEST_F(EditWindowTest, HourBoxesRefuseMinusAndKeepTheUpperBoundAboveTheLower) {
    open(1);
    auto* least = editChild<QLineEdit>("编辑框_最少时间");
    auto* most = editChild<QLineEdit>("编辑框_最多时间");
    least->setFocus();
    QTest::keyClicks(least, QStringLiteral("-5"));
    EXPECT_EQ(least->text(), QStringLiteral("5"));
    most->setFocus();
    QTest::keyClicks(most, QStringLiteral("3"));
    least->setFocus();
    EXPECT_EQ(most->text(), QStringLiteral("6"));

    most->setFocus();
    most->setText(QStringLiteral("8"));
    least->setFocus();
    EXPECT_EQ(most->text(), QStringLiteral("8"));
}

TEST_F(EditWindowTest, AMissingSettingsFileEndsTheProgram) {
    open(1);
    click("按钮_全部显示");
    EXPECT_FALSE(main->hasEnded());
    DeleteFile(dir.file("VODarer.txt"));
    QTest::mouseClick(mainChild<QPushButton>("按钮_新窗口"), Qt::LeftButton);
    EXPECT_TRUE(main->hasEnded());
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_EQ(dialogs.asked.back().text, "VODarer.txt文件不存在！");
    // Gone once the handler that ended the program has returned.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(main->editWindow());
}

TEST_F(EditWindowTest, ClosingGivesTheFrontBackAndMainWindowTakesItAlong) {
    open(1);
    EXPECT_TRUE(edit->close());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(main->editWindow());

    QTest::mouseClick(mainChild<QPushButton>("按钮_新窗口"), Qt::LeftButton);
    ASSERT_TRUE(main->editWindow());
    main->editWindow()->findChild<QPushButton*>(QStringLiteral("按钮_复制到"))->setEnabled(false);
    EXPECT_TRUE(main->close());  // EditWindow's own copy is not asked about
    EXPECT_FALSE(main->editWindow());
    EXPECT_TRUE(dialogs.asked.empty());
}

}  // namespace
}  // namespace kestavel
