#include "find/DateRead.h"

#include <gtest/gtest.h>

#include "support/CatalogueFixture.h"

namespace kestavel {
namespace {

using test::Gbk;

TEST(DateRead, ReadsDateTexts) {
    struct Case {
        const char* cell;
        LocalDateTime date;
    };
    const Case cases[] = {
        {"2015年10月4日12时30分", {2015, 10, 4, 12, 30, 0}},
        {"2015年10月3日14时0分9秒", {2015, 10, 3, 14, 0, 9}},
        {"2015年10月3日", {2015, 10, 3, 0, 0, 0}},
        {"2015-10-04 12:30:00", {2015, 10, 4, 12, 30, 0}},
        {"2015/10/4", {2015, 10, 4, 0, 0, 0}},
        {"2015.1.2", {2015, 1, 2, 0, 0, 0}},
        {"2016-02-29", {2016, 2, 29, 0, 0, 0}},
        {"２０１５／１０／４　１２：３０", {2015, 10, 4, 12, 30, 0}},
        {"2015-10-04 23:59:59秒 whatever", {2015, 10, 4, 23, 59, 59}},
        {"0100-01-01", {100, 1, 1, 0, 0, 0}},
        {"9999-12-31 23:59:59", {9999, 12, 31, 23, 59, 59}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(DateRead(Gbk(c.cell)), c.date);
    }
}

TEST(DateRead, ImpossibleDatesReadAsTheEarliestDate) {
    const char* cells[] = {
        "",
        "abc",
        "2015",
        "2015年",
        "2015-02-29",
        "1900-02-29",
        "2015-13-01",
        "2015-04-31",
        "2015-00-10",
        "2015-10-04 24:00",
        "2015-10-04 12:60",
        "2015-10-04 12:30:60",
        "99-10-04",
        "2015-10-04x",
        "2015-10-04 12:30:00 extra",
        "2015--10-04",
    };
    for (const char* cell : cells) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(DateRead(Gbk(cell)), kEarliestDate);
    }
}

}  // namespace
}  // namespace kestavel
