#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <utility>

namespace kestavel {

// The results of items 0 to count − 1, made in item order on a thread of their own while the
// caller works through them: a command whose items each need a slow read and a write that must
// stay on the window thread gets the two overlapped. The thread keeps at most `depth` (at least
// 1) results waiting, so memory stays bounded however many items there are. It is stopped and
// joined when the ReadAhead goes, whether or not every result was taken; `make` runs on that
// thread only, and must not touch the window.
template <typename Result>
class ReadAhead {
  public:
    using Make = std::function<Result(std::size_t item)>;

    ReadAhead(std::size_t count, std::size_t depth, Make make)
        : depth_(depth),
          batch_(std::max<std::size_t>(1, depth / 4)),
          maker_([this, count, make = std::move(make)](std::stop_token stop) {
              run(count, make, stop);
          }) {}
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next item's result, waiting until it is made; what making it threw is thrown here, in
    // its turn. Called at most `count` times.
    Result next() {
        std::unique_lock lock(mutex_);
        // Either side that has to wait waits for a batch, not for one result: a wake-up per
        // item would cost more than many an item does.
        if (ready_.empty()) made_.wait(lock, [this] { return ready_.size() >= batch_ || ended_; });
        if (ready_.empty()) std::rethrow_exception(failure_);
        Result result = std::move(ready_.front());
        ready_.pop_front();
        const bool roomForABatch = ready_.size() == depth_ - batch_;
        lock.unlock();
        if (roomForABatch) taken_.notify_one();
        return result;
    }

  private:
    void run(std::size_t count, const Make& make, std::stop_token stop) {
        try {
            for (std::size_t item = 0; item < count; ++item) {
                {
                    std::unique_lock lock(mutex_);
                    if (ready_.size() == depth_) {
                        taken_.wait(lock, stop,
                                    [this] { return ready_.size() <= depth_ - batch_; });
                    }
                    // A result nobody takes any more is not made.
                    if (stop.stop_requested()) break;
                }
                Result result = make(item);
                std::unique_lock lock(mutex_);
                ready_.push_back(std::move(result));
                const bool batchReady = ready_.size() == batch_;
                lock.unlock();
                if (batchReady) made_.notify_one();
            }
        } catch (...) {
            std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
        }
        made_.notify_one();
    }

    const std::size_t depth_;
    const std::size_t batch_;
    std::mutex mutex_;
    std::condition_variable made_;
    std::condition_variable_any taken_;
    std::deque<Result> ready_;
    bool ended_ = false;
    std::exception_ptr failure_;
    // Last: the thread starts once everything it uses is there, and is stopped and joined before
    // any of it goes.
    std::jthread maker_;
};

}  // namespace kestavel
