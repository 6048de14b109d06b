#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

namespace kestavel {

// The results of items 0 to count − 1, made on threads of their own while the caller takes
// them in item order: a command whose items each need a slow read and a write that must stay on
// the window thread gets the two overlapped. At most `depth` (at least 1) items are made ahead
// of the caller, so memory stays bounded however many items there are. The threads are stopped
// and joined when the ReadAhead goes, whether or not every result was taken. `make` runs on
// those threads only, on as many items at once as there are threads, and must not touch the
// window.
template <typename Result>
class ReadAhead {
  public:
    using Make = std::function<Result(std::size_t item)>;

    ReadAhead(std::size_t count, std::size_t depth, std::size_t threads, Make make)
        : depth_(depth),
          batch_(std::max<std::size_t>(1, depth / 4)),
          end_(count),
          make_(std::move(make)),
          slots_(depth) {
        makers_.reserve(threads);
        for (std::size_t t = 0; t < threads; ++t) {
            makers_.emplace_back([this](std::stop_token stop) { run(stop); });
        }
    }
    ~ReadAhead() {
        // Every thread is told first, so none waits for another's join.
        for (std::jthread& maker : makers_) maker.request_stop();
    }
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next item's result, waiting until it is made; what making it threw is thrown here, in
    // its turn. Called at most `count` times.
    Result next() {
        std::unique_lock lock(mutex_);
        // Either side that has to wait waits for a batch, not for one item: a wake-up per item
        // would cost more than many an item does.
        if (made_ == taken_) {
            madeSome_.wait(lock, [this] { return made_ - taken_ >= batch_ || made_ == end_; });
        }
        if (made_ == taken_) std::rethrow_exception(failure_);
        std::optional<Result>& slot = slots_[taken_ % depth_];
        Result result = std::move(*slot);
        slot.reset();
        ++taken_;
        const bool roomForABatch = claimed_ + batch_ == taken_ + depth_;
        lock.unlock();
        if (roomForABatch) room_.notify_all();
        return result;
    }

  private:
    void run(std::stop_token stop) {
        for (;;) {
            std::unique_lock lock(mutex_);
            if (claimed_ == taken_ + depth_) {
                room_.wait(lock, stop, [this] { return claimed_ + batch_ <= taken_ + depth_; });
            }
            // An item nobody takes any more is not made.
            if (stop.stop_requested() || claimed_ >= end_) return;
            const std::size_t item = claimed_++;
            lock.unlock();
            std::optional<Result> result;
            std::exception_ptr failure;
            try {
                result.emplace(make_(item));
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            if (failure) {
                // The items before it are still taken; none after it is.
                if (item < end_) {
                    end_ = item;
                    failure_ = failure;
                }
            } else {
                slots_[item % depth_] = std::move(result);
            }
            const std::size_t before = made_ - taken_;
            // A slot past the claimed items still holds an item not yet taken.
            while (made_ < end_ && made_ < claimed_ && slots_[made_ % depth_]) ++made_;
            const bool batchReady = (before < batch_ && made_ - taken_ >= batch_) || made_ == end_;
            lock.unlock();
            if (batchReady) madeSome_.notify_one();
        }
    }

    const std::size_t depth_;
    const std::size_t batch_;
    std::mutex mutex_;
    std::condition_variable madeSome_;
    std::condition_variable_any room_;
    // Items from `taken_` to `made_` are made and waiting; items up to `claimed_` are being made
    // or made. Making ends at `end_`: the count, or the first item whose making threw.
    std::size_t taken_ = 0;
    std::size_t made_ = 0;
    std::size_t claimed_ = 0;
    std::size_t end_;
    std::exception_ptr failure_;
    const Make make_;
    // Item i's result, once made, until taken.
    std::vector<std::optional<Result>> slots_;
    // Last: the threads start once everything they use is there, and are joined before any of
    // it goes.
    std::vector<std::jthread> makers_;
};

}  // namespace kestavel
