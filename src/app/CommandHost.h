#pragma once

#include <atomic>
#include <functional>

namespace kestavel {

// The commands running in one window and the request that they stop. A window's host may have
// a parent (EditWindow's is MainWindow's): a stop of the parent stops the child's commands too,
// and the parent counts the child's commands as its own, so closing MainWindow waits for all.
class CommandHost {
  public:
    explicit CommandHost(CommandHost* parent = nullptr) : parent_(parent) {}
    CommandHost(const CommandHost&) = delete;
    CommandHost& operator=(const CommandHost&) = delete;

    // Safe from a signal handler: one lock-free store.
    void requestStop() { stop_.store(true, std::memory_order_relaxed); }
    // Once the commands it stopped have ended, for the work that waited for them.
    void clearStop() { stop_.store(false, std::memory_order_relaxed); }
    bool stopRequested() const {
        return stop_.load(std::memory_order_relaxed) || (parent_ && parent_->stopRequested());
    }
    // The flag a signal handler sets (it must outlive the handler's installation).
    std::atomic<bool>& stopFlag() { return stop_; }

    // Commands of this window and of its children now running.
    int running() const { return running_; }

    // Called on the window thread each time the last running command of this host has ended.
    void onIdle(std::function<void()> handler) { idle_ = std::move(handler); }

    // Kept by the command frame for the command's whole run.
    void begin();
    void end();

  private:
    CommandHost* parent_;
    std::atomic<bool> stop_{false};
    int running_ = 0;
    std::function<void()> idle_;
};

}  // namespace kestavel
