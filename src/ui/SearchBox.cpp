#include "ui/SearchBox.h"

#include <QKeyEvent>

namespace kestavel {

void SearchBox::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty() && refuses_(event->text())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SearchBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    selectAll();
}

}  // namespace kestavel
