#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "WorkshopPictures.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pictures/PreviewFiles.h"
#include "pictures/Thumbnail.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/QtPrinting.h"
#include "support/TempDir.h"
#include "ui/EditWindow.h"
#include "ui/ItemListView.h"
#include "ui/MainWindow.h"
#include "ui/PictureListView.h"
#include "ui/PictureWindow.h"
#include "ui/ServedWindows.h"

namespace kestavel {
namespace {

// MainWindow over a catalogue of items 801, 802, …; the items named get a preview picture of
// their own colours.
class PictureWindowTest : public ::testing::Test {
  protected:
    ~PictureWindowTest() override {
        // MainWindow takes the picture window along, asking nothing.
        if (main) main->close();
    }
    void open(int records, const std::vector<int>& withPicture) {
        test::MakeEmptyCatalogue(CataloguePath(dir.path()));
        {
            auto catalogue = ModCatalogue::open(CataloguePath(dir.path()), nullptr);
            for (int n = 1; n <= records; ++n) {
                catalogue->addRecord(n, GbkText::fromAscii(code(n)));
                CreateDirectory(JoinPath(workshop, code(n)));
            }
        }
        for (int n : withPicture) {
            ASSERT_TRUE(WriteWholeFile(picture(n), workshop::MakeJpeg(320, 180, 1000u + 97u * n)));
        }
        dir.write("VODarer.txt", workshop + "\nhttp://127.0.0.1/?id=\n");
        main = MainWindow::create(dir.path(), {&dialogs, &pump, &shell});
        ASSERT_TRUE(main);
        main->show();
    }
    static std::string code(int n) { return std::to_string(800 + n); }
    std::string picture(int n) const {
        return PreviewFiles::of(workshop, GbkText::fromAscii(code(n))).picture;
    }
    // Ticks rows first to last (counted from 1) of a list and asks for the pictures.
    static void fill(QWidget* window, ItemListView* list, int first, int last) {
        for (int row = 0; row < list->rowCount(); ++row) {
            list->setPicked(row, row + 1 >= first && row + 1 <= last);
        }
        QTest::mouseClick(child<QPushButton>(window, "按钮_图片选择"), Qt::LeftButton);
    }
    void fillFromMain(int first, int last) { fill(main.get(), main->list(), first, last); }
    static PictureWindow* pictureWindow() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<PictureWindow*>(window)) return found;
        }
        return nullptr;
    }
    template <typename W>
    static W* child(QWidget* window, const char* name) {
        W* found = window->findChild<W*>(QString::fromUtf8(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(pictureWindow(), button), Qt::LeftButton);
    }
    static std::vector<std::string> captions(PictureListView* list) {
        std::vector<std::string> texts;
        for (int row = 0; row < list->rowCount(); ++row) {
            texts.push_back(list->model()->index(row, 0).data().toString().toStdString());
        }
        return texts;
    }
    static QImage thumbnail(PictureListView* list, int row) {
        return list->model()->index(row, 0).data(Qt::DecorationRole).value<QImage>();
    }
    std::string pictureResults() const {
        return pictureWindow()->context().window.resultBox->text();
    }

    test::TempDir dir;
    std::string workshop = dir.makeFolder("workshop");
    test::ScriptedDialogs dialogs;
    test::RecordingPump pump;
    test::RecordingShell shell;
    std::unique_ptr<MainWindow> main;
};

