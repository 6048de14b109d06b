#pragma once

#include "app/Dialogs.h"
#include "app/EventPump.h"
#include "app/Shell.h"
#include "platform/HttpClient.h"

namespace kestavel {

// What a window needs from outside its widgets; the program passes the Qt ones, tests scripted
// fakes.
struct WindowServices {
    Dialogs* dialogs;
    EventPump* pump;
    Shell* shell;
    // How the windows' commands fetch (tests choose short time-outs).
    HttpOptions httpOptions = {};
};

}  // namespace kestavel
