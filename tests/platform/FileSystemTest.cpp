#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

TEST(FileSystem, ReadsWritesAndSizesFiles) {
    test::TempDir dir;
    const std::string file = dir.file("a.txt");
    EXPECT_LT(FileSize(file), 0);
    EXPECT_FALSE(ReadWholeFile(file));
    ASSERT_TRUE(WriteWholeFile(file, std::string("ab\0c", 4)));
    EXPECT_EQ(FileSize(file), 4);
    EXPECT_EQ(*ReadWholeFile(file), std::string("ab\0c", 4));
    EXPECT_LT(FileSize(dir.path()), 0);  // a folder has no file size
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(PathExists(file));
    EXPECT_FALSE(DeleteFile(file));
}

TEST(FileSystem, MoveRefusesAnExistingTargetAndCopyReplacesIt) {
    test::TempDir dir;
    const std::string from = dir.write("from", "new");
    const std::string to = dir.write("to", "old");
    EXPECT_FALSE(MoveFile(from, to));
    EXPECT_EQ(*ReadWholeFile(to), "old");
    EXPECT_TRUE(PathExists(from));

    EXPECT_TRUE(CopyFile(from, to));
    EXPECT_EQ(*ReadWholeFile(to), "new");

    const std::string moved = dir.file("moved");
    EXPECT_TRUE(MoveFile(from, moved));
    EXPECT_FALSE(PathExists(from));
    EXPECT_EQ(*ReadWholeFile(moved), "new");
    EXPECT_FALSE(MoveFile(dir.file("missing"), dir.file("elsewhere")));
}

TEST(FileSystem, ListsDirectoriesAndPatterns) {
    test::TempDir dir;
    dir.makeFolder("100");
    dir.makeFolder("200");
    dir.makeFolder(".hidden");
    dir.write("plain.txt", "x");
    dir.write("100_pic1.JPG", "x");

    auto folders = ListDirectory(dir.path(), ListFilter::DirectoriesOnly, "*.*");
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::string>{".hidden", "100", "200"}));

    auto pictures = ListDirectory(dir.path(), ListFilter::Everything, "100_pic*.jpg");
    EXPECT_EQ(pictures, (std::vector<std::string>{"100_pic1.JPG"}));

    EXPECT_TRUE(ListDirectory(dir.file("missing"), ListFilter::Everything).empty());
}

TEST(FileSystem, TellsFoldersFromLinksToFolders) {
    test::TempDir dir;
    const std::string folder = dir.makeFolder("folder");
    const std::string file = dir.write("file", "x");
    ASSERT_EQ(::symlink(folder.c_str(), dir.file("folder-link").c_str()), 0);
    ASSERT_EQ(::symlink(file.c_str(), dir.file("file-link").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("gone").c_str(), dir.file("broken-link").c_str()), 0);

    std::map<std::string, EntryKind> kinds;
    ForEachDirectoryEntryKind(dir.path(), [&](std::string_view name, EntryKind kind) {
        kinds.emplace(std::string(name), kind);
    });
    EXPECT_EQ(kinds,
              (std::map<std::string, EntryKind>{{"broken-link", EntryKind::Other},
                                                {"file", EntryKind::Other},
                                                {"file-link", EntryKind::Other},
                                                {"folder", EntryKind::Directory},
                                                {"folder-link", EntryKind::LinkToDirectory}}));
}

// Folders named by GBK bytes (copied from a Chinese Windows) are found from their UTF-8 text.
TEST(FileSystem, APathIsTakenByTheNamesItHasOnDisk) {
    test::TempDir dir;
    const std::string workshop = "创意工坊";
    const std::string item = "道路";
    const std::string gbkWorkshop = Utf8ToGbk(workshop).bytes();
    const std::string gbkItem = Utf8ToGbk(item).bytes();
    ASSERT_NE(gbkWorkshop, workshop);
    dir.makeFolder(gbkWorkshop);
    dir.makeFolder(gbkWorkshop + "/" + gbkItem);
    dir.makeFolder(gbkWorkshop + "/" + item);  // a UTF-8 name beside a GBK one is taken as it is
    dir.makeFolder("文件夹");
    const std::string root = dir.path();
    struct Case {
        std::string given;
        std::string found;
    };
    const std::vector<Case> cases = {
        {root + "/文件夹", root + "/文件夹"},
        {root + "/" + workshop, root + "/" + gbkWorkshop},
        {root + "/" + workshop + "/", root + "/" + gbkWorkshop},
        {root + "/" + workshop + "/" + item, root + "/" + gbkWorkshop + "/" + item},
        {root + "/" + gbkWorkshop + "/" + gbkItem, root + "/" + gbkWorkshop + "/" + gbkItem},
        {root + "/无此文件夹/" + item, root + "/无此文件夹/" + item},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PathAsOnDisk(c.given), c.found) << c.given;
    // Only the GBK-named folder: its UTF-8 text finds it.
    dir.makeFolder(gbkWorkshop + "/" + Utf8ToGbk("桥梁").bytes());
    EXPECT_EQ(PathAsOnDisk(root + "/" + workshop + "/桥梁"),
              root + "/" + gbkWorkshop + "/" + Utf8ToGbk("桥梁").bytes());
}

