#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "app/CommandContext.h"
#include "app/CommandHost.h"
#include "find/SortState.h"
#include "pictures/PictureFill.h"
#include "ui/WindowServices.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace kestavel {

class ItemListView;
class JumpBox;
class NumberBox;
class WindowCopy;

// The second window: a compact list of the catalogue and the commands on picked rows. It shows
// its items in MainWindow's item view and its commands take the settings from MainWindow's
// boxes and enter MainWindow's busy state; everything else in its context is its own.
class EditWindow : public QWidget {
    Q_OBJECT
  public:
    // What EditWindow shares with MainWindow.
    struct Links {
        std::string runDirectory;
        SettingsBoxes settings;
        ItemViewPorts itemView;
        WindowServices services;
        BusyState* busy;
        CommandHost* mainHost;  // closing MainWindow stops EditWindow's commands too
        SortState* sortState;
        std::function<void()> endProgram;
        PictureWindowOpener openPictureWindow;
    };
    explicit EditWindow(const Links& links);
    ~EditWindow() override;

    const CommandContext& context() const { return context_; }
    ItemListView* list() const { return list_; }
    // Off while any window's command runs: a second command started from here while the first
    // waits with events running would write the same files at the same time.
    void setCommandsEnabled(bool enabled);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void bindContext(const Links& links);

    CommandHost host_;
    CommandContext context_;
    SortState& sortState_;
    std::function<void()> endProgram_;
    PictureWindowOpener openPictureWindow_;
    bool closing_ = false;
    std::vector<std::unique_ptr<TextBox>> textBoxes_;
    std::vector<std::unique_ptr<CheckBox>> checkBoxes_;
    // The category radio buttons, read by "按分类查找".
    std::unique_ptr<CheckBox> detail1_;
    std::unique_ptr<CheckBox> detail2_;
    std::unique_ptr<CheckBox> detail3_;

    std::vector<QPushButton*> commandButtons_;
    NumberBox* leastHours_ = nullptr;
    NumberBox* mostHours_ = nullptr;
    JumpBox* jumpBox_ = nullptr;
    QPlainTextEdit* resultBox_ = nullptr;
    QLineEdit* progressBox_ = nullptr;
    QCheckBox* showProgress_ = nullptr;
    QCheckBox* fuzzySearch_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QCheckBox* keepBackup_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QProgressBar* bar1_ = nullptr;
    QProgressBar* bar2_ = nullptr;
    // Ended, and its thread joined, before the boxes above and the widgets it posts to go.
    std::unique_ptr<WindowCopy> copy_;
    ItemListView* list_ = nullptr;
};

}  // namespace kestavel
