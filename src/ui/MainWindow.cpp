#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include "app/CommandFrame.h"
#include "catalogue/EditList.h"
#include "catalogue/IndexBuilding.h"
#include "catalogue/ItemView.h"
#include "catalogue/ListMirror.h"
#include "catalogue/ListNavigation.h"
#include "catalogue/ModRecord.h"
#include "catalogue/PickMarks.h"
#include "catalogue/RunFiles.h"
#include "catalogue/StartUp.h"
#include "find/AuthorSearch.h"
#include "find/ColumnSort.h"
#include "find/MainSearch.h"
#include "output/CatalogueBackup.h"
#include "output/CatalogueRestore.h"
#include "output/ItemListExport.h"
#include "pages/PageCommands.h"
#include "pictures/PictureFill.h"
#include "pictures/PreviewCommands.h"
#include "platform/Clock.h"
#include "ui/DoubleClickLabel.h"
#include "ui/EditWindow.h"
#include "ui/ItemListView.h"
#include "ui/JumpBox.h"
#include "ui/PictureWindow.h"
#include "ui/ProgressLineBox.h"
#include "ui/QtControls.h"
#include "ui/QtText.h"
#include "ui/QtTextBoxes.h"
#include "ui/SearchBox.h"
#include "ui/UsageText.h"
#include "ui/WidgetPlacing.h"
#include "ui/WindowClose.h"
#include "ui/WindowCopy.h"

