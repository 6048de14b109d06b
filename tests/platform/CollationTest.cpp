#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestavel {
namespace {

std::string Key(const Collation& collation, std::u16string_view text) {
    std::string key;
    collation.appendSortKey(text, key);
    return key;
}

// Texts in the order the locale sorts them, which the order of their code units would not give.
void ExpectKeysInOrder(const Collation& collation, const std::vector<std::u16string>& texts) {
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_LT(Key(collation, texts[i]), Key(collation, texts[i + 1]));
    }
}

TEST(Collation, SortKeysOrderAsTheLocaleSortsTexts) {
    const Collation english = Collation::ForLocale("en_US");
    // Letters before case; case still counts, so equal letters in other case are not equal.
    ExpectKeysInOrder(english,
                      {u"", u"10", u"9", u"a", u"A", u"b", u"B", u"road", u"Road", u"roads"});
    EXPECT_EQ(Key(english, u"Road"), Key(english, u"Road"));

    // Chinese puts Han characters first, in pinyin order: 乂 (yi) comes before 中 (zhong),
    // though its code is higher.
    const Collation chinese = Collation::ForLocale("zh_CN");
    ExpectKeysInOrder(chinese, {u"阿", u"乂", u"中", u"Zoo"});
}

TEST(Collation, TheUsersLocaleNamesTheOrderAndPosixMeansRoot) {
    const std::pair<const char*, const char*> names[] = {{"zh_CN.UTF-8", "zh_CN"},
                                                         {"de_DE@euro", "de_DE"},
                                                         {"C", ""},
                                                         {"POSIX", ""},
                                                         {"C.UTF-8", ""},
                                                         {"", ""}};
    for (const auto& [posix, icu] : names) EXPECT_EQ(Collation::IcuLocaleOf(posix), icu) << posix;
    // Root order is not code-point order: "b" comes before "C" and "é" before "f".
    const Collation root = Collation::ForLocale("");
    ExpectKeysInOrder(root, {u"a", u"b", u"C", u"é", u"f"});
}

TEST(Collation, KeysAppendToOneBuffer) {
    const Collation chinese = Collation::ForLocale("zh_CN");
    std::u16string longText;
    for (int i = 0; i < 300; ++i) longText += u"道路Road";
    std::string keys = "prefix";
    chinese.appendSortKey(u"道路", keys);
    chinese.appendSortKey(longText, keys);
    EXPECT_EQ(keys, "prefix" + Key(chinese, u"道路") + Key(chinese, longText));
    EXPECT_LT(Key(chinese, longText), Key(chinese, longText + u"a"));
    EXPECT_LT(Key(chinese, longText.substr(0, 600)), Key(chinese, longText));
}

}  // namespace
}  // namespace kestavel
