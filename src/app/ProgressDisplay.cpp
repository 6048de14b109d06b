#include "app/ProgressDisplay.h"

#include <string>

namespace kestavel {

bool ProgressDisplay::ticked() const {
    return context_.showProgress && context_.showProgress->isChecked();
}

void ProgressDisplay::showIfTicked() {
    if (ticked()) context_.progressBox->setVisible(true);
}

void ProgressDisplay::beforeItem() {
    if (ticked()) context_.pump->runEvents(1);
}

void ProgressDisplay::setText(std::string_view text) {
    context_.progressBox->setText(text);
}

void ProgressDisplay::finish(std::string_view summary, std::string_view furtherLines) {
    context_.progressBox->setText(summary);
    context_.resultBox->append("\r\n\r\n" + std::string(summary));
    if (!furtherLines.empty()) context_.resultBox->append(furtherLines);
    context_.pump->runEvents(1000);
    context_.progressBox->setVisible(false);
}

}  // namespace kestavel
