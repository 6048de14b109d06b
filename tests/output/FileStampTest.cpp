#include "output/FileStamp.h"

#include <gtest/gtest.h>

namespace kestavel {
namespace {

TEST(FileStamp, WritesEveryPartButTheYearInTwoDigits) {
    const struct {
        LocalDateTime when;
        const char* stamp;
    } cases[] = {
        {{2015, 10, 4, 9, 30, 7}, "2015_10_04_0930_07"},
        {{2016, 1, 2, 0, 0, 0}, "2016_01_02_0000_00"},
        {{1999, 12, 31, 23, 59, 59}, "1999_12_31_2359_59"},
    };
    for (const auto& c : cases) EXPECT_EQ(FileStamp(c.when), c.stamp);
}

}  // namespace
}  // namespace kestavel
