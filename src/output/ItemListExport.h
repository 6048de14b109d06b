#pragma once

#include <string>

#include "app/Dialogs.h"
#include "app/TextBox.h"
#include "platform/LocalDateTime.h"

namespace kestavel {

// "生成MOD列表" in MainWindow: after a save dialog and two questions, writes one line per
// catalogue record, in stored order, into a GBK text file: "| ", the display text and a tab for
// each of 序号, 编码, 名称, 作者, 更新日期, 主分类 and 明细分类1 to 3, and 描述1 to 8 when asked
// for. The file is written under a temporary name and then put in place of the chosen one.
// workshopFolder is the text of MainWindow's workshop folder box; now gives the default name its
// stamp.
void ItemListExport(const std::string& runDirectory, const std::string& workshopFolder,
                    Dialogs& dialogs, TextBox& resultBox, const LocalDateTime& now);

}  // namespace kestavel
