#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// "更新网页文档" (EditWindow's 按钮_更新文档): after confirmation, fetches again the saved live
// page of every ticked row whose age in local wall-clock hours lies in the hour window, and
// fetches the page of every ticked row that has none. A fresh copy takes the saved page's place
// in one rename, and only when it is complete and live; a failed or dead fresh copy leaves the
// saved page as it was.
void RefreshPages(const CommandContext& edit);

}  // namespace kestavel
