#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/QtPrinting.h"
#include "support/TempDir.h"
#include "ui/ItemListView.h"
#include "ui/QtText.h"
#include "ui/UsageText.h"

namespace kestavel {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakeEmptyCatalogue(dir.file("DEVodu.edb"));
        dir.write("VODarer.txt", "/steam/255710\nhttps://p/?id=\n");
    }
    std::unique_ptr<MainWindow> create() {
        return MainWindow::create(dir.path(), {&dialogs, &pump, &shell});
    }
    template <typename W>
    W* child(const MainWindow& window, const char* name) {
        W* found = window.findChild<W*>(QString::fromUtf8(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingPump pump;
    test::RecordingShell shell;
};

TEST_F(MainWindowTest, OpensOnAnEmptyCatalogueInItsFirstState) {
    auto window = create();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kestavel（Wrenfold V1.82） - 主窗口"));
    EXPECT_EQ(window->geometry().size(), QSize(1004, 834));
    EXPECT_EQ(child<QLineEdit>(*window, "编辑框_创意工坊位置")->text(),
              QStringLiteral("/steam/255710"));
    EXPECT_EQ(child<QLineEdit>(*window, "编辑框_创意工坊页面")->text(),
              QStringLiteral("https://p/?id="));
    EXPECT_EQ(window->context().window.resultBox->text(), kUsageText);
    EXPECT_EQ(window->context().itemView.description->text(), "本窗口为MOD信息窗口，欢迎使用！");
    EXPECT_TRUE(child<QLabel>(*window, "图片框_预览图")->pixmap().isNull());
    EXPECT_TRUE(child<QLabel>(*window, "超级链接框_无预览图")->isHidden());
    EXPECT_TRUE(child<QLineEdit>(*window, "编辑框_复制框")->isHidden());
    EXPECT_EQ(child<QGroupBox>(*window, "分组框_预览图")->title(), QStringLiteral("预览图"));
    EXPECT_TRUE(child<QCheckBox>(*window, "选择框_模糊查找")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(*window, "选择框_进度显示")->isChecked());
    auto* items = child<QComboBox>(*window, "组合框_查找项目");
    ASSERT_EQ(items->count(), 6);
    EXPECT_EQ(items->itemText(4), QStringLiteral("是否失效"));
    EXPECT_EQ(window->list()->rowCount(), 0);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(MainWindowTest, PlacesEveryControlWhereItBelongs) {
    auto window = create();
    ASSERT_TRUE(window);
    struct Place {
        const char* name;
        const char* caption;  // nullptr: not a captioned control
        QRect rect;
    };
    const Place places[] = {
        {"分组框_基本信息", "基本信息", {16, 16, 584, 224}},
        {"标签1", "创意工坊MOD文件位置", {8, 24, 120, 16}},
        {"编辑框_创意工坊位置", nullptr, {128, 16, 312, 24}},
        {"按钮_浏览创意工坊位置", "打开位置", {448, 16, 72, 24}},
        {"按钮_备份", "备份", {528, 16, 48, 24}},
        {"标签2", "创意工坊访问页面前缀", {8, 56, 120, 16}},
        {"编辑框_创意工坊页面", nullptr, {136, 48, 304, 24}},
        {"按钮_图片选择", "图片选择", {448, 48, 72, 24}},
        {"按钮_恢复", "恢复", {528, 48, 48, 24}},
        {"编辑框_MOD信息", nullptr, {8, 80, 336, 136}},
        {"编辑框_查找结果", nullptr, {352, 80, 224, 136}},
        {"分组框_预览图", "预览图", {616, 16, 368, 224}},
        {"图片框_预览图", nullptr, {8, 16, 352, 200}},
        {"超级链接框_无预览图", "无预览图！", {103, 71, 160, 48}},
        {"分组框_索引编排", "索引编排", {16, 256, 968, 536}},
        {"按钮_新建索引", "新建索引", {16, 24, 96, 24}},
        {"按钮_追加索引", "追加索引", {120, 24, 96, 24}},
        {"按钮_下载网页源码", "下载网页文档", {224, 24, 96, 24}},
        {"按钮_导入说明", "获取MOD信息", {328, 24, 96, 24}},
        {"按钮_获取预览图信息", "获取预览图地址", {432, 24, 96, 24}},
        {"按钮_下载预览图", "下载预览图片", {536, 24, 96, 24}},
        {"按钮_全部选择", "全部选择", {640, 24, 96, 24}},
        {"按钮_选择", "选择", {744, 24, 96, 24}},
        {"按钮_取消选择", "取消选择", {856, 24, 96, 24}},
        {"分组框_操作控制", "Go!", {16, 56, 936, 48}},
        {"组合框_查找项目", nullptr, {8, 18, 80, 29}},
        {"编辑框_查找条件", nullptr, {96, 16, 168, 24}},
        {"选择框_模糊查找", "模糊查找", {272, 16, 80, 24}},
        {"选择框_进度显示", "进度显示", {344, 16, 72, 24}},
        {"按钮_文本输入查找", "文本输入查找", {416, 16, 96, 24}},
        {"按钮_选中作者查作品", "选中作者查作品", {520, 16, 96, 24}},
        {"按钮_复制到", "复制到", {624, 16, 96, 24}},
        {"编辑框_跳转", nullptr, {728, 16, 64, 24}},
        {"按钮_跳转", "Go", {792, 16, 24, 24}},
        {"按钮_生成列表", "生成MOD列表", {816, 16, 96, 24}},
        {"按钮_新窗口", ">", {912, 16, 16, 24}},
        {"编辑框_复制框", nullptr, {184, 48, 600, 22}},
        {"进度条2", nullptr, {184, 136, 600, 24}},
        {"进度条1", nullptr, {184, 168, 600, 24}},
        {"超级列表框1", nullptr, {16, 112, 936, 408}},
    };
    for (const Place& place : places) {
        auto* widget = child<QWidget>(*window, place.name);
        if (!widget) continue;
        EXPECT_EQ(widget->geometry(), place.rect) << place.name;
        if (!place.caption) continue;
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) caption = button->text();
        if (auto* label = qobject_cast<QLabel*>(widget)) caption = label->text();
        if (auto* group = qobject_cast<QGroupBox*>(widget)) caption = group->title();
        EXPECT_EQ(caption, QString::fromUtf8(place.caption)) << place.name;
    }
}

TEST_F(MainWindowTest, TheListMirrorHasNineteenLeftAlignedColumns) {
    auto window = create();
    ASSERT_TRUE(window);
    const int widths[] = {64,  96,  448, 192, 640, 60,  800, 800, 800, 800,
                          800, 800, 800, 800, 80,  160, 160, 160, 160};
    const char* titles[] = {"序号",      "编码",      "名称",      "作者",    "图片地址",
                            "是否失效",  "描述1",     "描述2",     "描述3",   "描述4",
                            "描述5",     "描述6",     "描述7",     "描述8",   "主分类",
                            "明细分类1", "明细分类2", "明细分类3", "更新日期"};
    ItemListView* list = window->list();
    ASSERT_EQ(list->model()->columnCount(), 19);
    for (int c = 0; c < 19; ++c) {
        EXPECT_EQ(list->columnWidth(c), widths[c]) << c;
        EXPECT_EQ(list->model()->headerData(c, Qt::Horizontal).toString(),
                  QString::fromUtf8(titles[c]));
        EXPECT_EQ(list->model()->headerData(c, Qt::Horizontal, Qt::DecorationRole), QVariant());
    }
}

TEST_F(MainWindowTest, TheBusyStateTogglesExactlyTheTwelveCommandControls) {
    auto window = create();
    ASSERT_TRUE(window);
    const std::set<QString> busyNames = {
        QStringLiteral("按钮_浏览创意工坊位置"), QStringLiteral("编辑框_创意工坊页面"),
        QStringLiteral("按钮_新建索引"),         QStringLiteral("按钮_追加索引"),
        QStringLiteral("按钮_下载网页源码"),     QStringLiteral("按钮_导入说明"),
        QStringLiteral("按钮_获取预览图信息"),   QStringLiteral("按钮_下载预览图"),
        QStringLiteral("编辑框_跳转"),           QStringLiteral("按钮_跳转"),
        QStringLiteral("超级列表框1"),           QStringLiteral("按钮_新窗口")};
    const auto controls = window->findChildren<QWidget*>(QString(), Qt::FindChildrenRecursively);
    auto disabledNames = [&] {
        std::set<QString> names;
        for (QWidget* control : controls) {
            // Qt's own inner widgets (named qt_…) follow their parent control.
            const QString name = control->objectName();
            if (!name.isEmpty() && !name.startsWith(QStringLiteral("qt_")) &&
                !control->isEnabled()) {
                names.insert(name);
            }
        }
        return names;
    };
    EXPECT_TRUE(disabledNames().empty());
    window->enter();
    window->enter();
    EXPECT_EQ(disabledNames(), busyNames);
    window->leave();
    EXPECT_TRUE(disabledNames().empty());
}

TEST_F(MainWindowTest, MissingFilesGiveNoWindow) {
    test::TempDir empty;
    auto window = MainWindow::create(empty.path(), {&dialogs, &pump, &shell});
    EXPECT_FALSE(window);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "DEVodu.edb文件不存在，现在将退出！");
}

TEST_F(MainWindowTest, ShowsTheCatalogueItStartsWith) {
    test::RunSql(dir.file("DEVodu.edb"),
                 "INSERT INTO ModCatalogue (\"序号\", \"编码\", \"名称\", \"是否失效\", "
                 "\"更新日期\") VALUES "
                 "(1, x'313131', x'B5C0C2B7', 1, '2015-10-03 14:05:00')");
    auto window = create();
    ASSERT_TRUE(window);
    auto* model = window->list()->model();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 2).data().toString(), QStringLiteral("道路"));
    EXPECT_EQ(model->index(0, 5).data().toString(), QStringLiteral("真"));
    EXPECT_EQ(model->index(0, 18).data().toString(), QStringLiteral("2015年10月3日14时5分"));
    EXPECT_EQ(model->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(MainWindowTest, ClosingAsksOnlyWhileACopyRuns) {
    auto window = create();
    ASSERT_TRUE(window);
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(dialogs.asked.empty());
    window.reset();  // releases the run folder for the next program

    auto copying = create();
    ASSERT_TRUE(copying);
    copying->show();
    child<QPushButton>(*copying, "按钮_复制到")->setEnabled(false);
    dialogs.answers = {false, true};
    EXPECT_FALSE(copying->close());
    EXPECT_TRUE(copying->isVisible());
    EXPECT_TRUE(copying->close());
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].text, "正在复制文件中，是否强制关闭？");
    EXPECT_EQ(dialogs.asked[0].kind, "yesno");
}

}  // namespace
}  // namespace kestavel
