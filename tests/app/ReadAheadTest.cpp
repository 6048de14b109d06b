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

using namespace std::chrono_literals;

namespace {

// Items made in uneven times by several threads finish out of order, many times over the
// depth: the caller still takes every result in item order.
TEST(ReadAhead, ResultsComeInItemOrderFromSeveralThreads) {
    constexpr std::size_t kItems = 600;
    ReadAhead<std::string> results(kItems, 8, 3, [](std::size_t item) {
        if (item % 5 == 0) std::this_thread::sleep_for(100us);
        return std::to_string(item);
    });
    for (std::size_t item = 0; item < kItems; ++item) {
        ASSERT_EQ(results.next(), std::to_string(item));
    }
}

// A caller slower than the threads, leaving after a few of many items: the threads never run
// more than the depth ahead, and the ReadAhead goes at once without making the rest.
TEST(ReadAhead, StaysTheDepthAheadAndStopsWhenLeftEarly) {
    constexpr std::size_t kItems = 1000;
    constexpr std::size_t kDepth = 8;
    constexpr std::size_t kTaken = 10;
    std::atomic<std::size_t> taken = 0;
    std::atomic<std::size_t> made = 0;
    std::atomic<std::size_t> lead = 0;
    {
        ReadAhead<std::size_t> results(kItems, kDepth, 2, [&](std::size_t item) {
            const std::size_t ahead = item - taken;
            std::size_t most = lead;
            while (ahead > most && !lead.compare_exchange_weak(most, ahead)) {
            }
            ++made;
            return item;
        });
        for (std::size_t item = 0; item < kTaken; ++item) {
            EXPECT_EQ(results.next(), item);
            ++taken;
            // Time for threads that ignored the depth to run far ahead.
            std::this_thread::sleep_for(2ms);
        }
    }
    EXPECT_LE(lead.load(), kDepth);
    EXPECT_GE(made.load(), kTaken);
    EXPECT_LE(made.load(), kTaken + kDepth);
}

// What making an item threw reaches the caller after the results of the items before it, even
// when a later item failed first.
TEST(ReadAhead, AFailureComesInItsTurn) {
    ReadAhead<std::size_t> results(10, 8, 2, [](std::size_t item) {
        if (item == 3) {
            std::this_thread::sleep_for(20ms);
            throw std::runtime_error("3");
        }
        if (item == 5) throw std::runtime_error("5");
        return item * 2;
    });
    EXPECT_EQ(results.next(), 0u);
    EXPECT_EQ(results.next(), 2u);
    EXPECT_EQ(results.next(), 4u);
    try {
        results.next();
        ADD_FAILURE() << "item 3 gave a result";
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "3");
    }
}

}  // namespace
}  // namespace kestavel
