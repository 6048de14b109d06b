#pragma once

#include <memory>
#include <string>

namespace kestavel {

// One program per run folder: an exclusive lock on a file beside the catalogue. The system
// releases it on any exit, so a lock file left by a killed program is simply taken over.
class RunLock {
  public:
    enum class Outcome {
        Taken,
        HeldElsewhere,  // another program holds it
        Unavailable,    // the lock file cannot be opened (a read-only folder): run unguarded
    };
    static constexpr const char* kFileName = "DEVodu.edb.lock";

    static std::unique_ptr<RunLock> take(const std::string& runDirectory, Outcome* outcome);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

  private:
    explicit RunLock(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace kestavel