namespace kestavel {
namespace {

constexpr std::string_view kAlreadyRunningMessage =
    "另一个Kestavel正在使用本目录中的DEVodu.edb，现在将退出！";

// Column widths of the list mirror, in field order.
constexpr int kMirrorWidths[kFieldCount] = {64,  96,  448, 192, 640, 60,  800, 800, 800, 800,
                                            800, 800, 800, 800, 80,  160, 160, 160, 160};

std::vector<ItemTableModel::Column> MirrorColumns() {
    std::vector<ItemTableModel::Column> columns;
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        columns.push_back({ToQString(kFields[i].name), kMirrorWidths[i]});
    }
    return columns;
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::create(const std::string& runDirectory,
                                               WindowServices services) {
    std::unique_ptr<MainWindow> window(new MainWindow(runDirectory, services));
    // Before the catalogue is read: a second program must not touch it at all.
    RunLock::Outcome outcome = RunLock::Outcome::Unavailable;
    window->runLock_ = RunLock::take(runDirectory, &outcome);
    if (outcome == RunLock::Outcome::HeldElsewhere) {
        services.dialogs->message(kAlreadyRunningMessage);
        return nullptr;
    }
    if (!PrepareMainWindow(window->context_)) return nullptr;
    return window;
}

MainWindow::MainWindow(const std::string& runDirectory, WindowServices services)
    : services_(services) {
    host_.onIdle([this] {
        // Closed, or restored, from the event loop once the command's handler has returned.
        if (closing_) {
            QTimer::singleShot(0, this, [this] { close(); });
        } else if (restoreWaiting_) {
            restoreWaiting_ = false;
            host_.clearStop();
            QTimer::singleShot(0, this, [this] { restoreCatalogue(); });
        }
    });
    setWindowTitle(QStringLiteral("Kestavel（Wrenfold V1.82） - 主窗口"));
    setObjectName(QStringLiteral("MainWindow"));
    buildControls();
    bindContext();
    context_.runDirectory = runDirectory;
    copy_ = std::make_unique<WindowCopy>(
        WindowCopy::Controls{CopyVariant::Main, this, *list_, *context_.settings.workshopFolder,
                             *context_.window.resultBox, bar1_, bar2_, copyButton_,
                             *services_.dialogs, context_.window.progressBox});
    connect(copyButton_, &QPushButton::clicked, this, [this] { copy_->start(); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { copy_->askToStop(); });
    move(50, 50);
    resize(1004, 834);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    QGroupBox* basic = Group(this, "分组框_基本信息", "基本信息", 16, 16, 584, 224);
    Label(basic, "标签1", "创意工坊MOD文件位置", 8, 24, 120, 16);
    workshopFolder_ = Place(new QLineEdit(basic), "编辑框_创意工坊位置", 128, 16, 312, 24);
    auto* browse = Button(basic, "按钮_浏览创意工坊位置", "打开位置", 448, 16, 72, 24);
    connect(browse, &QPushButton::clicked, this, [this] { BrowseWorkshopFolder(context_); });
    connect(Button(basic, "按钮_备份", "备份", 528, 16, 48, 24), &QPushButton::clicked, this,
            [this] {
                CatalogueBackup(context_.runDirectory, *services_.dialogs,
                                *context_.window.resultBox, NowLocal());
            });
    Label(basic, "标签2", "创意工坊访问页面前缀", 8, 56, 120, 16);
    pagePrefix_ = Place(new QLineEdit(basic), "编辑框_创意工坊页面", 136, 48, 304, 24);
    connect(Button(basic, "按钮_图片选择", "图片选择", 448, 48, 72, 24), &QPushButton::clicked,
            this, [this] {
                PictureFill(context_, [this]() -> PictureView& { return openPictureWindow(); });
            });
    connect(Button(basic, "按钮_恢复", "恢复", 528, 48, 48, 24), &QPushButton::clicked, this,
            [this] { restoreCatalogue(); });
    description_ = Place(new QPlainTextEdit(basic), "编辑框_MOD信息", 8, 80, 336, 136);
    description_->setPlainText(QStringLiteral("本窗口为MOD信息窗口，欢迎使用！"));
    resultBox_ = Place(new QPlainTextEdit(basic), "编辑框_查找结果", 352, 80, 224, 136);
    resultBox_->setPlainText(
        ToQString(kUsageText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    previewGroup_ = Group(this, "分组框_预览图", "预览图", 616, 16, 368, 224);
    previewLabel_ = Place(new DoubleClickLabel(previewGroup_), "图片框_预览图", 8, 16, 352, 200);
    previewLabel_->setAlignment(Qt::AlignCenter);
    noPreview_ = Place(new DoubleClickLabel(QStringLiteral("无预览图！"), previewLabel_),
                       "超级链接框_无预览图", 103, 71, 160, 48);
    for (DoubleClickLabel* preview : {previewLabel_, noPreview_}) {
        connect(preview, &DoubleClickLabel::doubleClicked, this,
                [this] { ScrollToShownItem(context_, kMainPageLength); });
    }
    noPreview_->setAlignment(Qt::AlignCenter);
    noPreview_->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    noPreview_->setCursor(Qt::PointingHandCursor);
    noPreview_->hide();

    QGroupBox* index = Group(this, "分组框_索引编排", "索引编排", 16, 256, 968, 536);
    auto* newIndex = Button(index, "按钮_新建索引", "新建索引", 16, 24, 96, 24);
    auto* appendIndex = Button(index, "按钮_追加索引", "追加索引", 120, 24, 96, 24);
    auto* download = Button(index, "按钮_下载网页源码", "下载网页文档", 224, 24, 96, 24);
    auto* information = Button(index, "按钮_导入说明", "获取MOD信息", 328, 24, 96, 24);
    auto* addresses = Button(index, "按钮_获取预览图信息", "获取预览图地址", 432, 24, 96, 24);
    auto* previews = Button(index, "按钮_下载预览图", "下载预览图片", 536, 24, 96, 24);
    connect(newIndex, &QPushButton::clicked, this, [this] { BuildNewIndex(context_); });
    connect(download, &QPushButton::clicked, this, [this] { DownloadPages(context_); });
    connect(information, &QPushButton::clicked, this, [this] { ExtractModInformation(context_); });
    connect(addresses, &QPushButton::clicked, this, [this] { ExtractPreviewAddresses(context_); });
    connect(previews, &QPushButton::clicked, this, [this] { PreviewDownload(context_); });
    connect(appendIndex, &QPushButton::clicked, this, [this] { AppendIndex(context_); });
    connect(Button(index, "按钮_全部选择", "全部选择", 640, 24, 96, 24), &QPushButton::clicked,
            this, [this] { PickAllRows(context_); });
    connect(Button(index, "按钮_选择", "选择", 744, 24, 96, 24), &QPushButton::clicked, this,
            [this] { PickHighlightedRows(context_); });
    connect(Button(index, "按钮_取消选择", "取消选择", 856, 24, 96, 24), &QPushButton::clicked,
            this, [this] { UnpickAllRows(context_); });

    QGroupBox* go = Group(index, "分组框_操作控制", "Go!", 16, 56, 936, 48);
    auto* searchItem = Place(new QComboBox(go), "组合框_查找项目", 8, 18, 80, 29);
    for (const char* item : {"序号", "编码", "名称", "作者", "是否失效", "MOD信息"}) {
        searchItem->addItem(QString::fromUtf8(item));
    }
    searchBox_ = Place(new SearchBox(go,
                                     [searchItem](const QString& typed) {
                                         return SearchBoxRefuses(ToUtf8(searchItem->currentText()),
                                                                 ToUtf8(typed));
                                     }),
                       "编辑框_查找条件", 96, 16, 168, 24);
    connect(searchBox_, &QLineEdit::returnPressed, this, [this, searchItem] {
        MainSearch(context_, ToUtf8(searchItem->currentText()), SearchStart::EnterKey);
    });
    fuzzySearchBox_ = Check(go, "选择框_模糊查找", "模糊查找", 272, 16, 80, 24);
    showProgressBox_ = Check(go, "选择框_进度显示", "进度显示", 344, 16, 72, 24);
    connect(Button(go, "按钮_文本输入查找", "文本输入查找", 416, 16, 96, 24), &QPushButton::clicked,
            this, [this, searchItem] {
                MainSearch(context_, ToUtf8(searchItem->currentText()), SearchStart::Button);
            });
    connect(Button(go, "按钮_选中作者查作品", "选中作者查作品", 520, 16, 96, 24),
            &QPushButton::clicked, this, [this] { SelectedAuthorsSearch(context_); });
    copyButton_ = Button(go, "按钮_复制到", "复制到", 624, 16, 96, 24);
    jumpBox_ = Place(new JumpBox(go), "编辑框_跳转", 728, 16, 64, 24);
    auto* jump = Button(go, "按钮_跳转", "Go", 792, 16, 24, 24);
    connect(Button(go, "按钮_生成列表", "生成MOD列表", 816, 16, 96, 24), &QPushButton::clicked,
            this, [this] {
                ItemListExport(context_.runDirectory, context_.settings.workshopFolder->text(),
                               *services_.dialogs, *context_.window.resultBox, NowLocal());
            });
    auto* newWindow = Button(go, "按钮_新窗口", ">", 912, 16, 16, 24);
    connect(newWindow, &QPushButton::clicked, this, [this] { openEditWindow(); });

    list_ = Place(new ItemListView(MirrorColumns(), index), "超级列表框1", 16, 112, 936, 408);
    progressBox_ = Place(new QLineEdit(index), "编辑框_复制框", 184, 48, 600, 22);
    progressBox_->setReadOnly(true);
    progressBox_->hide();
    bar2_ = Place(new QProgressBar(index), "进度条2", 184, 136, 600, 24);
    bar1_ = Place(new QProgressBar(index), "进度条1", 184, 168, 600, 24);
    bar2_->hide();
    bar1_->hide();
    // The progress box and bars lie over the list while a command shows them.
    progressBox_->raise();
    bar2_->raise();
    bar1_->raise();

    connect(jump, &QPushButton::clicked, this,
            [this] { JumpToTypedRow(context_, kMainPageLength); });
    connect(jumpBox_, &QLineEdit::returnPressed, this, [this] {
        if (!JumpToTypedRow(context_, kMainPageLength)) return;
        jumpBox_->setFocus(Qt::OtherFocusReason);
        jumpBox_->selectAll();
    });
    connect(list_, &ItemListView::currentRowChanged, this, [this] { ShowCurrentRow(context_); });
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        HeaderClick(sortState_, *list_, *context_.window.progressBox, column);
    });
    connect(list_, &QAbstractItemView::doubleClicked, this,
            [this] { OpenCurrentItemFolder(context_); });

    busyControls_ = {browse,    pagePrefix_, newIndex, appendIndex, download, information,
                     addresses, previews,    jumpBox_, jump,        list_,    newWindow};
}

void MainWindow::bindContext() {
    auto keep = [this](TextBox* box) {
        textBoxes_.emplace_back(box);
        return box;
    };
    context_.window.progress = ProgressVariant::ShownWhileRunning;
    context_.window.list = list_;
    context_.window.progressBox = keep(new ProgressLineBox(progressBox_));
    context_.window.resultBox = keep(new PlainTextBox(resultBox_));
    context_.window.jumpBox = keep(new LineEditBox(jumpBox_));
    auto* searchCondition = new LineInputBox(searchBox_);
    keep(searchCondition);
    context_.window.searchCondition = searchCondition;
    fuzzySearch_ = std::make_unique<QtCheckBox>(fuzzySearchBox_);
    context_.window.fuzzySearch = fuzzySearch_.get();
    showProgress_ = std::make_unique<QtCheckBox>(showProgressBox_);
    context_.window.showProgress = showProgress_.get();

    context_.settings.workshopFolder = keep(new LineEditBox(workshopFolder_));
    context_.settings.pagePrefix = keep(new LineEditBox(pagePrefix_));

    context_.itemView.mainList = list_;
    context_.itemView.description = keep(new PlainTextBox(description_));
    context_.itemView.caption = keep(new GroupCaptionBox(previewGroup_));
    context_.itemView.noPreviewLink = keep(new LabelBox(noPreview_));
    previewPicture_ = std::make_unique<LabelPictureBox>(previewLabel_);
    context_.itemView.picture = previewPicture_.get();

    context_.services.dialogs = services_.dialogs;
    context_.services.pump = services_.pump;
    context_.services.shell = services_.shell;
    context_.services.busy = this;
    context_.services.http = services_.httpOptions;
    context_.services.host = &host_;
}

void MainWindow::enter() {
    for (QWidget* control : busyControls_) control->setEnabled(false);
    if (editWindow_) editWindow_->setCommandsEnabled(false);
}

void MainWindow::leave() {
    for (QWidget* control : busyControls_) control->setEnabled(true);
    if (editWindow_) editWindow_->setCommandsEnabled(true);
}

EditWindow* MainWindow::editWindow() const {
    return editWindow_.data();
}

void MainWindow::openEditWindow() {
    if (!RunFilesPresent(context_)) {
        endProgram();
        return;
    }
    if (editWindow_) {
        editWindow_->show();
        editWindow_->raise();
        editWindow_->activateWindow();
        return;
    }
    CommandFrame frame(context_);
    EditWindow::Links links{context_.runDirectory,
                            context_.settings,
                            context_.itemView,
                            services_,
                            this,
                            &host_,
                            &sortState_,
                            [this] { endProgram(); },
                            [this]() -> PictureView& { return openPictureWindow(); }};
    editWindow_ = new EditWindow(links);
    connect(editWindow_, &QObject::destroyed, this, [this] {
        raise();
        activateWindow();
    });
    std::string error;
    if (!FillEditList(*editWindow_->list(), CataloguePath(context_.runDirectory), &error)) {
        services_.dialogs->message("DEVodu.edb无法读取，编辑窗口的列表为空。\r\n(" + error + ")");
    }
    editWindow_->show();
}

PictureView& MainWindow::openPictureWindow() {
    return PictureWindow::reuseOrOpen(pictureWindow_, {context_.settings, services_, &host_});
}

void MainWindow::endProgram() {
    ended_ = true;
    // The end may be asked for from one of EditWindow's own handlers: it goes once that returns.
    if (editWindow_) {
        editWindow_->hide();
        editWindow_->deleteLater();
    }
    if (pictureWindow_) {
        pictureWindow_->hide();
        pictureWindow_->deleteLater();
    }
    hide();
    QCoreApplication::exit(0);
}

void MainWindow::restoreCatalogue() {
    if (host_.running() > 0) {
        // No command may hold the catalogue while it is swapped: the running ones stop at their
        // next item, keeping what they did, and the restore begins once they have.
        restoreWaiting_ = true;
        host_.requestStop();
        return;
    }
    RestoreWindowSteps steps;
    // The other windows go without asking, as when MainWindow closes; their commands have ended.
    steps.beforeSwap = [this] {
        delete editWindow_.data();
        delete pictureWindow_.data();
    };
    steps.afterSwap = [this] {
        std::string error;
        if (!FillListMirror(*list_, CataloguePath(context_.runDirectory), &error)) {
            services_.dialogs->message("DEVodu.edb无法读取，列表未更新。\r\n(" + error + ")");
        }
    };
    CatalogueRestore(context_.runDirectory, *services_.dialogs, *context_.window.resultBox, *this,
                     steps);
}

void MainWindow::stopAndQuit() {
    closing_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayCloseNow(host_, *copy_, closing_)) {
        event->ignore();
        return;
    }
    // The other windows go with MainWindow and ask nothing, even about their own copies.
    delete editWindow_.data();
    delete pictureWindow_.data();
    event->accept();
}

}  // namespace kestavel