TEST(FileSystem, MatchesWildcards) {
    EXPECT_TRUE(MatchesWildcard("anything", "*"));
    EXPECT_TRUE(MatchesWildcard("1_pic12.jpg", "1_pic*.jpg"));
    EXPECT_TRUE(MatchesWildcard("ab", "a?"));
    EXPECT_FALSE(MatchesWildcard("a", "a?"));
    EXPECT_FALSE(MatchesWildcard("1_pic12.jpeg", "1_pic*.jpg"));
    EXPECT_TRUE(MatchesWildcard("a.b.c", "*.c"));
}

TEST(FileSystem, JoinsWithOneSeparator) {
    EXPECT_EQ(JoinPath("/w", "1"), "/w/1");
    EXPECT_EQ(JoinPath("/w/", "1"), "/w/1");
    EXPECT_EQ(JoinPath("", "1"), "1");
}

TEST(FileSystem, CreatesOneLevelAndReadsLocalWriteTime) {
    test::TempDir dir;
    EXPECT_TRUE(CreateDirectory(dir.file("one")));
    EXPECT_TRUE(CreateDirectory(dir.file("one")));
    EXPECT_FALSE(CreateDirectory(dir.file("two/three")));

    const std::string file = dir.write("f", "x");
    auto stamp = LastWriteTime(file);
    ASSERT_TRUE(stamp);
    LocalDateTime now = NowLocal();
    EXPECT_EQ(stamp->year, now.year);
    EXPECT_FALSE(LastWriteTime(dir.file("missing")));
}

TEST(FileSystem, FindsItsOwnExecutableDirectory) {
    const std::string folder = ExecutableDirectory();
    EXPECT_TRUE(IsDirectory(folder));
    EXPECT_NE(folder.back(), '/');
}

}  // namespace
}  // namespace kestavel

namespace kestavel {
namespace {

TEST(FileSystem, WritesAtomicallyAndReplacesInOneStep) {
    test::TempDir dir;
    const std::string file = dir.write("picture.jpg", "old");
    ASSERT_TRUE(WriteFileAtomically(file, "new"));
    EXPECT_EQ(*ReadWholeFile(file), "new");
    EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything),
              std::vector<std::string>{"picture.jpg"});
    // Seen like any other file afterwards, not private as a temporary file would be.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(dir.file("new.jpg"), "x"));
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("new.jpg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    ASSERT_TRUE(DeleteFile(dir.file("new.jpg")));
    EXPECT_FALSE(WriteFileAtomically(dir.file("missing/picture.jpg"), "x"));
    EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything).size(), 1u);

    const std::string other = dir.write("other.jpg", "other");
    EXPECT_TRUE(ReplaceFile(other, file));
    EXPECT_EQ(*ReadWholeFile(file), "other");
    EXPECT_FALSE(PathExists(other));
}

TEST(FileSystem, CountsWholeHoursSinceTheLastWrite) {
    test::TempDir dir;
    const std::string file = dir.write("f", "x");
    const std::pair<long, std::int64_t> cases[] = {
        {59 * 60, 0}, {61 * 60, 1}, {48 * 3600, 48}, {-30, -1}};
    for (const auto& [secondsAgo, hours] : cases) {
        const std::time_t when = std::time(nullptr) - secondsAgo;
        utimbuf times{when, when};
        ASSERT_EQ(::utime(file.c_str(), &times), 0);
        // The tests run in UTC, where the wall clock counts the time elapsed.
        EXPECT_EQ(WallClockHoursSinceLastWrite(file), hours) << secondsAgo;
    }
    EXPECT_FALSE(WallClockHoursSinceLastWrite(dir.file("missing")));
}

// Sets the process's time zone for one test.
class ZoneScope {
  public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneScope() {
        if (old_) {
            ::setenv("TZ", old_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

  private:
    std::optional<std::string> old_;
};

std::time_t Utc(int year, int month, int day, int hour, int minute) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    return ::timegm(&parts);
}

TEST(Clock, WallClockHoursFollowTheLocalClockAcrossDaylightSavingChanges) {
    // Central European time, its changes written out so that no zone database is needed.
    ZoneScope zone("CET-1CEST,M3.5.0,M10.5.0/3");
    struct Case {
        std::time_t from;
        std::time_t to;
        std::int64_t hours;
    };
    const Case cases[] = {
        // 01:30 CET to 04:30 CEST: two hours elapse, the clock moves three.
        {Utc(2024, 3, 31, 0, 30), Utc(2024, 3, 31, 2, 30), 3},
        // 02:30 CEST to 03:30 CET: two hours elapse, the clock moves one.
        {Utc(2024, 10, 27, 0, 30), Utc(2024, 10, 27, 2, 30), 1},
        {Utc(2024, 7, 1, 10, 0), Utc(2024, 7, 1, 10, 59), 0},
        {Utc(2024, 7, 1, 10, 0), Utc(2024, 7, 3, 11, 0), 49},
        {Utc(2024, 12, 31, 23, 0), Utc(2025, 1, 1, 1, 0), 2},  // across the year's end
        {Utc(2024, 7, 1, 10, 0), Utc(2024, 7, 1, 9, 59), -1},  // stamped in the future
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WallClockHoursBetween(c.from, c.to), c.hours) << c.from << " to " << c.to;
    }
}

}  // namespace
}  // namespace kestavel
