#pragma once

#include <string_view>

#include "app/CommandContext.h"

namespace kestavel {

// Asks a command's OK/Cancel question titled "提示"; true for OK.
bool Confirmed(const CommandContext& context, std::string_view question);

// The frame every long command runs in, for its whole run: it keeps the busy state (left on
// every path), counts the command as running in its window, shows progress the way the window
// does, lets events run before each item while "进度显示" is ticked, writes the summary and
// tells the command when its window or the program asked it to stop.
class CommandFrame {
  public:
    explicit CommandFrame(const CommandContext& context);
    ~CommandFrame();
    CommandFrame(const CommandFrame&) = delete;
    CommandFrame& operator=(const CommandFrame&) = delete;

    // Checked between items: the command ends there, keeping what it did.
    bool stopRequested() const;
    // Shows the progress box when the window shows it only while a command runs.
    void showProgress();
    bool progressTicked() const;
    // Before each item: while "进度显示" is ticked, pending window events run.
    void beforeItem();
    // The item's progress line, written whether or not the box is shown.
    void setProgress(std::string_view text);
    // Writes the summary into the progress box and, after "\r\n\r\n", into the result box,
    // followed there by any further lines; MainWindow then pauses for 1000 ms with events
    // running and hides the progress box.
    void finish(std::string_view summary, std::string_view furtherLines = {});

  private:
    const CommandContext& context_;
};

}  // namespace kestavel
