#pragma once

#include <functional>
#include <string>

#include "app/BusyState.h"
#include "app/Dialogs.h"
#include "app/TextBox.h"

namespace kestavel {

// What MainWindow does around the swap of the catalogue file. Before it: close EditWindow and
// PictureWindow without asking, and stop their commands, so nothing holds the catalogue. After
// it: fill the list mirror again from the catalogue, whether or not the swap succeeded.
struct RestoreWindowSteps {
    std::function<void()> beforeSwap;
    std::function<void()> afterSwap;
};

// "恢复" in MainWindow: after an open dialog, a check that the chosen file is a catalogue and a
// question, replaces the catalogue by a copy of the chosen file within the busy state. The copy
// is made beside the catalogue and put in its place in one step, so the catalogue is always
// either the old one or the new one, whole. A file that is not a catalogue is refused, naming it,
// and changes nothing; choosing the catalogue itself changes nothing either.
void CatalogueRestore(const std::string& runDirectory, Dialogs& dialogs, TextBox& resultBox,
                      BusyState& busy, const RestoreWindowSteps& steps);

}  // namespace kestavel
