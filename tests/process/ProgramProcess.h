#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kestavel::test {

// The program driver run as a child process: its output lines are collected as they come, and
// the test can wait for one, send a signal and wait for the exit.
class ProgramProcess {
  public:
    ProgramProcess(const std::string& runDirectory, const std::string& button);
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // The first output line (without its kind) of this kind for which `match` holds; nothing
    // when none came within the time.
    std::optional<std::string> waitFor(const std::string& kind,
                                       const std::function<bool(const std::string&)>& match,
                                       std::chrono::milliseconds within);
    void signal(int number);
    // The exit status; nothing when the process did not end in time (it is then killed) or
    // ended by a signal.
    std::optional<int> waitForExit(std::chrono::milliseconds within);
    // Every line of this kind seen so far.
    std::vector<std::string> lines(const std::string& kind) const;

  private:
    void read(int fd);

    int pid_ = -1;
    bool reaped_ = false;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::pair<std::string, std::string>> lines_;
};

}  // namespace kestavel::test
