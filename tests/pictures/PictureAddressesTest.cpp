#include "pictures/PictureAddresses.h"

#include <gtest/gtest.h>

#include "WorkshopPage.h"
#include "pages/PageDocument.h"

namespace kestavel {
namespace {

TEST(PictureAddressesTest, ALineGivesItsFirstAddressCutAfterSixPieces) {
    struct Case {
        const char* line;
        std::string_view marker;
        std::optional<std::string> address;
    };
    const Case cases[] = {
        {"\t<img src=\"https://steamuserimages-a.akamaihd.net/ugc/123/ABC/?imw=637\"/>",
         kImageHostBase, "https://steamuserimages-a.akamaihd.net/ugc/123/ABC/"},
        // The line's own letters stand in the address.
        {"'HTTPS://SteamUserImages-A.akamaihd.NET/ugc/1/Ab/' );", kImageHostBase,
         "HTTPS://SteamUserImages-A.akamaihd.NET/ugc/1/Ab/"},
        {"x https://cloud-3.steamusercontent.com/ugc/9/EF/pic.jpg", kCloudAddressPrefix,
         "https://cloud-3.steamusercontent.com/ugc/9/EF/"},
        // The sixth piece may end the line.
        {"src=https://images.steamusercontent.com/ugc/7/CD", kCurrentImageHostBase,
         "https://images.steamusercontent.com/ugc/7/CD/"},
        {"a https://images.steamusercontent.com/ugc/1/A/ b https://images.steamusercontent.com/"
         "ugc/2/B/",
         kCurrentImageHostBase, "https://images.steamusercontent.com/ugc/1/A/"},
        // Five pieces make no address.
        {"https://steamuserimages-a.akamaihd.net/ugc/123", kImageHostBase, std::nullopt},
        {"<div class=\"workshopItemTitle\">Road</div>", kImageHostBase, std::nullopt},
        // The static host of the page furniture is not the cloud host.
        {"<link href=\"https://community.cloudflare.steamstatic.com/public/css/a.css\">",
         kCloudAddressPrefix, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutPictureAddress(c.line, c.marker), c.address) << c.line;
    }
}

// Every picture stands on three lines of a workshop page (the enlarge link, the picture and its
// strip thumbnail), in both the 2015 layout and today's.
TEST(PictureAddressesTest, APageGivesEachPictureOnceCloudFirstThenTheImageHosts) {
    const std::string akamai1 = "https://steamuserimages-a.akamaihd.net/ugc/11/AAA/";
    const std::string cloud = "https://cloud-3.steamusercontent.com/ugc/22/BBB/";
    const std::string today = "https://images.steamusercontent.com/ugc/33/CCC/";
    const std::string akamai2 = "https://steamuserimages-a.akamaihd.net/ugc/44/DDD/";
    for (auto layout : {workshop::PageLayout::Classic, workshop::PageLayout::Current,
                        workshop::PageLayout::Current2025}) {
        workshop::ItemPage item;
        item.layout = layout;
        item.pictures = {akamai1, cloud, today, akamai2};
        auto page = PageDocument::fromBytes(workshop::BuildItemPage(item));
        EXPECT_EQ(PictureAddresses(*page, kPictureAddressMarkers),
                  (std::vector<std::string>{cloud, akamai1, akamai2, today}))
            << static_cast<int>(layout);
    }
}

TEST(PictureAddressesTest, RepeatsCountLetterCaseAndAPageWithoutPicturesGivesNone) {
    auto page = PageDocument::fromBytes(
        "<a href=\"https://images.steamusercontent.com/ugc/1/ab/\">\r\n"
        "<a href=\"https://images.steamusercontent.com/ugc/1/AB/\">\r\n"
        "<a href=\"https://images.steamusercontent.com/ugc/1/ab/\">");
    EXPECT_EQ(PictureAddresses(*page, kPictureAddressMarkers),
              (std::vector<std::string>{"https://images.steamusercontent.com/ugc/1/ab/",
                                        "https://images.steamusercontent.com/ugc/1/AB/"}));
    auto bare = PageDocument::fromBytes(workshop::BuildItemPage({}));
    EXPECT_TRUE(PictureAddresses(*bare, kPictureAddressMarkers).empty());
}

}  // namespace
}  // namespace kestavel
