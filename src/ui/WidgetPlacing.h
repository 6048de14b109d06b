#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kestavel {

// Gives a new control its objectName and its place and size inside its container.
template <typename Widget>
Widget* Place(Widget* widget, const char* objectName, int x, int y, int width, int height) {
    widget->setObjectName(QString::fromUtf8(objectName));
    widget->setGeometry(x, y, width, height);
    return widget;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                    int h);
QLabel* Label(QWidget* parent, const char* name, const char* caption, int x, int y, int w, int h);
QGroupBox* Group(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                 int h);
// Check boxes of both windows start ticked.
QCheckBox* Check(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                 int h);

}  // namespace kestavel
