#include "ui/NumberBox.h"

#include <QKeyEvent>

namespace kestavel {

void NumberBox::keyPressEvent(QKeyEvent* event) {
    if (event->text() == QStringLiteral("-")) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    Q_EMIT focusLost();
}

}  // namespace kestavel
