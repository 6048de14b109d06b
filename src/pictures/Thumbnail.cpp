#include "pictures/Thumbnail.h"

#include <QImageReader>
#include <QPainter>
#include <QString>

namespace kestavel {

QImage MakeThumbnail(const std::string& path) {
    QImage thumbnail(kThumbnailSize, QImage::Format_RGB32);
    thumbnail.fill(Qt::white);
    QImageReader reader(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty()) {
        // A JPEG decoder then leaves out most of the work a full-size picture would cost.
        reader.setScaledSize(size.scaled(kThumbnailSize, Qt::KeepAspectRatio).expandedTo({1, 1}));
    }
    QImage picture = reader.read();
    if (picture.isNull()) return thumbnail;
    // A format that cannot decode at a scale gives the picture at its own size.
    if (picture.width() > kThumbnailSize.width() || picture.height() > kThumbnailSize.height()) {
        picture = picture.scaled(kThumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QPainter painter(&thumbnail);
    painter.drawImage((kThumbnailSize.width() - picture.width()) / 2,
                      (kThumbnailSize.height() - picture.height()) / 2, picture);
    return thumbnail;
}

}  // namespace kestavel
