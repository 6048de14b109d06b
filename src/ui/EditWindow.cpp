#include "ui/EditWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>

#include "app/HourWindow.h"
#include "catalogue/EditList.h"
#include "catalogue/ListNavigation.h"
#include "catalogue/PickMarks.h"
#include "find/AuthorSearch.h"
#include "find/ColumnSort.h"
#include "find/EditFind.h"
#include "find/FindControls.h"
#include "pages/CategoryCommand.h"
#include "pages/PageRefresh.h"
#include "pictures/FullPictureCommands.h"
#include "pictures/PreviewCommands.h"
#include "ui/EditWindowTexts.h"
#include "ui/ItemListView.h"
#include "ui/JumpBox.h"
#include "ui/ProgressLineBox.h"
#include "ui/QtControls.h"
#include "ui/QtText.h"
#include "ui/QtTextBoxes.h"
#include "ui/SortWindow.h"
#include "ui/WidgetPlacing.h"
#include "ui/WindowClose.h"
#include "ui/WindowCopy.h"

namespace kestavel {
namespace {

std::vector<ItemTableModel::Column> EditColumns() {
    const std::pair<const char*, int> columns[] = {
        {"1.序号", 50},       {"2.编码", 80},      {"3.名称", 150},      {"4.作者", 120},
        {"5.是否失效", 80},   {"6.主分类", 120},   {"7.明细分类1", 150}, {"8.明细分类2", 150},
        {"9.明细分类3", 150}, {"10.更新日期", 160}};
    std::vector<ItemTableModel::Column> result;
    for (const auto& [title, width] : columns) result.push_back({QString::fromUtf8(title), width});
    return result;
}

QString TipText(const char* text) {
    return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                    int h) {
    return Place(new QRadioButton(QString::fromUtf8(caption), parent), name, x, y, w, h);
}

}  // namespace

EditWindow::EditWindow(const Links& links)
    : host_(links.mainHost),
      sortState_(*links.sortState),
      endProgram_(links.endProgram),
      openPictureWindow_(links.openPictureWindow) {
    setObjectName(QStringLiteral("EditWindow"));
    setWindowTitle(QStringLiteral("Kestavel - 编辑窗口"));
    setAttribute(Qt::WA_DeleteOnClose);
    host_.onIdle([this] {
        if (closing_) QTimer::singleShot(0, this, [this] { close(); });
    });
    buildControls();
    bindContext(links);
    copy_ = std::make_unique<WindowCopy>(
        WindowCopy::Controls{CopyVariant::Edit, this, *list_, *context_.settings.workshopFolder,
                             *context_.window.resultBox, bar1_, bar2_, copyButton_,
                             *context_.services.dialogs, context_.window.progressBox});
    connect(copyButton_, &QPushButton::clicked, this, [this] { copy_->start(); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { copy_->askToStop(); });
    move(50, 50);
    resize(998, 619);
}

EditWindow::~EditWindow() = default;

void EditWindow::buildControls() {
    QGroupBox* frame = Group(this, "分组框_编辑", "编辑选项", 8, 8, 976, 576);

    QGroupBox* refresh = Group(frame, "分组框1", "1", 8, 24, 136, 176);
    leastHours_ = Place(new NumberBox(refresh), "编辑框_最少时间", 16, 20, 64, 20);
    Label(refresh, "标签1", "小时外", 88, 22, 40, 16);
    mostHours_ = Place(new NumberBox(refresh), "编辑框_最多时间", 16, 44, 64, 20);
    Label(refresh, "标签2", "小时内", 88, 46, 40, 16);
    connect(Button(refresh, "按钮_更新文档", "更新网页文档", 16, 72, 104, 24),
            &QPushButton::clicked, this, [this] { RefreshPages(context_); });
    connect(Button(refresh, "按钮_更新图片", "更新预览图片", 16, 104, 104, 24),
            &QPushButton::clicked, this, [this] { PreviewRefresh(context_); });
    connect(Button(refresh, "按钮_下载全图", "下载网页全图", 16, 136, 104, 24),
            &QPushButton::clicked, this, [this] { FullPictureDownload(context_); });
    Label(refresh, "标签3", "?", 119, 8, 14, 16)->setToolTip(TipText(kHourWindowTip));
    connect(mostHours_, &NumberBox::focusLost, this, [this] {
        auto raised = RaisedUpperBound(ToUtf8(leastHours_->text()), ToUtf8(mostHours_->text()));
        if (raised) mostHours_->setText(ToQString(*raised));
    });

    QGroupBox* picks = Group(frame, "分组框3", "2", 152, 24, 112, 176);
    connect(Button(picks, "按钮_全选", "全部选择", 16, 16, 80, 24), &QPushButton::clicked, this,
            [this] { PickAllRows(context_); });
    connect(Button(picks, "按钮_选择", "选择", 16, 48, 80, 24), &QPushButton::clicked, this,
            [this] { PickHighlightedRows(context_); });
    connect(Button(picks, "按钮_取消选择", "取消选择", 16, 80, 80, 24), &QPushButton::clicked, this,
            [this] { ClearPickMarks(*context_.window.list); });
    jumpBox_ = Place(new JumpBox(picks), "编辑框_跳转", 16, 112, 56, 24);
    Label(picks, "标签4", "Go", 72, 112, 24, 24);
    auto* pictureCheck = Button(picks, "按钮_全图检测", "全图检测", 16, 144, 80, 24);
    pictureCheck->setToolTip(TipText(kPictureCheckTip));
    connect(pictureCheck, &QPushButton::clicked, this, [this] { FullPictureCheck(context_); });

    QGroupBox* results = Group(frame, "分组框2", "3", 272, 24, 248, 176);
    resultBox_ = Place(new QPlainTextEdit(results), "编辑框_查找结果", 8, 20, 232, 148);
    resultBox_->setPlainText(QStringLiteral("本窗口为信息显示窗口，欢迎使用！"));

    QGroupBox* options = Group(frame, "分组框4", "4", 528, 24, 96, 176);
    showProgress_ = Check(options, "选择框_进度显示", "进度显示", 8, 16, 72, 24);
    fuzzySearch_ = Check(options, "选择框_模糊查找", "模糊查找", 8, 40, 80, 24);
    keepBackup_ = Check(options, "选择框_备份预览图", "备份预览图", 8, 72, 80, 16);
    copyButton_ = Button(options, "按钮_复制到", "复制", 8, 104, 80, 64);
    copyButton_->setToolTip(TipText(kCopyTip));

    QGroupBox* views = Group(frame, "分组框5", "5", 632, 24, 128, 176);
    connect(Button(views, "按钮_提取分类", "提取分类及时间", 16, 16, 96, 24), &QPushButton::clicked,
            this, [this] {
                if (!ExtractCategoriesAndDates(context_)) endProgram_();
            });
    connect(Button(views, "按钮_多列排序", "选择多列排序", 16, 48, 96, 24), &QPushButton::clicked,
            this, [this] { (new SortWindow(*list_, sortState_))->show(); });
    connect(Button(views, "按钮_选择显示", "显示选择项目", 16, 80, 96, 24), &QPushButton::clicked,
            this, [this] { KeepPickedRows(*context_.window.list); });
    connect(Button(views, "按钮_全部显示", "显示全部项目", 16, 112, 96, 24), &QPushButton::clicked,
            this, [this] {
                if (!ShowAllRows(context_)) endProgram_();
            });
    connect(Button(views, "按钮_图片选择", "图片选择", 16, 144, 96, 24), &QPushButton::clicked,
            this, [this] { PictureFill(context_, openPictureWindow_); });

    QGroupBox* finds = Group(frame, "分组框6", "6", 768, 24, 200, 176);
    searchBox_ = Place(new QLineEdit(finds), "编辑框_查找条件", 8, 16, 184, 24);
    Radio(finds, "单选框_主分类", "主分类", 24, 48, 56, 16)->setChecked(true);
    detail1_ = std::make_unique<QtCheckBox>(Radio(finds, "单选框_分类1", "分类1", 120, 48, 64, 16));
    detail2_ = std::make_unique<QtCheckBox>(Radio(finds, "单选框_分类2", "分类2", 24, 64, 64, 16));
    detail3_ = std::make_unique<QtCheckBox>(Radio(finds, "单选框_分类3", "分类3", 120, 64, 56, 16));
    const std::pair<QPushButton*, EditFindColumn> columnFinds[] = {
        {Button(finds, "按钮_查找编码", "按编码查找", 8, 80, 88, 24), kFindByCode},
        {Button(finds, "按钮_查找作者", "按作者查找", 104, 80, 88, 24), kFindByAuthor},
        {Button(finds, "按钮_查找名称", "按名称查找", 8, 112, 88, 24), kFindByName},
    };
    for (const auto& [button, column] : columnFinds) {
        connect(button, &QPushButton::clicked, this, [this, column] {
            EditFind(FindControlsOf(context_), *context_.window.searchCondition, column);
        });
    }
    connect(Button(finds, "按钮_查找分类", "按分类查找", 104, 112, 88, 24), &QPushButton::clicked,
            this, [this] {
                // The radio buttons are read once, before the scan.
                const EditFindColumn column = CategoryFind({*detail1_, *detail2_, *detail3_});
                EditFind(FindControlsOf(context_), *context_.window.searchCondition, column);
            });
    connect(Button(finds, "按钮_选中作者查作品", "按选定的作者查作品", 8, 144, 184, 24),
            &QPushButton::clicked, this,
            [this] { SelectedAuthorsSearch(FindControlsOf(context_)); });

    for (QGroupBox* group : {refresh, picks, views, finds}) {
        for (QPushButton* button : group->findChildren<QPushButton*>()) {
            commandButtons_.push_back(button);
        }
    }

    progressBox_ = Place(new QLineEdit(frame), "编辑框_复制框", 8, 208, 616, 16);
    progressBox_->setReadOnly(true);
    bar1_ = Place(new QProgressBar(frame), "进度条1", 632, 208, 208, 16);
    bar2_ = Place(new QProgressBar(frame), "进度条2", 848, 208, 120, 16);

    list_ = Place(new ItemListView(EditColumns(), frame), "超级列表框1", 8, 232, 960, 336);
    connect(list_, &ItemListView::currentRowChanged, this,
            [this] { ShowEditRowInMainWindow(context_); });
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        HeaderClick(sortState_, *list_, *context_.window.progressBox, column);
    });
    connect(list_, &QAbstractItemView::doubleClicked, this,
            [this] { OpenCurrentItemFolder(context_); });
    connect(jumpBox_, &QLineEdit::returnPressed, this, [this] {
        if (!JumpToTypedRow(context_, kEditPageLength)) return;
        jumpBox_->setFocus(Qt::OtherFocusReason);
        jumpBox_->selectAll();
    });
}

