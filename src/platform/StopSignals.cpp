#include "platform/StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace kestavel {
namespace {

std::atomic<bool>* gFlag = nullptr;
int gWriteEnd = -1;

static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only store lock-free");

extern "C" void OnStopSignal(int) {
    const int saved = errno;
    if (gFlag) gFlag->store(true, std::memory_order_relaxed);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gWriteEnd, &byte, 1);
    errno = saved;
}

}  // namespace

int InstallStopSignals(std::atomic<bool>* flag) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    gFlag = flag;
    gWriteEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
    return ends[0];
}

void DrainStopSignals(int fd) {
    char bytes[64];
    while (::read(fd, bytes, sizeof bytes) > 0) {
    }
}

}  // namespace kestavel
