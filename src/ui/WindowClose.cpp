#include "ui/WindowClose.h"

#include "app/CommandHost.h"
#include "ui/WindowCopy.h"

namespace kestavel {

bool MayCloseNow(CommandHost& host, WindowCopy& copy, bool& closing) {
    // A copy from this window runs exactly while its copy button is disabled.
    if (!closing && !copy.allowClose()) return false;
    closing = true;
    if (host.running() == 0) return true;
    // No window is destroyed under its command: it keeps what it did and ends first.
    host.requestStop();
    return false;
}

}  // namespace kestavel
