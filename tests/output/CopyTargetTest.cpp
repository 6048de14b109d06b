#include "output/CopyTarget.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "support/TempDir.h"

namespace kestavel {
namespace {

TEST(CopyTarget, RefusesTheWorkshopFolderAndAnyFolderInsideAPickedItem) {
    test::TempDir dir;
    const std::string workshop = dir.makeFolder("workshop");
    dir.makeFolder("workshop/100/sub");
    dir.makeFolder("workshop/200");
    dir.makeFolder("elsewhere");
    ASSERT_EQ(::symlink(dir.file("workshop/100").c_str(), dir.file("link-to-100").c_str()), 0);
    const std::vector<std::string> ids = {"100", "300"};

    const struct {
        std::string target;
        bool refused;
    } cases[] = {
        {workshop, true},
        {workshop + "/", true},
        {dir.file("elsewhere/../workshop"), true},
        {workshop + "/100", true},
        {workshop + "/100/sub", true},
        {workshop + "/100/not-yet/made", true},
        {dir.file("link-to-100/sub"), true},
        {workshop + "/300", true},    // picked, even with no folder yet
        {workshop + "/200", false},   // not picked
        {workshop + "/1000", false},  // only a common beginning of the name
        {dir.file("elsewhere"), false},
        {dir.path(), false},
        {dir.file("missing/deeper"), false},
    };
    for (const auto& c : cases) {
        const auto refusal = CopyTargetRefusal(c.target, workshop, ids);
        EXPECT_EQ(refusal.has_value(), c.refused) << c.target;
        if (refusal) {
            EXPECT_NE(refusal->find(c.target), std::string::npos) << *refusal;
        }
    }
}

}  // namespace
}  // namespace kestavel
