#include "output/ItemTree.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace kestavel {
namespace {

using Paths = std::vector<std::string>;

TEST(ItemTree, ListsAFolderBeforeItsSubfoldersAndItsFilesAfterEverythingBelow) {
    test::TempDir dir;
    dir.write("100/top.txt", "t");
    dir.write("100/a/a.txt", "a");
    dir.write("100/a/b/b.txt", "b");
    dir.makeFolder("100/a/b/empty");
    // A link back up would make the walk endless if it were followed; a link to a file is a file.
    ASSERT_EQ(::symlink(dir.file("100").c_str(), dir.file("100/a/b/up").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("100/top.txt").c_str(), dir.file("100/a/b/top-link").c_str()), 0);

    ItemTree tree;
    GatherItemTree(dir.path(), "100", tree);
    GatherItemTree(dir.path(), "missing", tree);
    EXPECT_EQ(tree.folders, (Paths{"100/a", "100/a/b", "100/a/b/empty"}));
    std::sort(tree.files.begin(), tree.files.begin() + 2);  // the file system orders b's files
    EXPECT_EQ(tree.files,
              (Paths{"100/a/b/b.txt", "100/a/b/top-link", "100/a/a.txt", "100/top.txt"}));
}

TEST(ItemTree, TakesOnlyPlainFolderNamesAsItems) {
    for (const char* name : {"100", "123456789", ".hidden", "a b"}) {
        EXPECT_TRUE(IsItemFolderName(name)) << name;
    }
    for (const char* name : {"", ".", "..", "../100", "100/sub", "/abs"}) {
        EXPECT_FALSE(IsItemFolderName(name)) << name;
    }
}

}  // namespace
}  // namespace kestavel
