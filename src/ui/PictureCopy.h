#pragma once

#include <memory>

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

// PictureWindow's "复制到": the copy engine over the window's own controls, seen through their Qt
// adapters. Kept apart from the window's layout code, whose Button() helper would shadow the
// engine's Button port.
class PictureCopy {
  public:
    struct Controls {
        QObject* window;  // the copy's changes are run on its thread
        ItemList& list;
        TextBox& workshopFolder;  // MainWindow's box
        TextBox& resultBox;
        QProgressBar* overallBar;
        QProgressBar* fileBar;
        QPushButton* copyButton;
        QLineEdit* targetFolder;
        QCheckBox* defaultTarget;
        Dialogs& dialogs;
    };
    explicit PictureCopy(const Controls& controls);
    // Ends a running copy and waits for its thread.
    ~PictureCopy();
    PictureCopy(const PictureCopy&) = delete;
    PictureCopy& operator=(const PictureCopy&) = delete;

    void start();
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
