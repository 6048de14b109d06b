#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

#include "app/Button.h"
#include "app/ProgressBar.h"
#include "app/WindowPoster.h"

namespace kestavel::test {

class FakeProgressBar : public ProgressBar {
  public:
    void setMaximum(int newMaximum) override { maximum = newMaximum; }
    void setValue(int newValue) override { value = newValue; }
    void setVisible(bool on) override { visible = on; }
    int maximum = 100;
    int value = 0;
    bool visible = false;
};

class FakeButton : public Button {
  public:
    void setEnabled(bool on) override { enabled = on; }
    bool isEnabled() const override { return enabled; }
    bool enabled = true;
};

// Work posted from other threads waits in a queue until the test runs it on its own thread, as
// the window thread would. In lockstep the posting thread also waits until its work has run, so
// the test decides how far the worker gets.
class FakeWindowPoster : public WindowPoster {
  public:
    void post(std::function<void()> work) override {
        std::unique_lock lock(mutex_);
        queue_.push_back(std::move(work));
        const std::uint64_t ticket = ++posted_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !lockstep_ || ran_ >= ticket; });
    }

    void setLockstep(bool on) {
        std::lock_guard lock(mutex_);
        lockstep_ = on;
        changed_.notify_all();
    }

    // Runs posted work, waiting for more, until done() holds; false when it does not in time.
    bool pumpUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            std::function<void()> work;
            {
                std::unique_lock lock(mutex_);
                if (!changed_.wait_until(lock, deadline, [&] { return !queue_.empty(); })) {
                    return false;
                }
                work = std::move(queue_.front());
                queue_.pop_front();
            }
            work();
            std::lock_guard lock(mutex_);
            ++ran_;
            changed_.notify_all();
        }
        return true;
    }

    // Runs the work waiting now, without waiting for more.
    void pumpWaiting() {
        pumpUntil([this] {
            std::lock_guard lock(mutex_);
            return queue_.empty();
        });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    std::uint64_t posted_ = 0;
    std::uint64_t ran_ = 0;
    bool lockstep_ = false;
};

}  // namespace kestavel::test