void EditWindow::bindContext(const Links& links) {
    auto keep = [this](TextBox* box) {
        textBoxes_.emplace_back(box);
        return box;
    };
    auto keepCheck = [this](CheckBox* box) {
        checkBoxes_.emplace_back(box);
        return box;
    };
    context_.runDirectory = links.runDirectory;
    context_.window.progress = ProgressVariant::AlwaysShown;
    context_.window.list = list_;
    context_.window.progressBox = keep(new ProgressLineBox(progressBox_));
    context_.window.resultBox = keep(new PlainTextBox(resultBox_));
    context_.window.jumpBox = keep(new LineEditBox(jumpBox_));
    auto* searchCondition = new LineInputBox(searchBox_);
    keep(searchCondition);
    context_.window.searchCondition = searchCondition;
    context_.window.fuzzySearch = keepCheck(new QtCheckBox(fuzzySearch_));
    context_.window.showProgress = keepCheck(new QtCheckBox(showProgress_));
    context_.window.leastHours = keep(new LineEditBox(leastHours_));
    context_.window.mostHours = keep(new LineEditBox(mostHours_));
    context_.window.keepPreviewBackup = keepCheck(new QtCheckBox(keepBackup_));

    context_.settings = links.settings;
    context_.itemView = links.itemView;
    context_.services.dialogs = links.services.dialogs;
    context_.services.pump = links.services.pump;
    context_.services.shell = links.services.shell;
    context_.services.busy = links.busy;
    context_.services.http = links.services.httpOptions;
    context_.services.host = &host_;
}

void EditWindow::setCommandsEnabled(bool enabled) {
    for (QPushButton* button : commandButtons_) button->setEnabled(enabled);
}

void EditWindow::closeEvent(QCloseEvent* event) {
    if (!MayCloseNow(host_, *copy_, closing_)) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace kestavel
