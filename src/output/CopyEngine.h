#pragma once

#include <atomic>
#include <chrono>
#include <stop_token>
#include <thread>

#include "app/Button.h"
#include "app/CheckBox.h"
#include "app/Dialogs.h"
#include "app/ItemList.h"
#include "app/ProgressBar.h"
#include "app/TextBox.h"
#include "app/WindowPoster.h"
#include "output/CopyVariant.h"

namespace kestavel {

// The controls of the window that copies. Main and Edit give their progress box; Picture gives
// its target folder box and its "默认目标目录" check box instead.
struct CopyWindow {
    CopyVariant variant;
    ItemList& list;
    // MainWindow's workshop folder box, read when a copy starts.
    TextBox& workshopFolder;
    TextBox& resultBox;
    ProgressBar& overallBar;  // 进度条1
    ProgressBar& fileBar;     // 进度条2
    // The window's 按钮_复制到: a copy runs exactly while it is disabled.
    Button& copyButton;
    Dialogs& dialogs;
    WindowPoster& poster;
    TextBox* progressBox = nullptr;
    TextBox* targetFolderBox = nullptr;
    CheckBox* defaultTarget = nullptr;
};

// How often the worker shows itself.
struct CopyPacing {
    // From the summary to the reset of the progress display.
    std::chrono::milliseconds closingPause{3000};
    // The bars change on screen at most once in this time; 0 shows every change.
    std::chrono::milliseconds barInterval{20};
};

// One window's copy of the picked items' folders into a chosen folder. The click runs on the
// window thread; the gathering, the copying and the summary run on a worker thread, which hands
// every change of a control to the window thread through the poster. Every file goes through a
// temporary name and replaces an existing target only when complete.
//
// The window must keep the controls and the poster alive until the engine is destroyed; the
// destructor ends a running copy (as abandon() does) and waits for its thread.
class CopyEngine {
  public:
    explicit CopyEngine(CopyWindow window, CopyPacing pacing = {});
    ~CopyEngine();
    CopyEngine(const CopyEngine&) = delete;
    CopyEngine& operator=(const CopyEngine&) = delete;

    // The click on 按钮_复制到: chooses the target, reports the picked items, asks, and starts the
    // worker. Does nothing while a copy of this window runs.
    void start();
    bool running() const { return !window_.copyButton.isEnabled(); }

    // Ends a running copy between two chunks; it reports what it copied so far as its summary.
    // Returns at once.
    void stop();
    // Asks whether to stop a running copy (the window's stop key); stops it on Yes.
    bool askToStop();
    // The window's close request: while a copy runs, asks whether to close all the same; on Yes
    // abandons the copy. False when the window is to stay open.
    bool allowClose();
    // The window is going away: the copy ends between two chunks, removes its temporary file and
    // posts nothing more. Returns at once; the destructor waits for the thread.
    void abandon();

  private:
    CopyWindow window_;
    CopyPacing pacing_;
    std::stop_source copyStop_;
    std::atomic<bool> silent_{false};
    std::jthread worker_;
};

}  // namespace kestavel
