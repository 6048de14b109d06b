#pragma once

#include <string_view>

#include "app/CommandContext.h"

namespace kestavel {

// The progress display rule of a long command: the progress box is shown at the start and
// events run for 1 ms before each item only while "进度显示" is ticked; the text is written
// either way; at the end the summary goes to both boxes, events run for 1000 ms and the box
// is hidden.
class ProgressDisplay {
  public:
    explicit ProgressDisplay(const CommandContext& context) : context_(context) {}

    void showIfTicked();
    void beforeItem();
    void setText(std::string_view text);
    // Writes the summary into the progress box and, after "\r\n\r\n", into the result box,
    // followed there by any further lines; then pumps and hides the progress box.
    void finish(std::string_view summary, std::string_view furtherLines = {});

  private:
    bool ticked() const;
    const CommandContext& context_;
};

}  // namespace kestavel
