#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// What MainWindow does while it is created: test that the catalogue and then the settings file
// exist, read the settings into their boxes and fill the list mirror. False when a message was
// shown and the program must end.
bool PrepareMainWindow(const CommandContext& context);

// The missing-file test of the commands that reopen the run files later (">" and others):
// false after the message, when the program must end.
bool RunFilesPresent(const CommandContext& context);

}  // namespace kestavel
