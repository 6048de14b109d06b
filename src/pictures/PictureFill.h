#pragma once

#include <QImage>

#include <cstddef>
#include <functional>
#include <vector>

#include "app/CommandContext.h"
#include "platform/GbkText.h"

namespace kestavel {

// One picture of the picture window: the item's 编码 and its thumbnail.
struct Thumbnail {
    GbkText code;
    QImage image;
};

// The picture window as PictureFill sees it.
class PictureView {
  public:
    virtual ~PictureView() = default;
    // Its own context: its result box and the host that keeps it open while a fill runs.
    virtual const CommandContext& context() const = 0;
    // Replaces every picture by these, none of them picked.
    virtual void showPictures(std::vector<Thumbnail> pictures) = 0;
};

// Opens the picture window, or brings the open one to the front, and gives it.
using PictureWindowOpener = std::function<PictureView&()>;

// At most this many picked rows are shown at once.
inline constexpr std::size_t kMostPictures = 76;

// "图片选择" in MainWindow and EditWindow: shows a thumbnail of every picked row's item that has a
// preview picture, in row order, in the picture window.
void PictureFill(const CommandContext& source, const PictureWindowOpener& open);

}  // namespace kestavel
