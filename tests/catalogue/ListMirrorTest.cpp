#include "catalogue/ListMirror.h"

#include <gtest/gtest.h>

#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

// A catalogue written by another SQLite client in the documented layout: GBK blobs, dates as
// text, a logical as 0/1, a date left NULL.
TEST(ListMirror, ShowsAForeignCatalogueInDisplayTexts) {
    test::TempDir dir;
    const std::string path = dir.file("DEVodu.edb");
    test::MakeEmptyCatalogue(path);
    test::RunSql(path,
                 "INSERT INTO ModCatalogue VALUES (1, x'313131', x'B5C0C2B7', x'41', x'', 1,"
                 " x'64', x'', x'', x'', x'', x'', x'', x'', x'4D6F64', x'', x'', x'', "
                 "'2015-10-03 14:05:00');"
                 "INSERT INTO ModCatalogue (\"序号\", \"编码\", \"更新日期\") VALUES "
                 "(2, x'323232', '2015-10-03 14:00:09'), (3, x'333333', '2015-10-03 00:00:00'),"
                 " (4, x'343434', NULL)");
    test::FakeItemList list;
    list.appendRow({GbkText::fromAscii("stale")});
    std::string error;
    ASSERT_TRUE(FillListMirror(list, path, &error)) << error;
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.column(0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(list.column(2)[0], "道路");
    EXPECT_EQ(list.column(5), (std::vector<std::string>{"真", "假", "假", "假"}));
    EXPECT_EQ(list.column(14)[0], "Mod");
    EXPECT_EQ(list.column(18),
              (std::vector<std::string>{"2015年10月3日14时5分", "2015年10月3日14时0分9秒",
                                        "2015年10月3日", ""}));
    for (const auto& row : list.rows) EXPECT_FALSE(row.picked);
}

TEST(ListMirror, AnUnreadableCatalogueLeavesTheListAsItWas) {
    test::TempDir dir;
    test::FakeItemList list;
    list.appendRow({GbkText::fromAscii("kept")});
    std::string error;
    EXPECT_FALSE(FillListMirror(list, dir.file("DEVodu.edb"), &error));
    EXPECT_EQ(list.column(0), std::vector<std::string>{"kept"});
}

}  // namespace
}  // namespace kestavel
