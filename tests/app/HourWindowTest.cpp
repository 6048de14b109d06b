#include "app/HourWindow.h"

#include <gtest/gtest.h>

namespace kestavel {
namespace {

TEST(HourWindow, ReadsTheLeadingDigitsOnly) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"", 0},   {"24", 24}, {"24h", 24}, {" 5", 0},
        {"-5", 0}, {"abc", 0}, {"007", 7},  {"99999999999999999999999", INT64_MAX},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(LeadingWholeNumber(text), value) << text;
}

TEST(HourWindow, AdmitsAgesInsideTheWindow) {
    struct Case {
        const char* least;
        const char* most;
        std::int64_t age;
        bool admitted;
    };
    const Case cases[] = {
        {"", "", 0, true},      {"", "", 100000, true}, {"24", "48", 23, false},
        {"24", "48", 24, true}, {"24", "48", 48, true}, {"24", "48", 49, false},
        {"5", "", 5, false},    {"5", "0", 100, false}, {"", "3", 2, true},
        {"", "3", 4, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HourWindow::read(c.least, c.most).admits(c.age), c.admitted)
            << c.least << "/" << c.most << " age " << c.age;
    }
}

TEST(HourWindow, RaisesTheUpperBoundToOneAboveTheLower) {
    EXPECT_EQ(RaisedUpperBound("5", "3"), "6");
    EXPECT_EQ(RaisedUpperBound("5", ""), "6");
    EXPECT_EQ(RaisedUpperBound("5", "5"), "6");
    EXPECT_EQ(RaisedUpperBound("5", "6"), std::nullopt);
    EXPECT_EQ(RaisedUpperBound("", "3"), std::nullopt);
    EXPECT_EQ(RaisedUpperBound("0", ""), std::nullopt);
}

}  // namespace
}  // namespace kestavel
