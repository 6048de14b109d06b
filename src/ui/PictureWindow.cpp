#include "ui/PictureWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "catalogue/ListNavigation.h"
#include "catalogue/PickMarks.h"
#include "output/CopyVariant.h"
#include "ui/PictureListView.h"
#include "ui/QtTextBoxes.h"
#include "ui/WidgetPlacing.h"
#include "ui/WindowClose.h"
#include "ui/WindowCopy.h"

namespace kestavel {
namespace {

// A picture's only text, its 编码, stands in column 0.
constexpr int kPictureCodeColumn = 0;

}  // namespace

PictureWindow& PictureWindow::reuseOrOpen(QPointer<PictureWindow>& open, const Links& links) {
    if (!open) open = new PictureWindow(links);
    open->show();
    open->raise();
    open->activateWindow();
    return *open;
}

PictureWindow::PictureWindow(const Links& links) : host_(links.mainHost) {
    setObjectName(QStringLiteral("PictureWindow"));
    setWindowTitle(QStringLiteral("Kestavel - 图片选择窗口"));
    setAttribute(Qt::WA_DeleteOnClose);
    host_.onIdle([this] {
        if (closing_) QTimer::singleShot(0, this, [this] { close(); });
    });
    buildControls(links);
    move(50, 50);
    resize(1072, 747);
}

PictureWindow::~PictureWindow() = default;

void PictureWindow::buildControls(const Links& links) {
    QGroupBox* pictures = Group(this, "分组框1", "图片选择区", 8, 8, 1048, 608);
    list_ = Place(new PictureListView(pictures), "超级列表框1", 8, 16, 1032, 584);
    // The canvas of the window's layout; thumbnails are made without it, so it stays hidden.
    Place(new QLabel(this), "画板1", 400, 232, 256, 145)->hide();
    auto* overallBar = Place(new QProgressBar(this), "进度条1", 8, 624, 736, 10);
    auto* fileBar = Place(new QProgressBar(this), "进度条2", 8, 638, 736, 10);
    for (QProgressBar* bar : {overallBar, fileBar}) bar->setTextVisible(false);
    QGroupBox* results = Group(this, "分组框2", "", 8, 648, 736, 64);
    auto* resultBox = Place(new QPlainTextEdit(results), "编辑框_查找结果", 3, 10, 729, 48);
    auto* targetFolder = Place(new QLineEdit(this), "编辑框_目标目录", 752, 624, 240, 24);
    auto* defaultTarget = Place(new QCheckBox(QStringLiteral("默认目标目录"), this),
                                "选择框_默认目标目录", 1000, 624, 56, 24);
    auto* pick = Button(this, "按钮_选择", "选择", 752, 656, 96, 24);
    auto* pickAll = Button(this, "按钮_全选", "全部选择", 856, 656, 96, 24);
    auto* removeAll = Button(this, "按钮_全部删除", "全部删除", 960, 656, 96, 24);
    auto* unpick = Button(this, "按钮_取消选择", "取消选择", 752, 688, 96, 24);
    auto* copy = Button(this, "按钮_复制到", "复制到", 856, 688, 96, 24);
    auto* remove = Button(this, "按钮_删除", "删除", 960, 688, 96, 24);

    context_.window.progress = ProgressVariant::ResultBoxOnly;
    context_.window.list = list_;
    context_.window.resultBox = textBoxes_.emplace_back(new PlainTextBox(resultBox)).get();
    context_.settings = links.settings;
    context_.services.dialogs = links.services.dialogs;
    context_.services.pump = links.services.pump;
    context_.services.shell = links.services.shell;
    context_.services.host = &host_;
    copy_ = std::make_unique<WindowCopy>(
        WindowCopy::Controls{CopyVariant::Picture, this, *list_, *context_.settings.workshopFolder,
                             *context_.window.resultBox, overallBar, fileBar, copy,
                             *context_.services.dialogs, nullptr, targetFolder, defaultTarget});

    connect(pick, &QPushButton::clicked, this, [this] { PickHighlightedPictures(context_); });
    connect(pickAll, &QPushButton::clicked, this, [this] { PickAllPictures(context_); });
    connect(unpick, &QPushButton::clicked, this, [this] { ClearPickMarks(*list_); });
    connect(copy, &QPushButton::clicked, this, [this] { copy_->start(); });
    // Both take pictures out of the view only; no file or list row goes with them.
    connect(removeAll, &QPushButton::clicked, this, [this] { list_->removeAllRows(); });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int current = list_->currentRow();
        if (current >= 0) list_->pictureModel()->removeRows(current, 1);
    });
    connect(list_, &QAbstractItemView::doubleClicked, this,
            [this] { OpenCurrentItemFolder(context_, kPictureCodeColumn); });
}

void PictureWindow::showPictures(std::vector<Thumbnail> pictures) {
    list_->pictureModel()->setPictures(std::move(pictures));
}

void PictureWindow::closeEvent(QCloseEvent* event) {
    if (!MayCloseNow(host_, *copy_, closing_)) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace kestavel
