#pragma once

#include <chrono>
#include <functional>
#include <mutex>

namespace kestavel {

// A pause of new fetches that a server asked for, shared by all fetches of one command so that
// none of them goes on asking while the server wants a rest. Safe from any thread.
class FetchPause {
  public:
    using Clock = std::chrono::steady_clock;

    // No new fetch starts for `time` from now, unless a longer pause already runs.
    void pauseFor(std::chrono::milliseconds time);
    // What is left of the pause, zero when fetches may start.
    std::chrono::milliseconds remaining() const;
    // Returns once fetches may start (true) or once `stop` answers true (false); `stop` is asked
    // every 50 ms while the pause lasts.
    bool waitOver(const std::function<bool()>& stop) const;

  private:
    mutable std::mutex mutex_;
    Clock::time_point until_{};
};

}  // namespace kestavel
