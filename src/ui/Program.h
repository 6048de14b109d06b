#pragma once

#include <functional>
#include <string>

#include "ui/WindowServices.h"

namespace kestavel {

class MainWindow;

// Runs Kestavel in its run folder until MainWindow has closed: start-up, the stop signals and
// the event loop. `started` sees MainWindow once it is shown. Gives the program's exit status.
int RunProgram(const std::string& runDirectory, WindowServices services,
               const std::function<void(MainWindow&)>& started = {});

}  // namespace kestavel
