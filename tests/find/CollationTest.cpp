#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestavel {
namespace {

// Texts in the order the locale sorts them, which byte order would not give.
void ExpectKeysInOrder(const Collation& collation, const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
        SCOPED_TRACE(texts[i] + " < " + texts[i + 1]);
        EXPECT_LT(collation.sortKey(texts[i]), collation.sortKey(texts[i + 1]));
    }
}

TEST(Collation, SortKeysOrderAsTheLocaleSortsTexts) {
    const Collation english = Collation::ForLocale("en_US");
    // Letters before case; case still counts, so equal letters in other case are not equal.
    ExpectKeysInOrder(english, {"", "10", "9", "a", "A", "b", "B", "road", "Road", "roads"});
    EXPECT_EQ(english.sortKey("Road"), english.sortKey("Road"));

    // Chinese puts Han characters first, in pinyin order: 乂 (yi) comes before 中 (zhong),
    // though its GBK code is higher.
    const Collation chinese = Collation::ForLocale("zh_CN");
    ExpectKeysInOrder(chinese, {"阿", "乂", "中", "Zoo"});
}

}  // namespace
}  // namespace kestavel
