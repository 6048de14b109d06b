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

// The UTF-8 form of one UTF-16 unit outside the surrogates.
std::string Utf8Of(char16_t unit) {
    std::string utf8;
    if (unit < 0x80) {
        utf8 += static_cast<char>(unit);
    } else if (unit < 0x800) {
        utf8 += static_cast<char>(0xC0 | (unit >> 6));
        utf8 += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        utf8 += static_cast<char>(0xE0 | (unit >> 12));
        utf8 += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (unit & 0x3F));
    }
    return utf8;
}

TEST(CodePage, EveryDoubleByteCharacterDecodesAlikeToUtf16AndUtf8) {
    // Two decodings of each pair between two ASCII letters, so a pair that is no character
    // shows how the bytes around it fare.
    GbkDecoder decoder;
    std::u16string utf16;
    std::string utf8;
    int characters = 0;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0x30; trail <= 0xFF; ++trail) {
            const GbkText text = GbkText::fromBytes(
                std::string{'a', static_cast<char>(lead), static_cast<char>(trail), 'z'});
            decoder.toUtf16(text, utf16);
            decoder.toUtf8(text, utf8);
            std::string again;
            for (const char16_t unit : utf16) again += Utf8Of(unit);
            ASSERT_EQ(again, utf8) << std::hex << lead << " " << trail;
            if (utf16.size() == 3 && utf16[1] != u'\uFFFD') ++characters;
        }
    }
    EXPECT_GT(characters, 20000);  // GBK holds some 21,800 double-byte characters
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
