#include "platform/RunLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.h"

namespace kestavel {

std::unique_ptr<RunLock> RunLock::take(const std::string& runDirectory, Outcome* outcome) {
    const std::string path = JoinPath(runDirectory, kFileName);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *outcome = Outcome::Unavailable;
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        *outcome = held ? Outcome::HeldElsewhere : Outcome::Unavailable;
        return nullptr;
    }
    *outcome = Outcome::Taken;
    return std::unique_ptr<RunLock>(new RunLock(fd));
}

RunLock::~RunLock() {
    ::close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace kestavel
