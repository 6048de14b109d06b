#include "catalogue/WorkshopSettings.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace kestavel {
namespace {

TEST(WorkshopSettings, ReadsTwoLinesWhateverTheLineEnds) {
    struct Case {
        std::string contents;
        std::string folder;
        std::string prefix;
    };
    const Case cases[] = {
        {"/w\nhttp://p/?id=\n", "/w", "http://p/?id="},
        {"/w\r\nhttp://p/?id=\r\n", "/w", "http://p/?id="},
        {"/w\nhttp://p/?id=", "/w", "http://p/?id="},
        {"/w\n", "/w", ""},
        {"/w", "/w", ""},
        {"/w\r\nhttp://p\r\nthird line\r\n", "/w", "http://p"},
        {"", "", ""},
        {"/home/\xE7\x94\xA8\xE6\x88\xB7\n", "/home/用户", ""},  // a UTF-8 path stays as it is
        {"D:\\\xD3\xCE\xCF\xB7\n", "D:\\游戏", ""},              // other bytes are read as GBK
    };
    for (const Case& c : cases) {
        WorkshopSettings settings = WorkshopSettings::parse(c.contents);
        EXPECT_EQ(settings.workshopFolder, c.folder) << c.contents;
        EXPECT_EQ(settings.pagePrefix, c.prefix) << c.contents;
    }
}

TEST(WorkshopSettings, AMissingFileReadsAsNothing) {
    test::TempDir dir;
    EXPECT_FALSE(WorkshopSettings::read(dir.file("VODarer.txt")));
    dir.write("VODarer.txt", "/w\n");
    EXPECT_EQ(WorkshopSettings::read(dir.file("VODarer.txt"))->workshopFolder, "/w");
}

}  // namespace
}  // namespace kestavel
