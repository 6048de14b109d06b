#pragma once

#include <QImage>
#include <QSize>

#include <string>

namespace kestavel {

// The picture window's thumbnails are 192 × 108, the shape of a workshop preview.
inline constexpr QSize kThumbnailSize(192, 108);

// The picture of a file fitted whole into a white thumbnail and centred on it. The file is
// decoded at the thumbnail's scale, not at its own. A file that holds no picture Qt can read
// gives a white thumbnail.
QImage MakeThumbnail(const std::string& path);

}  // namespace kestavel