TEST_F(PictureWindowTest, PlacesItsControlsAndKeepsItsOwnContext) {
    open(1, {1});
    fillFromMain(1, 1);
    PictureWindow* window = pictureWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kestavel - 图片选择窗口"));
    EXPECT_EQ(window->geometry().size(), QSize(1072, 747));
    EXPECT_EQ(window->pos(), QPoint(50, 50));
    struct Place {
        const char* name;
        QRect rect;
        const char* caption;
    };
    const Place places[] = {
        {"分组框1", {8, 8, 1048, 608}, "图片选择区"},
        {"超级列表框1", {8, 16, 1032, 584}, nullptr},
        {"画板1", {400, 232, 256, 145}, nullptr},
        {"进度条1", {8, 624, 736, 10}, nullptr},
        {"进度条2", {8, 638, 736, 10}, nullptr},
        {"分组框2", {8, 648, 736, 64}, ""},
        {"编辑框_查找结果", {3, 10, 729, 48}, nullptr},
        {"编辑框_目标目录", {752, 624, 240, 24}, nullptr},
        {"选择框_默认目标目录", {1000, 624, 56, 24}, "默认目标目录"},
        {"按钮_选择", {752, 656, 96, 24}, "选择"},
        {"按钮_全选", {856, 656, 96, 24}, "全部选择"},
        {"按钮_全部删除", {960, 656, 96, 24}, "全部删除"},
        {"按钮_取消选择", {752, 688, 96, 24}, "取消选择"},
        {"按钮_复制到", {856, 688, 96, 24}, "复制到"},
        {"按钮_删除", {960, 688, 96, 24}, "删除"},
    };
    for (const Place& place : places) {
        QWidget* widget = child<QWidget>(window, place.name);
        if (!widget) continue;
        EXPECT_EQ(widget->geometry(), place.rect) << place.name;
        if (!place.caption) continue;
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) caption = button->text();
        if (auto* group = qobject_cast<QGroupBox*>(widget)) caption = group->title();
        EXPECT_EQ(caption, QString::fromUtf8(place.caption)) << place.name;
    }
    EXPECT_FALSE(child<QLabel>(window, "画板1")->isVisible());
    EXPECT_EQ(child<QWidget>(window, "超级列表框1")->parentWidget()->objectName(),
              QStringLiteral("分组框1"));
    EXPECT_FALSE(child<QCheckBox>(window, "选择框_默认目标目录")->isChecked());
    EXPECT_EQ(window->list()->iconSize(), QSize(192, 108));

    const CommandContext& own = window->context();
    EXPECT_EQ(own.window.progress, ProgressVariant::ResultBoxOnly);
    EXPECT_EQ(own.window.list, window->list());
    EXPECT_NE(own.window.resultBox, main->context().window.resultBox);
    EXPECT_EQ(own.window.progressBox, nullptr);
    EXPECT_NE(own.services.host, main->context().services.host);
    EXPECT_EQ(own.settings.workshopFolder, main->context().settings.workshopFolder);
}

TEST_F(PictureWindowTest, SeventySixPickedRowsOpenTheWindowSeventySevenDoNot) {
    open(77, [] {
        std::vector<int> all;
        for (int n = 1; n <= 77; ++n) all.push_back(n);
        return all;
    }());
    const std::string usage = main->context().window.resultBox->text();
    fillFromMain(1, 0);
    EXPECT_FALSE(pictureWindow());
    EXPECT_EQ(main->context().window.progressBox->text(), "请选择至少一项进行操作。");
    EXPECT_EQ(main->context().window.resultBox->text(),
              usage + "\r\n正在统计数据...\r\n请选择至少一项进行操作。");

    fillFromMain(1, 76);
    PictureWindow* window = pictureWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->list()->rowCount(), 76);
    EXPECT_EQ(pictureResults(), "正在生成预览图，请稍等...\r\n预览图生成完毕...");
    EXPECT_TRUE(main->context().window.resultBox->text().ends_with(
        "\r\n正在统计数据...\r\n正在生成预览图...\r\n预览图生成完毕..."));
    EXPECT_EQ(main->context().window.progressBox->text(), "预览图生成完毕...");
    EXPECT_TRUE(dialogs.asked.empty());

    window->list()->setPicked(3, true);
    fillFromMain(1, 77);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text,
              "图片预览方式一次最多显示76张图片，您当前已经选择了77个MOD，请重新选择。");
    EXPECT_EQ(dialogs.asked[0].title, "信息：");
    EXPECT_EQ(pictureWindow(), window);
    EXPECT_EQ(window->list()->rowCount(), 76);
    EXPECT_TRUE(window->list()->isPicked(3));
    EXPECT_EQ(pictureResults(), "正在生成预览图，请稍等...\r\n预览图生成完毕...");
}

