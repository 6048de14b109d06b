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

// "\xC4\xA3\xD0\xA1" reads as UTF-8 (ģС) and as GBK (模小): the folder that exists decides.
TEST(WorkshopSettings, AFolderLineOfTwoReadingsTakesTheOneThatExists) {
    test::TempDir dir;
    const std::string bytes = dir.path() + "/\xC4\xA3\xD0\xA1";
    const std::string asGbk = dir.path() + "/模小";
    EXPECT_EQ(WorkshopSettings::parse(bytes).workshopFolder, bytes);  // neither: UTF-8
    dir.makeFolder("模小");
    EXPECT_EQ(WorkshopSettings::parse(bytes).workshopFolder, asGbk);
    dir.makeFolder("\xC4\xA3\xD0\xA1");
    EXPECT_EQ(WorkshopSettings::parse(bytes).workshopFolder, bytes);  // both: UTF-8
}

TEST(WorkshopSettings, AMissingFileReadsAsNothing) {
    test::TempDir dir;
    EXPECT_FALSE(WorkshopSettings::read(dir.file("VODarer.txt")));
    dir.write("VODarer.txt", "/w\n");
    EXPECT_EQ(WorkshopSettings::read(dir.file("VODarer.txt"))->workshopFolder, "/w");
}

}  // namespace
}  // namespace kestavel
