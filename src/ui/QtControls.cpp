#include "ui/QtControls.h"

#include <QPixmap>

#include "ui/QtText.h"

namespace kestavel {

void LabelPictureBox::showFile(const std::string& path) {
    QPixmap picture(ToQString(path));
    if (picture.isNull()) {
        label_->clear();
        return;
    }
    label_->setPixmap(
        picture.scaled(label_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void LabelPictureBox::clear() {
    label_->clear();
}

}  // namespace kestavel