// EditWindow's picked rows, in the order its list shows them; each entry shows its own item.
TEST_F(PictureWindowTest, RowsWithoutPicturesAreLeftOutAndEachEntryShowsItsOwnPicture) {
    open(6, {1, 2, 4, 6});
    QTest::mouseClick(child<QPushButton>(main.get(), "按钮_新窗口"), Qt::LeftButton);
    EditWindow* edit = main->editWindow();
    ASSERT_TRUE(edit);
    edit->list()->reorderRows({5, 4, 3, 2, 1, 0});
    fill(edit, edit->list(), 1, 5);  // 806 to 802
    PictureListView* list = pictureWindow()->list();
    ASSERT_EQ(captions(list), (std::vector<std::string>{"806", "804", "802"}));
    const int items[] = {6, 4, 2};
    for (int row = 0; row < 3; ++row) {
        const QImage shown = thumbnail(list, row);
        EXPECT_EQ(shown.size(), QSize(192, 108));
        EXPECT_EQ(shown, MakeThumbnail(picture(items[row]))) << row;
        EXPECT_NE(shown.pixel(96, 20), qRgb(255, 255, 255)) << row;
        EXPECT_NE(shown, thumbnail(list, (row + 1) % 3)) << row;
    }
    EXPECT_TRUE(edit->context().window.resultBox->text().ends_with(
        "\r\n正在统计数据...\r\n正在生成预览图...\r\n预览图生成完毕..."));
}

TEST_F(PictureWindowTest, ASecondFillReplacesThePicturesAndTheirPickMarks) {
    open(5, {1, 2, 3, 4, 5});
    fillFromMain(1, 3);
    PictureWindow* window = pictureWindow();
    click("按钮_全选");
    EXPECT_TRUE(window->list()->isPicked(2));
    const std::string before = pictureResults();
    EXPECT_TRUE(before.ends_with("\r\n已选择MOD个数：3"));

    fillFromMain(4, 5);
    EXPECT_EQ(pictureWindow(), window);
    EXPECT_EQ(captions(window->list()), (std::vector<std::string>{"804", "805"}));
    EXPECT_FALSE(window->list()->isPicked(0) || window->list()->isPicked(1));
    EXPECT_EQ(thumbnail(window->list(), 0), MakeThumbnail(picture(4)));
    EXPECT_EQ(pictureResults(), before + "正在生成预览图，请稍等...\r\n预览图生成完毕...");
}

TEST_F(PictureWindowTest, ChoosingReportsThisChoiceAndEveryPickInListOrder) {
    open(8, {1, 2, 3, 4, 5, 6, 7, 8});
    fillFromMain(1, 8);
    PictureListView* list = pictureWindow()->list();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pictureWindow()));
    // Picks by a click on each picture's check box, in its top left corner.
    for (int row : {0, 3, 7}) {
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        const QPoint box(cell.left() + (cell.width() - 192) / 2 + 10, cell.top() + 14);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box);
        EXPECT_TRUE(list->isPicked(row)) << row;
    }
    list->setHighlighted(1, true);
    list->setHighlighted(5, true);
    click("按钮_选择");
    EXPECT_TRUE(
        pictureResults().ends_with("\r\n\r\n本次选择MOD个数：2\r\n当前共选择MOD个数：5"
                                   "\r\n编号是：801，802，804，806，808"))
        << pictureResults();
    EXPECT_TRUE(list->hasFocus());

    const std::string chosen = pictureResults();
    click("按钮_取消选择");
    for (int row = 0; row < 8; ++row) EXPECT_FALSE(list->isPicked(row)) << row;
    EXPECT_EQ(pictureResults(), chosen);
}

TEST_F(PictureWindowTest, RemovingPicturesTakesThemOutOfTheViewOnly) {
    open(3, {1, 2, 3});
    fillFromMain(1, 3);
    PictureListView* list = pictureWindow()->list();
    click("按钮_删除");  // nothing is current
    EXPECT_EQ(list->rowCount(), 3);
    list->setCurrentRow(1);
    click("按钮_删除");
    EXPECT_EQ(captions(list), (std::vector<std::string>{"801", "803"}));
    EXPECT_EQ(thumbnail(list, 1), MakeThumbnail(picture(3)));
    click("按钮_全部删除");
    EXPECT_EQ(list->rowCount(), 0);
    click("按钮_全选");
    EXPECT_TRUE(pictureResults().ends_with("\r\n已选择MOD个数：0"));
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(PathExists(picture(n))) << n;
    EXPECT_EQ(main->list()->rowCount(), 3);
    EXPECT_TRUE(main->list()->isPicked(1));
}

TEST_F(PictureWindowTest, ADoubleClickOpensTheItemsFolder) {
    open(3, {1, 2, 3});
    fillFromMain(1, 3);
    PictureListView* list = pictureWindow()->list();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pictureWindow()));
    const QPoint centre = list->visualRect(list->model()->index(2, 0)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], JoinPath(workshop, "803"));
}

