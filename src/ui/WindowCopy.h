#pragma once

#include <memory>

#include "output/CopyVariant.h"

class QCheckBox;
class QLineEdit;
class QObject;
class QProgressBar;
class QPushButton;

namespace kestavel {

class CheckBox;
class CopyEngine;
class Dialogs;
class ItemList;
class QtButton;
class QtProgressBar;
class QtWindowPoster;
class TextBox;

// A window's copy button ("复制到", EditWindow's "复制"): the copy engine over the window's own
// controls, seen through their Qt adapters. Kept apart from the windows' layout code, whose
// Button() helper would shadow the engine's Button port.
class WindowCopy {
  public:
    struct Controls {
        CopyVariant variant;
        QObject* window;  // the copy's changes are run on its thread
        ItemList& list;
        TextBox& workshopFolder;  // MainWindow's box
        TextBox& resultBox;
        QProgressBar* overallBar;
        QProgressBar* fileBar;
        QPushButton* copyButton;
        Dialogs& dialogs;
        TextBox* progressBox = nullptr;      // not in PictureWindow
        QLineEdit* targetFolder = nullptr;   // PictureWindow's target box
        QCheckBox* defaultTarget = nullptr;  // and its "默认目标目录"
    };
    explicit WindowCopy(const Controls& controls);
    // Ends a running copy and waits for its thread.
    ~WindowCopy();
    WindowCopy(const WindowCopy&) = delete;
    WindowCopy& operator=(const WindowCopy&) = delete;

    void start();
    // Esc in the window: asks whether to stop a running copy; a stopped copy still reports
    // what it copied.
    void askToStop();
    // The window's close request: while a copy runs, asks whether to close all the same and
    // ends the copy on Yes. False when the window is to stay open.
    bool allowClose();

  private:
    std::unique_ptr<QtWindowPoster> poster_;
    std::unique_ptr<QtProgressBar> overallBar_;
    std::unique_ptr<QtProgressBar> fileBar_;
    std::unique_ptr<QtButton> copyButton_;
    std::unique_ptr<TextBox> targetFolder_;
    std::unique_ptr<CheckBox> defaultTarget_;
    // Last: ended before the adapters it posts to go.
    std::unique_ptr<CopyEngine> engine_;
};

}  // namespace kestavel
