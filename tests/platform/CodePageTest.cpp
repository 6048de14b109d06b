#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace kestavel {
namespace {

TEST(CodePage, ConvertsToGbkStrictly) {
    struct Case {
        std::string utf8;
        std::string gbk;
    };
    const Case cases[] = {
        {"Road Signs", "Road Signs"},
        {"中文", "\xD6\xD0\xCE\xC4"},
        {"", ""},
        {"\xF0\x9F\x98\x80 smile", ""},  // a character GBK lacks empties the whole text
        {"abc\xE4\xB8", ""},             // truncated UTF-8
        {"\xFF\xFE", ""},                // not UTF-8 at all
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToGbk(c.utf8).bytes(), c.gbk) << c.utf8;
    }
    GbkText out = GbkText::fromAscii("kept");
    EXPECT_FALSE(TryUtf8ToGbk("\xF0\x9F\x98\x80", out));
    EXPECT_EQ(out.bytes(), "kept");
}

TEST(CodePage, ShowsGbkAsUtf8AndMarksBrokenBytes) {
    EXPECT_EQ(GbkToUtf8(GbkText::fromBytes("\xD6\xD0\xCE\xC4")), "中文");
    // A lone lead byte in the middle and at the end each become one replacement character.
    EXPECT_EQ(GbkToUtf8(GbkText::fromBytes("a\xFF"
                                           "b\xD6")),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

TEST(CodePage, OneDecoderServesManyTexts) {
    GbkDecoder decoder;
    std::string utf8 = "stale";
    std::u16string utf16 = u"stale";
    // A text that ends inside a character must not spoil the next one.
    const GbkText texts[] = {GbkText::fromBytes("\xD6\xD0\xCE"), GbkText::fromBytes("\xCE\xC4x"),
                             GbkText(),
                             GbkText::fromBytes("a\xFF"
                                                "b")};
    const std::string asUtf8[] = {"中\xEF\xBF\xBD", "文x", "",
                                  "a\xEF\xBF\xBD"
                                  "b"};
    const std::u16string asUtf16[] = {u"中\uFFFD", u"文x", u"", u"a\uFFFDb"};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        SCOPED_TRACE(i);
        decoder.toUtf8(texts[i], utf8);
        EXPECT_EQ(utf8, asUtf8[i]);
        EXPECT_EQ(utf8, GbkToUtf8(texts[i]));
        decoder.toUtf16(texts[i], utf16);
        EXPECT_EQ(utf16, asUtf16[i]);
    }
}

TEST(CodePage, RecognisesValidUtf8) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("/home/用户/steam"));
    EXPECT_FALSE(IsValidUtf8("\xD6\xD0\xCE\xC4"));  // GBK bytes
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));          // truncated
}

}  // namespace
}  // namespace kestavel
