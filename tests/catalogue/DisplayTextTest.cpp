#include "catalogue/DisplayText.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace kestavel {
namespace {

TEST(DisplayText, WritesEveryKindOfValue) {
    struct Case {
        FieldValue value;
        std::string shown;
    };
    using Date = std::optional<LocalDateTime>;
    const Case cases[] = {
        {std::int64_t{7}, "7"},
        {std::int64_t{0}, "0"},
        {GbkText::fromAscii("Road Signs"), "Road Signs"},
        {true, "真"},
        {false, "假"},
        {Date(LocalDateTime{2015, 10, 3, 14, 5, 0}), "2015年10月3日14时5分"},
        {Date(LocalDateTime{2015, 10, 3, 14, 0, 9}), "2015年10月3日14时0分9秒"},
        {Date(LocalDateTime{2015, 10, 3, 14, 5, 9}), "2015年10月3日14时5分9秒"},
        {Date(LocalDateTime{2015, 10, 3, 14, 0, 0}), "2015年10月3日14时"},
        {Date(LocalDateTime{2015, 10, 3, 0, 5, 0}), "2015年10月3日0时5分"},
        {Date(LocalDateTime{2015, 10, 3, 0, 0, 0}), "2015年10月3日"},
        {Date(), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(GbkToUtf8(DisplayText(c.value)), c.shown);
}

}  // namespace
}  // namespace kestavel
