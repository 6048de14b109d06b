#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/BusyState.h"
#include "app/CommandContext.h"
#include "app/CommandHost.h"
#include "find/SortState.h"
#include "platform/RunLock.h"
#include "ui/WindowServices.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace kestavel {

class DoubleClickLabel;
class EditWindow;
class ItemListView;
class JumpBox;
class PictureView;
class PictureWindow;
class SearchBox;
class TextBox;
class WindowCopy;

class MainWindow : public QWidget, public BusyState {
    Q_OBJECT
  public:
    // Builds the window and runs the start-up checks; nothing when a message ended the program.
    static std::unique_ptr<MainWindow> create(const std::string& runDirectory,
                                              WindowServices services);
    ~MainWindow() override;

    void enter() override;
    void leave() override;

    const CommandContext& context() const { return context_; }
    ItemListView* list() const { return list_; }
    EditWindow* editWindow() const;

    // ">": opens EditWindow, or brings it to the front when it is open.
    void openEditWindow();
    // A missing run file was reported: every window closes and the event loop ends.
    void endProgram();
    bool hasEnded() const { return ended_; }
    // A stop signal (SIGTERM, SIGHUP, SIGINT): the running commands stop at their next item and
    // keep what they did, then the program ends without asking anything.
    void stopAndQuit();
    CommandHost& commandHost() { return host_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    MainWindow(const std::string& runDirectory, WindowServices services);
    void buildControls();
    // "恢复": replaces the catalogue by a chosen backup once no command holds it.
    void restoreCatalogue();
    void bindContext();
    // "图片选择" of either window: the picture window, opened or brought to the front.
    PictureView& openPictureWindow();

    WindowServices services_;
    std::unique_ptr<RunLock> runLock_;
    CommandHost host_;
    CommandContext context_;
    // A close was asked for: it happens once the running commands have stopped, and asks no
    // second time.
    bool closing_ = false;
    bool restoreWaiting_ = false;
    std::vector<std::unique_ptr<TextBox>> textBoxes_;
    std::unique_ptr<CheckBox> showProgress_;
    std::unique_ptr<CheckBox> fuzzySearch_;
    // The one sort record of the program: both lists continue its direction and arrows.
    SortState sortState_;
    std::unique_ptr<PictureBox> previewPicture_;
    std::vector<QWidget*> busyControls_;

    QLineEdit* workshopFolder_ = nullptr;
    QLineEdit* pagePrefix_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QPlainTextEdit* resultBox_ = nullptr;
    QGroupBox* previewGroup_ = nullptr;
    DoubleClickLabel* previewLabel_ = nullptr;
    DoubleClickLabel* noPreview_ = nullptr;
    JumpBox* jumpBox_ = nullptr;
    SearchBox* searchBox_ = nullptr;
    QCheckBox* fuzzySearchBox_ = nullptr;
    QLineEdit* progressBox_ = nullptr;
    QCheckBox* showProgressBox_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QProgressBar* bar1_ = nullptr;
    QProgressBar* bar2_ = nullptr;
    // Ended, and its thread joined, before the boxes above and the widgets it posts to go.
    std::unique_ptr<WindowCopy> copy_;
    ItemListView* list_ = nullptr;
    QPointer<EditWindow> editWindow_;
    QPointer<PictureWindow> pictureWindow_;
    bool ended_ = false;
};

}  // namespace kestavel
