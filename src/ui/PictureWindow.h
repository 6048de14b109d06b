#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

#include "app/CommandContext.h"
#include "app/CommandHost.h"
#include "pictures/PictureFill.h"
#include "ui/WindowServices.h"

namespace kestavel {

class WindowCopy;
class PictureListView;

// "Kestavel - 图片选择窗口": thumbnails of picked items, their pick marks, and the copy of the
// picked items. It reads the settings from MainWindow's boxes; everything else in its context
// is its own.
class PictureWindow : public QWidget, public PictureView {
    Q_OBJECT
  public:
    // What the picture window shares with MainWindow.
    struct Links {
        SettingsBoxes settings;
        WindowServices services;
        CommandHost* mainHost;  // closing MainWindow stops a fill into this window too
    };
    // Brings the window `open` points at to the front, or opens one there.
    static PictureWindow& reuseOrOpen(QPointer<PictureWindow>& open, const Links& links);

    explicit PictureWindow(const Links& links);
    ~PictureWindow() override;

    const CommandContext& context() const override { return context_; }
    void showPictures(std::vector<Thumbnail> pictures) override;
    PictureListView* list() const { return list_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls(const Links& links);

    CommandHost host_;
    CommandContext context_;
    bool closing_ = false;
    PictureListView* list_ = nullptr;
    std::vector<std::unique_ptr<TextBox>> textBoxes_;
    std::unique_ptr<WindowCopy> copy_;
};

}  // namespace kestavel
