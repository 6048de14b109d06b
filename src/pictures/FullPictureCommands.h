#pragma once

#include <span>
#include <string_view>

#include "app/CommandContext.h"
#include "pictures/PictureAddresses.h"

namespace kestavel {

// "下载网页全图" in EditWindow: for the picked rows, after confirmation, fetches every picture
// address of the item's saved page into <编码>_pic<k>.jpg, k counting the addresses in the order
// the markers find them. A picture replaces the one of its number only when it is larger than
// 10240 bytes, in one rename.
void FullPictureDownload(const CommandContext& edit,
                         std::span<const std::string_view> markers = kPictureAddressMarkers);

// "全图检测" in EditWindow: unticks every row and highlights, of the rows that were picked, those
// whose item folder holds no file matching *_pic*.jpg, and lists them.
void FullPictureCheck(const CommandContext& edit);

}  // namespace kestavel
