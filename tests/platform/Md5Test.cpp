#include "platform/Md5.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace kestavel {
namespace {

TEST(Md5, DigestsWholeFiles) {
    test::TempDir dir;
    EXPECT_EQ(Md5OfFile(dir.write("abc", "abc")), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5OfFile(dir.write("empty", "")), "d41d8cd98f00b204e9800998ecf8427e");
    // Larger than one read block, so the blocks are chained.
    EXPECT_EQ(Md5OfFile(dir.write("big", std::string(200000, 'a'))),
              Md5OfFile(dir.write("big2", std::string(200000, 'a'))));
    EXPECT_NE(Md5OfFile(dir.file("big")),
              Md5OfFile(dir.write("big3", std::string(199999, 'a') + "b")));
    EXPECT_FALSE(Md5OfFile(dir.file("missing")));
}

}  // namespace
}  // namespace kestavel
