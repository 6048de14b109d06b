#include "ui/DoubleClickLabel.h"

#include <QMouseEvent>

namespace kestavel {

void DoubleClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT doubleClicked();
}

}  // namespace kestavel
