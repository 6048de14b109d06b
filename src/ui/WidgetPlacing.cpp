#include "ui/WidgetPlacing.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace kestavel {

QPushButton* Button(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                    int h) {
    return Place(new QPushButton(QString::fromUtf8(caption), parent), name, x, y, w, h);
}

QLabel* Label(QWidget* parent, const char* name, const char* caption, int x, int y, int w, int h) {
    return Place(new QLabel(QString::fromUtf8(caption), parent), name, x, y, w, h);
}

QGroupBox* Group(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                 int h) {
    return Place(new QGroupBox(QString::fromUtf8(caption), parent), name, x, y, w, h);
}

QCheckBox* Check(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                 int h) {
    auto* box = Place(new QCheckBox(QString::fromUtf8(caption), parent), name, x, y, w, h);
    box->setChecked(true);
    return box;
}

}  // namespace kestavel
