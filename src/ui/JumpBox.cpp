#include "ui/JumpBox.h"

#include <QKeyEvent>

namespace kestavel {

void JumpBox::keyPressEvent(QKeyEvent* event) {
    if (event->text() == QStringLiteral("-")) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void JumpBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    selectAll();
}

}  // namespace kestavel
