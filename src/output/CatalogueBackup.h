#pragma once

#include <string>

#include "app/Dialogs.h"
#include "app/TextBox.h"
#include "platform/LocalDateTime.h"

namespace kestavel {

// "备份" in MainWindow: after a save dialog and a question, copies the catalogue into the chosen
// file, replacing it. The copy is one consistent state of the catalogue, even of one that a crash
// left with a journal, and the chosen file changes only once the copy is whole. now gives the
// default name its stamp.
void CatalogueBackup(const std::string& runDirectory, Dialogs& dialogs, TextBox& resultBox,
                     const LocalDateTime& now);

}  // namespace kestavel
