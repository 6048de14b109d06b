#include "ui/ProgressLineBox.h"

#include <QTimer>

#include "ui/QtText.h"

namespace kestavel {
namespace {

constexpr qint64 kFrameMilliseconds = 16;

}  // namespace

ProgressLineBox::ProgressLineBox(QLineEdit* edit) : edit_(edit), latest_(ToUtf8(edit->text())) {}

void ProgressLineBox::show() {
    held_ = false;
    if (!edit_) return;
    edit_->setText(ToQString(latest_));
    sinceShown_.start();
}

void ProgressLineBox::setText(std::string_view text) {
    latest_ = std::string(text);
    if (!sinceShown_.isValid() || sinceShown_.elapsed() >= kFrameMilliseconds) {
        show();
        return;
    }
    if (held_) return;
    held_ = true;
    QTimer::singleShot(0, edit_, [this] {
        if (held_) show();
    });
}

void ProgressLineBox::setVisible(bool visible) {
    if (held_) show();
    edit_->setVisible(visible);
}

}  // namespace kestavel
