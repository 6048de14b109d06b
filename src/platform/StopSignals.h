#pragma once

#include <atomic>

namespace kestavel {

// SIGTERM, SIGHUP and SIGINT no longer end the program at once: each sets the flag (read by
// the running command between items) and makes the returned descriptor readable, so the window
// thread learns of it in its event loop. Gives -1 when the signals could not be taken over.
int InstallStopSignals(std::atomic<bool>* flag);

// Reads what the signals wrote, so the descriptor is quiet again.
void DrainStopSignals(int fd);

}  // namespace kestavel
