#include "find/CellMatch.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "support/CatalogueFixture.h"

namespace kestavel {
namespace {

using test::Gbk;

GbkText Bytes(std::string bytes) {
    return GbkText::fromBytes(std::move(bytes));
}

TEST(CellMatch, ExactAndFuzzyRules) {
    struct Case {
        GbkText subject;
        GbkText search;
        bool exact;
        bool fuzzy;
    };
    const Case cases[] = {
        {Gbk("abc"), Gbk("abc"), true, true},
        {Gbk("ABC"), Gbk("abc"), false, true},
        {Gbk("ABC Studio"), Gbk("abc"), false, true},
        {Gbk("xAbCx"), Gbk("abc"), false, true},
        {Gbk("ab"), Gbk("abc"), false, false},
        {Gbk("a-b"), Gbk("A-B"), false, true},
        // Only A to Z fold; other bytes compare exactly.
        {Gbk("[x]"), Gbk("{x}"), false, false},
        {Gbk("道路"), Gbk("道路"), true, true},
        {Gbk("高速道路"), Gbk("道路"), false, true},
        {Gbk("道路Pack"), Gbk("路p"), false, true},
        // Full-width letters are characters of their own and never fold.
        {Gbk("ＡＢＣ"), Gbk("ａｂｃ"), false, false},
        // 丄 is 81 41 and 乤 is 81 61: second bytes that read as A and a are not letters.
        {Gbk("丄"), Gbk("乤"), false, false},
        // A one-byte text found only as a second byte of a character does not match.
        {Gbk("丄"), Gbk("A"), false, false},
        {Gbk("x丄"), Gbk("a"), false, false},
        {Gbk("丄A"), Gbk("a"), false, true},
        // B0 A1 is 啊; A1 B0 occurs across its two characters but starts on a second byte.
        {Gbk("啊啊"), Bytes("\xA1\xB0"), false, false},
        // The empty text occurs in every non-empty subject and in no empty one.
        {Gbk("x"), GbkText(), false, true},
        {GbkText(), GbkText(), false, false},
        {GbkText(), Gbk("a"), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(GbkToUtf8(c.subject) + " / " + GbkToUtf8(c.search));
        EXPECT_EQ(CellMatch(c.subject, c.search, false), c.exact);
        EXPECT_EQ(CellMatch(c.subject, c.search, true), c.fuzzy);
    }
}

}  // namespace
}  // namespace kestavel
