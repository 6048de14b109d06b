#pragma once

#include "app/CommandContext.h"

namespace kestavel {

inline constexpr const char* kDownloadQuestion =
    "      现在将连接到Steam创意工坊页面下载相关文档，根据网速和下载量的不同会需要相当长一段时间，"
    "期间会有假死现象。如果继续，将下载相应MOD编号的*.info.txt文件到相应目录，是否继续？";

// "下载网页文档" (按钮_下载网页源码): after confirmation, fetches the workshop page of
// every catalogue item that has no PageDocument and is not marked gone, in stored order, and
// reports the count and the failed items. An answer with status 429 or 5xx counts as failed.
void DownloadPages(const CommandContext& context);

// "获取MOD信息" (按钮_导入说明): for every item without an author that is not marked
// gone and has a PageDocument, records whether the page is live and takes the author, and the
// title and description where those are still empty. Cells go to the row whose 序号 is n.
void ExtractModInformation(const CommandContext& context);

// "获取预览图地址" (按钮_获取预览图信息): for every item without a preview address
// that is not marked gone and has a PageDocument, stores the page's preview address.
void ExtractPreviewAddresses(const CommandContext& context);

}  // namespace kestavel
