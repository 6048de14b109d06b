#include "ProgramProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestavel::test {

ProgramProcess::ProgramProcess(const std::string& runDirectory, const std::string& button) {
    int ends[2];
    if (::pipe(ends) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    std::string program = KESTAVEL_DRIVER;
    char* arguments[] = {program.data(), const_cast<char*>(runDirectory.c_str()),
                         const_cast<char*>(button.c_str()), nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, arguments, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    reader_ = std::thread([this, fd = ends[0]] { read(fd); });
}

ProgramProcess::~ProgramProcess() {
    if (pid_ > 0 && !reaped_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (reader_.joinable()) reader_.join();
}

void ProgramProcess::read(int fd) {
    std::string pending;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            const std::size_t tab = line.find('\t');
            std::lock_guard lock(mutex_);
            lines_.emplace_back(line.substr(0, tab),
                                tab == std::string::npos ? "" : line.substr(tab + 1));
            arrived_.notify_all();
        }
    }
    ::close(fd);
}

std::optional<std::string> ProgramProcess::waitFor(
    const std::string& kind, const std::function<bool(const std::string&)>& match,
    std::chrono::milliseconds within) {
    std::unique_lock lock(mutex_);
    std::size_t looked = 0;
    std::optional<std::string> found;
    arrived_.wait_for(lock, within, [&] {
        for (; looked < lines_.size(); ++looked) {
            if (lines_[looked].first == kind && match(lines_[looked].second)) {
                found = lines_[looked].second;
                return true;
            }
        }
        return false;
    });
    return found;
}

void ProgramProcess::signal(int number) {
    if (pid_ > 0) ::kill(pid_, number);
}

std::optional<int> ProgramProcess::waitForExit(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            reaped_ = true;
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

std::vector<std::string> ProgramProcess::lines(const std::string& kind) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> chosen;
    for (const auto& [lineKind, text] : lines_) {
        if (lineKind == kind) chosen.push_back(text);
    }
    return chosen;
}

}  // namespace kestavel::test
