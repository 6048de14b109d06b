#include "find/WholeNumber.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/CatalogueFixture.h"

namespace kestavel {
namespace {

using test::Gbk;

WholeNumber Read(std::string_view utf8, int decimalPlaces = 0) {
    return ReadWholeNumber(Gbk(utf8), decimalPlaces);
}

TEST(WholeNumber, ReadsTheNumberACellBeginsWith) {
    struct Case {
        const char* cell;
        int decimalPlaces;
        const char* same;  // plain digits of the expected value
    };
    const Case cases[] = {
        {"12.3", 0, "12"},     {"12.9", 0, "12"},    {"-12.9", 0, "-12"},  {"  42abc", 0, "42"},
        {"+7", 0, "7"},        {"1.5e3", 0, "1500"}, {"15E-1", 0, "1"},    {"2e", 0, "2"},
        {"3e+", 0, "3"},       {".75", 4, "7500"},   {"1.25", 4, "12500"}, {"1.2", 4, "12000"},
        {"0.00009", 4, "0"},   {"-0.5", 0, "0"},     {"000123", 0, "123"}, {"１２３", 0, "123"},
        {"－４．５", 0, "-4"}, {"　８", 0, "8"},     {"", 0, "0"},         {"abc", 0, "0"},
        {".", 0, "0"},         {"-", 0, "0"},        {"1,000", 0, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(Read(c.cell, c.decimalPlaces), Read(c.same));
    }
}

TEST(WholeNumber, OrdersByValueHoweverLong) {
    // Ascending; ids past 32 and 64 bits and far longer texts keep their numeric order.
    const std::vector<std::string> ascending = {
        "-100000000000000000000000",
        "-9223372036854775809",
        "-10",
        "-9",
        "0",
        "9",
        "10",
        "2147483647",
        "2147483648",
        "4294967296",
        "9223372036854775807",
        "9223372036854775808",
        "18446744073709551616",
        "1e20",
        "100000000000000000001",
        "1234567890123456789012345",
        "1234567890123456789012346",
        "1234567890123456789100000",
        "123456789012345678901234567890",
        "1e40",
        "1e1000000",
    };
    for (std::size_t i = 0; i + 1 < ascending.size(); ++i) {
        SCOPED_TRACE(ascending[i] + " < " + ascending[i + 1]);
        EXPECT_LT(Read(ascending[i]), Read(ascending[i + 1]));
        EXPECT_GT(Read(ascending[i + 1]), Read(ascending[i]));
    }
    EXPECT_EQ(Read("123456789012345678901234567890.9"), Read("123456789012345678901234567890"));
    EXPECT_EQ(Read("1e40"), Read("10000000000000000000000000000000000000000"));
    EXPECT_EQ(Read("1234567890123456789010000"), Read("123456789012345678901e4"));
    EXPECT_EQ(Read("-1234567890123456789012345.6"), Read("-1234567890123456789012345"));
}

}  // namespace
}  // namespace kestavel
