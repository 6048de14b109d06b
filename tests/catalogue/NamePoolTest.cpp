#include "catalogue/NamePool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestavel {
namespace {

TEST(NamePoolTest, KeepsEachNameWhole) {
    NamePool pool;
    for (const char* name : {"3000000001", "", "道路", "a"}) pool.push_back(name);
    ASSERT_EQ(pool.size(), 4u);
    EXPECT_EQ(pool[0], "3000000001");
    EXPECT_EQ(pool[1], "");
    EXPECT_EQ(pool[2], "道路");
    EXPECT_EQ(pool[3], "a");
    EXPECT_FALSE(pool.isAscii());
}

// Names that tie on their first eight bytes, prefixes of each other, and bytes above 0x7F,
// which must sort after every ASCII byte.
TEST(NamePoolTest, OrderIsThatOfTheBytes) {
    const std::vector<std::string> names = {
        "3000000010",   "300000001", "30000000", "3000000001", "3000000",   "道路",
        "\xFF",         "Zoo",       "zoo",      "abcdefgh",   "abcdefghi", "abcdefgh\x01",
        "abcdefgg\xFF", "1",         "10",       "9",          "\x7F",      "abcdefgi"};
    NamePool pool;
    for (const std::string& name : names) pool.push_back(name);
    std::vector<std::string> ordered;
    for (std::uint32_t i : BytewiseOrder(pool)) ordered.emplace_back(pool[i]);

    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
            });
    });
    EXPECT_EQ(ordered, expected);
}

}  // namespace
}  // namespace kestavel
