#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// "下载预览图片" in MainWindow: after confirmation, fetches the preview picture of every
// catalogue item that has an address and no picture yet.
void PreviewDownload(const CommandContext& context);

// "更新预览图片" in EditWindow: for the picked rows, fetches missing pictures and fetches again
// those whose age lies in the hour window, replacing a picture only by a different one that passes
// the size rule. At every step the item's picture or its backup holds the last good picture.
void PreviewRefresh(const CommandContext& edit);

}  // namespace kestavel
