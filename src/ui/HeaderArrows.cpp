#include "ui/HeaderArrows.h"

#include <QImage>

namespace kestavel {
namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 7;

QImage DrawTriangle(bool pointsUp) {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QRgb grey = qRgb(127, 127, 127);
    const QRgb white = qRgb(255, 255, 255);
    for (int step = 0; step < kHeight; ++step) {
        // step 0 is the apex row; the sides spread by half a pixel per row to reach the corners.
        const int y = pointsUp ? step : kHeight - 1 - step;
        const int left = 3 - (step * 3) / (kHeight - 1);
        const int right = 4 + (step * 3) / (kHeight - 1);
        image.setPixel(left, y, grey);
        image.setPixel(right, y, white);
    }
    const int baseRow = pointsUp ? kHeight - 1 : 0;
    for (int x = 0; x < kWidth - 1; ++x) image.setPixel(x, baseRow, grey);
    return image;
}

}  // namespace

QPixmap HeaderArrowPixmap(HeaderArrow arrow) {
    static const QPixmap up = QPixmap::fromImage(DrawTriangle(true));
    static const QPixmap down = QPixmap::fromImage(DrawTriangle(false));
    switch (arrow) {
        case HeaderArrow::Up:
            return up;
        case HeaderArrow::Down:
            return down;
        case HeaderArrow::None:
            break;
    }
    return QPixmap();
}

}  // namespace kestavel
