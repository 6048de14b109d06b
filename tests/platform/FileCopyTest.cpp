#include "platform/FileCopy.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <cstdint>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

// Bytes that differ from position to position, so a chunk written twice or out of place shows.
std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 2463534242u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state);
    }
    return bytes;
}

using Calls = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

CopyProgress Recorder(Calls& calls) {
    return [&calls](std::uint64_t done, std::uint64_t total) { calls.emplace_back(done, total); };
}

TEST(FileCopy, CopiesEverySizeWholeAndReportsProgressUpToTheTotal) {
    test::TempDir dir;
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{4096}, (std::size_t{9} << 20) + 3}) {
        const std::string contents = Pattern(size);
        const std::string from = dir.write("from.bin", contents);
        const std::string to = dir.file("to.bin");
        Calls calls;
        ASSERT_EQ(CopyFileInChunks(from, to, Recorder(calls)), CopyResult::Copied) << size;
        EXPECT_EQ(*ReadWholeFile(to), contents) << size;
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), std::make_pair(std::uint64_t{0}, std::uint64_t{size}));
        EXPECT_EQ(calls.back().first, size);
        EXPECT_EQ(PercentDone(calls.back().first, calls.back().second), 100) << size;
        for (std::size_t i = 1; i < calls.size(); ++i) {
            EXPECT_GT(calls[i].first, calls[i - 1].first) << size;
        }
        // Nothing but the two files is left behind.
        EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything).size(), 2u) << size;
    }
}

TEST(FileCopy, ReplacesAnExistingTargetAndKeepsModeAndWriteTime) {
    test::TempDir dir;
    const std::string from = dir.write("from.txt", "new contents");
    ASSERT_EQ(::chmod(from.c_str(), 0640), 0);
    const utimbuf times{1444000000, 1444000000};
    ASSERT_EQ(::utime(from.c_str(), &times), 0);
    const std::string to = dir.write("to.txt", "old contents that were longer");

    ASSERT_EQ(CopyFileInChunks(from, to, {}), CopyResult::Copied);
    EXPECT_EQ(*ReadWholeFile(to), "new contents");
    struct stat copied {};
    ASSERT_EQ(::stat(to.c_str(), &copied), 0);
    EXPECT_EQ(copied.st_mode & 0777, 0640u);
    EXPECT_EQ(copied.st_mtime, 1444000000);
}

TEST(FileCopy, AStopBetweenChunksRemovesTheTemporaryFileAndKeepsTheOldTarget) {
    test::TempDir dir;
    const std::string from = dir.write("big.bin", Pattern(std::size_t{12} << 20));
    const std::string to = dir.write("big-copy.bin", "old");
    std::stop_source stop;
    int calls = 0;
    const auto stopAfterFirstChunk = [&](std::uint64_t done, std::uint64_t) {
        ++calls;
        if (done > 0) stop.request_stop();
    };
    EXPECT_EQ(CopyFileInChunks(from, to, stopAfterFirstChunk, stop.get_token()),
              CopyResult::Stopped);
    EXPECT_EQ(calls, 2);  // the start and one chunk, no more
    EXPECT_EQ(*ReadWholeFile(to), "old");
    EXPECT_EQ(ListDirectory(dir.path(), ListFilter::Everything).size(), 2u);

    // A stop asked for before the start touches nothing at all.
    const std::string fresh = dir.file("fresh.bin");
    EXPECT_EQ(CopyFileInChunks(from, fresh, {}, stop.get_token()), CopyResult::Stopped);
    EXPECT_FALSE(PathExists(fresh));
}

TEST(FileCopy, FailsWithoutLeavingAnythingForSourcesAndTargetsThatCannotServe) {
    test::TempDir dir;
    const std::string file = dir.write("file.txt", "x");
    const std::string folder = dir.makeFolder("folder");
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("missing.txt"), dir.file("a.txt")},
        {folder, dir.file("b.txt")},
        {pipe, dir.file("c.txt")},  // fails at once instead of waiting for a writer
        {file, dir.file("no-such-folder/d.txt")},
        {file, folder},  // a folder is not replaced by a file
    };
    for (const auto& [from, to] : cases) {
        EXPECT_EQ(CopyFileInChunks(from, to, {}), CopyResult::Failed) << from << " -> " << to;
    }
    auto left = ListDirectory(dir.path(), ListFilter::Everything);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"file.txt", "folder", "pipe"}));
    EXPECT_TRUE(ListDirectory(folder, ListFilter::Everything).empty());
}

TEST(FileCopy, PercentIsRoundedDownAndAnEmptyFileIsDone) {
    const struct {
        std::uint64_t done, total;
        int percent;
    } cases[] = {{0, 0, 100}, {0, 10, 0}, {1, 3, 33}, {2, 3, 66}, {99, 100, 99}, {5, 5, 100}};
    for (const auto& c : cases) {
        EXPECT_EQ(PercentDone(c.done, c.total), c.percent) << c.done << "/" << c.total;
    }
}

}  // namespace
}  // namespace kestavel
