#include "app/ReadAhead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <thread>

namespace kestavel {
namespace {

// A caller slower than the thread, leaving after a few of many items: the results come in item
// order, the thread never runs more than the depth ahead, and the ReadAhead goes at once
// without making the rest.
TEST(ReadAhead, StaysTheDepthAheadAndStopsWhenLeftEarly) {
    constexpr std::size_t kItems = 1000;
    constexpr std::size_t kDepth = 4;
    constexpr std::size_t kTaken = 10;
    std::atomic<std::size_t> taken = 0;
    std::atomic<std::size_t> made = 0;
    std::atomic<std::size_t> lead = 0;
    {
        ReadAhead<std::string> results(kItems, kDepth, [&](std::size_t item) {
            const std::size_t ahead = item - taken;
            lead = std::max(lead.load(), ahead);
            ++made;
            return std::to_string(item);
        });
        for (std::size_t item = 0; item < kTaken; ++item) {
            EXPECT_EQ(results.next(), std::to_string(item));
            ++taken;
            // Time for a thread that ignored the depth to run far ahead.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    EXPECT_LE(lead.load(), kDepth);
    EXPECT_GE(made.load(), kTaken);
    EXPECT_LE(made.load(), kTaken + kDepth);
}

// What making an item threw reaches the caller after the results made before it.
TEST(ReadAhead, AFailureComesInItsTurn) {
    ReadAhead<std::size_t> results(10, 4, [](std::size_t item) {
        if (item == 3) throw std::runtime_error("unreadable");
        return item * 2;
    });
    EXPECT_EQ(results.next(), 0u);
    EXPECT_EQ(results.next(), 2u);
    EXPECT_EQ(results.next(), 4u);
    EXPECT_THROW(results.next(), std::runtime_error);
}

}  // namespace
}  // namespace kestavel