// The copy button is given back only when the window thread has run the copy's end, so the
// copy counts as running until events run.
TEST_F(PictureWindowTest, ClosingDuringItsCopyAsksAndYesEndsTheCopy) {
    open(2, {1, 2});
    dir.write("workshop/801/data.bin", std::string(100000, 'x'));
    const std::string target = dir.makeFolder("target");
    fillFromMain(1, 2);
    QPointer<PictureWindow> window = pictureWindow();
    child<QLineEdit>(window, "编辑框_目标目录")->setText(QString::fromStdString(target));
    child<QCheckBox>(window, "选择框_默认目标目录")->setChecked(true);
    click("按钮_全选");
    auto* copy = child<QPushButton>(window, "按钮_复制到");

    dialogs.answers = {true, false};  // copy: OK; close: No
    click("按钮_复制到");
    EXPECT_FALSE(copy->isEnabled());
    EXPECT_FALSE(window->close());
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1].text, "正在复制文件中，是否强制关闭？");
    EXPECT_EQ(dialogs.asked[1].kind, "yesno");
    EXPECT_TRUE(QTest::qWaitFor([&] { return copy->isEnabled(); }, 10000));
    EXPECT_TRUE(window->isVisible());
    EXPECT_NE(pictureResults().find("\r\n复制完毕！成功复制文件3个，失败：0个。"),
              std::string::npos)
        << pictureResults();
    EXPECT_EQ(ReadWholeFile(JoinPath(target, "801/data.bin")).value_or(""),
              std::string(100000, 'x'));

    dialogs.answers = {true, true};  // copy: OK; close: Yes
    click("按钮_复制到");
    EXPECT_TRUE(window->close());
    test::SettleEvents();
    EXPECT_FALSE(window);
    EXPECT_EQ(dialogs.asked.size(), 4u);
    EXPECT_TRUE(main->isVisible());
}

TEST_F(PictureWindowTest, MainWindowTakesThePictureWindowAlongWithoutAsking) {
    open(1, {1});
    fillFromMain(1, 1);
    QPointer<PictureWindow> window = pictureWindow();
    child<QPushButton>(window, "按钮_复制到")->setEnabled(false);  // as while a copy runs
    EXPECT_TRUE(main->close());
    EXPECT_FALSE(window);
    EXPECT_TRUE(dialogs.asked.empty());
}

// The window is not destroyed under a fill that writes into it: the fill ends at its next
// picture, and the window closes then.
TEST_F(PictureWindowTest, ClosingDuringAFillEndsItAtTheNextPicture) {
    open(5, {1, 2, 3, 4, 5});
    fillFromMain(1, 1);
    QPointer<PictureWindow> window = pictureWindow();
    // Pump 1 comes before the pictures; pump n + 1 is picture n's.
    pump.runs.clear();
    pump.onRun = [&] {
        if (pump.runs.size() == 3) window->close();
    };
    fillFromMain(1, 5);
    ASSERT_TRUE(window) << "the window went while the fill ran";
    EXPECT_EQ(captions(window->list()), (std::vector<std::string>{"801", "802"}));
    test::SettleEvents();
    EXPECT_FALSE(window);
    EXPECT_TRUE(main->isVisible());
}

// EditWindow's two full-picture buttons run their commands on its own list.
TEST_F(PictureWindowTest, EditWindowsFullPictureButtonsWorkOnItsPickedRows) {
    open(3, {});
    dir.write("workshop/801/801_pic1.jpg", "picture");
    QTest::mouseClick(child<QPushButton>(main.get(), "按钮_新窗口"), Qt::LeftButton);
    EditWindow* edit = main->editWindow();
    ASSERT_TRUE(edit);
    QTest::mouseClick(child<QPushButton>(edit, "按钮_全选"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(edit, "按钮_全图检测"), Qt::LeftButton);
    EXPECT_TRUE(edit->context().window.resultBox->text().ends_with(
        "\r\n已检测完毕，共有2个MOD未下载网页全图。\r\n序号是：2，3\r\n编码是：802，803"));
    EXPECT_EQ(edit->list()->highlightedRows(), (std::vector<int>{1, 2}));

    const std::string before = edit->context().window.resultBox->text();
    dialogs.answers = {false};
    QTest::mouseClick(child<QPushButton>(edit, "按钮_下载全图"), Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_NE(dialogs.asked[0].text.find("*_pic*.jpg文件到相应目录"), std::string::npos);
    EXPECT_EQ(edit->context().window.resultBox->text(), before);
}

}  // namespace
}  // namespace kestavel
