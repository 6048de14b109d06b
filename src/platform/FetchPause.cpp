#include "platform/FetchPause.h"

#include <algorithm>
#include <thread>

namespace kestavel {
namespace {

constexpr std::chrono::milliseconds kStopLook{50};

}  // namespace

void FetchPause::pauseFor(std::chrono::milliseconds time) {
    std::lock_guard<std::mutex> lock(mutex_);
    until_ = std::max(until_, Clock::now() + time);
}

std::chrono::milliseconds FetchPause::remaining() const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until_ - Clock::now());
    return std::max(left, std::chrono::milliseconds{0});
}

bool FetchPause::waitOver(const std::function<bool()>& stop) const {
    for (;;) {
        if (stop && stop()) return false;
        const auto left = remaining();
        if (left.count() == 0) return true;
        std::this_thread::sleep_for(std::min(left, kStopLook));
    }
}

}  // namespace kestavel
