// The several-field write of ModCatalogue, which the extraction commands use to store an item's
// fields in one statement.
#include <gtest/gtest.h>

#include "catalogue/ModCatalogue.h"
#include "support/CatalogueFixture.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

TEST(CatalogueWriteMany, WritesEveryFieldOfTheCurrentRecordAndOnlyThose) {
    test::TempDir dir;
    const std::string path = dir.file("DEVodu.edb");
    test::MakeEmptyCatalogue(path);
    auto catalogue = ModCatalogue::open(path, nullptr);
    ASSERT_TRUE(catalogue);
    catalogue->addRecord(1, GbkText::fromAscii("111"));
    catalogue->addRecord(2, GbkText::fromAscii("222"));
    ASSERT_TRUE(catalogue->goToRecord(2));
    ASSERT_TRUE(catalogue->write({{Field::Author, GbkText::fromAscii("Someone")},
                                  {Field::Gone, true},
                                  {Field::Description2, GbkText::fromAscii("second")},
                                  {Field::Author, GbkText::fromAscii("Later wins")}}));
    // The same set of fields again reuses its statement.
    ASSERT_TRUE(catalogue->goToRecord(1));
    ASSERT_TRUE(catalogue->write({{Field::Author, GbkText::fromAscii("First")},
                                  {Field::Gone, false},
                                  {Field::Description2, GbkText::fromAscii("d2")}}));
    EXPECT_TRUE(catalogue->write({}));
    catalogue->close();

    catalogue = ModCatalogue::open(path, nullptr);
    ASSERT_TRUE(catalogue->goToRecord(2));
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Author)), GbkText::fromAscii("Later wins"));
    EXPECT_TRUE(std::get<bool>(catalogue->read(Field::Gone)));
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Description2)),
              GbkText::fromAscii("second"));
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Code)), GbkText::fromAscii("222"));
    EXPECT_TRUE(std::get<GbkText>(catalogue->read(Field::Name)).empty());
    ASSERT_TRUE(catalogue->goToRecord(1));
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Author)), GbkText::fromAscii("First"));
    EXPECT_EQ(std::get<GbkText>(catalogue->read(Field::Description2)), GbkText::fromAscii("d2"));
}

TEST(CatalogueWriteMany, FailsWithoutACurrentRecord) {
    test::TempDir dir;
    const std::string path = dir.file("DEVodu.edb");
    test::MakeEmptyCatalogue(path);
    auto catalogue = ModCatalogue::open(path, nullptr);
    EXPECT_FALSE(catalogue->write({{Field::Author, GbkText::fromAscii("x")}}));
}

}  // namespace
}  // namespace kestavel
