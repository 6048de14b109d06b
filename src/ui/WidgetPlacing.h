#pragma once

#include <QString>
#include <QWidget>

namespace kestavel {

// Gives a new control its objectName and its place and size inside its container.
template <typename Widget>
Widget* Place(Widget* widget, const char* objectName, int x, int y, int width, int height) {
    widget->setObjectName(QString::fromUtf8(objectName));
    widget->setGeometry(x, y, width, height);
    return widget;
}

}  // namespace kestavel
