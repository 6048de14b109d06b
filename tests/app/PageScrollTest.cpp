#include "app/PageScroll.h"

#include <gtest/gtest.h>

#include "support/FakePorts.h"

namespace kestavel {
namespace {

// Scrolling past the row and back (row k + P, then k) puts it on top; near the end the last row
// is made visible first so the last page shows. Rows are counted from 1, the list from 0.
TEST(PageScroll, GoesPastTheRowOrToTheLastPage) {
    struct Case {
        int rows;
        int k;
        int page;
        std::vector<int> madeVisible;
    };
    const Case cases[] = {
        {100, 10, 24, {33, 9}},   // 90 rows follow: past and back
        {100, 76, 24, {99, 75}},  // 24 follow: going past reaches the last row
        {100, 77, 24, {99, 76}},  // 23 follow: the last page
        {30, 5, 19, {23, 4}},    {30, 20, 19, {29, 19}},
        {30, 31, 19, {}},  // beyond the list: nothing
        {30, 0, 19, {}},
    };
    for (const Case& c : cases) {
        test::FakeItemList list(1);
        for (int r = 0; r < c.rows; ++r) list.appendRow({});
        ScrollToPage(list, c.k, c.page);
        EXPECT_EQ(list.madeVisible, c.madeVisible) << c.rows << "/" << c.k << "/" << c.page;
    }
}

}  // namespace
}  // namespace kestavel
