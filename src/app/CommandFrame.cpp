#include "app/CommandFrame.h"

#include <string>

namespace kestavel {

bool Confirmed(const CommandContext& context, std::string_view question) {
    return context.services.dialogs->confirm(question, kQuestionTitle);
}

CommandFrame::CommandFrame(const CommandContext& context) : context_(context) {
    if (context_.services.busy) context_.services.busy->enter();
    if (context_.services.host) context_.services.host->begin();
}

CommandFrame::~CommandFrame() {
    if (context_.window.progress == ProgressVariant::ShownWhileRunning &&
        context_.window.progressBox) {
        context_.window.progressBox->setVisible(false);
    }
    if (context_.services.busy) context_.services.busy->leave();
    // Last: the window may close as soon as its last command has ended.
    if (context_.services.host) context_.services.host->end();
}

bool CommandFrame::stopRequested() const {
    return context_.services.host && context_.services.host->stopRequested();
}

bool CommandFrame::progressTicked() const {
    return context_.window.showProgress && context_.window.showProgress->isChecked();
}

void CommandFrame::showProgress() {
    if (context_.window.progress == ProgressVariant::ShownWhileRunning && progressTicked()) {
        context_.window.progressBox->setVisible(true);
    }
}

void CommandFrame::beforeItem() {
    if (progressTicked()) context_.services.pump->runEvents(1);
}

void CommandFrame::setProgress(std::string_view text) {
    if (context_.window.progressBox) context_.window.progressBox->setText(text);
}

void CommandFrame::finish(std::string_view summary, std::string_view furtherLines) {
    setProgress(summary);
    context_.window.resultBox->append("\r\n\r\n" + std::string(summary));
    if (!furtherLines.empty()) context_.window.resultBox->append(furtherLines);
    if (context_.window.progress != ProgressVariant::ShownWhileRunning) return;
    context_.services.pump->runEvents(1000, [this] { return stopRequested(); });
    if (context_.window.progressBox) context_.window.progressBox->setVisible(false);
}

}  // namespace kestavel
