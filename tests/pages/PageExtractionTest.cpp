#include "pages/PageExtraction.h"

#include <gtest/gtest.h>

#include <string>

#include "WorkshopPage.h"
#include "platform/CodePage.h"
#include "support/CatalogueFixture.h"

namespace kestavel {
namespace {

using test::Gbk;

ModInformation Extract(std::string page, bool title = true, bool description = true) {
    auto document = PageDocument::fromBytes(std::move(page));
    return ExtractModInformation(*document, title, description);
}

std::string Address(std::string page) {
    auto document = PageDocument::fromBytes(std::move(page));
    return ExtractPreviewAddress(*document);
}

TEST(TitleCut, RoadSignsAndTheThirtyThreeByteLine) {
    EXPECT_EQ(CutTitle("<title>Steam Workshop :: Road Signs</title>"), "Road Signs");
    const std::string empty = "<title>Steam Workshop :: </title>";
    ASSERT_EQ(empty.size(), 33u);
    EXPECT_EQ(CutTitle(empty), "");
    EXPECT_EQ(CutTitle("<title>Steam Workshop :: X</title>"), "X");
    EXPECT_EQ(CutTitle("short"), "");
}

TEST(AuthorCut, MainWayFromTheAppIdMarkerToTheLastSixteenBytes) {
    EXPECT_EQ(CutAuthor("\t\t<div class=\"linkAuthor\"><a href=\"https://steamcommunity.com/id/"
                        "someone/myworkshopfiles/?appid=255710\">Someone</a></div></div>"),
              "Someone");
    // No "appid=255710\">" in the line: an empty author.
    EXPECT_EQ(CutAuthor("<div class=\"linkAuthor\"><a href=\"https://x/\">Someone</a></div></div>"),
              "");
    // The marker is found without regard to case, and the cut never reaches before it.
    EXPECT_EQ(CutAuthor("<div class=\"linkAuthor\">APPID=255710\">Ab</a></div></div>"), "Ab");
    EXPECT_EQ(CutAuthor("<div class=\"linkAuthor\">appid=255710\">"), "");
}

TEST(AuthorCut, FallbackIsTheNextLineWithoutItsLastFourBytes) {
    EXPECT_EQ(CutFallbackAuthor("Someone<br>"), "Someone");
    EXPECT_EQ(CutFallbackAuthor("<br>"), "");
    EXPECT_EQ(CutFallbackAuthor("ab"), "");
}

TEST(DescriptionCut, FromTheFirstQuoteBracketToTheLastSixBytes) {
    EXPECT_EQ(CutDescription("\t\t\t<div class=\"workshopItemDescription\" id=\"highlightContent\">"
                             "Line one<br>Line two</div>"),
              "Line one<br>Line two");
    EXPECT_EQ(CutDescription("<a b=\"c\">x\">y</div>"), "x\">y");  // the first "\">" counts
    EXPECT_EQ(CutDescription("no marker here</div>"), "");
}

TEST(AddressCut, WithoutTheFirst28AndTheLast20Bytes) {
    const std::string line = "<link rel=\"image_src\" href=\"http://127.0.0.1:1/ugc/1/AB/"
                             "?imw=200&imh=200\" />";
    EXPECT_EQ(CutPreviewAddress(line), "http://127.0.0.1:1/ugc/1/AB/");
    const std::string shortLine = "<link rel=\"image_src\" href=\"" + std::string(20, 'x');
    ASSERT_EQ(shortLine.size(), 48u);
    EXPECT_EQ(CutPreviewAddress(shortLine), "");
    EXPECT_EQ(CutPreviewAddress(shortLine + "y"), "x");  // byte 29, the last 20 dropped
}

TEST(DescriptionSplit, SixHundredBytesFillThreePieces) {
    const GbkText description = GbkText::fromBytes(std::string(600, 'd'));
    const DescriptionPieces pieces = SplitDescription(description);
    EXPECT_EQ(pieces[0].size(), 256u);
    EXPECT_EQ(pieces[1].size(), 256u);
    EXPECT_EQ(pieces[2].size(), 88u);
    for (int i = 3; i < 8; ++i) EXPECT_TRUE(pieces[static_cast<std::size_t>(i)].empty()) << i;
}

TEST(DescriptionSplit, ExactByteBoundariesAndTheLimit) {
    // A double-byte character across the first boundary is split between the two pieces.
    std::string bytes(255, 'a');
    bytes += Gbk("道").bytes();
    const DescriptionPieces pieces = SplitDescription(GbkText::fromBytes(bytes));
    EXPECT_EQ(pieces[0].size(), 256u);
    EXPECT_EQ(pieces[1].size(), 1u);
    EXPECT_EQ(pieces[0].bytes().back(), Gbk("道").bytes()[0]);
    // Past 2048 bytes the rest is lost.
    const DescriptionPieces full = SplitDescription(GbkText::fromBytes(std::string(3000, 'z')));
    for (const GbkText& piece : full) EXPECT_EQ(piece.size(), 256u);
}

const char kLivePage[] =
    "<html>\r\n"
    "<title>Steam Workshop :: Road Signs</title>\r\n"
    "<script>\r\n"
    "\tvar session_id = \"0123\";\r\n"
    "</script>\r\n"
    "\t\t<div class=\"linkAuthor\"><a href=\"https://steamcommunity.com/id/someone/"
    "myworkshopfiles/?appid=255710\">Someone</a></div></div>\r\n"
    "\t\t<div class=\"detailBox altFooter\">\r\n"
    "\t\t\t<div class=\"workshopItemDescriptionTitle\">Description</div>\r\n"
    "\t\t\t<div class=\"workshopItemDescription\" id=\"highlightContent\">Adds signs.<br>Nice."
    "</div>\r\n"
    "</html>\r\n";

TEST(ModInformationPage, LivePageGivesAuthorTitleAndDescription) {
    const ModInformation info = Extract(kLivePage);
    EXPECT_TRUE(info.live);
    EXPECT_EQ(info.author, GbkText::fromAscii("Someone"));
    ASSERT_TRUE(info.title);
    EXPECT_EQ(*info.title, GbkText::fromAscii("Road Signs"));
    ASSERT_TRUE(info.description);
    EXPECT_EQ(*info.description, GbkText::fromAscii("Adds signs.<br>Nice."));
}

TEST(ModInformationPage, TitleAndDescriptionOnlyWhenWanted) {
    const ModInformation info = Extract(kLivePage, false, false);
    EXPECT_EQ(info.author, GbkText::fromAscii("Someone"));
    EXPECT_FALSE(info.title);
    EXPECT_FALSE(info.description);
}

TEST(ModInformationPage, DeadPageStillGivesItsPieces) {
    std::string page = kLivePage;
    page.replace(page.find("var session_id"), 14, "var other_name");
    const ModInformation info = Extract(page);
    EXPECT_FALSE(info.live);
    EXPECT_EQ(info.author, GbkText::fromAscii("Someone"));
    EXPECT_EQ(*info.title, GbkText::fromAscii("Road Signs"));
}

TEST(ModInformationPage, FallbackAuthorSomeoneWithAFourByteTag) {
    const ModInformation info = Extract(
        "var session_id\n<div class=\"friendBlockContent\">\nSomeone<br>\n<span>Offline</span>\n");
    EXPECT_EQ(info.author, GbkText::fromAscii("Someone"));
    EXPECT_FALSE(info.title);
    EXPECT_FALSE(info.description);
}

TEST(ModInformationPage, FriendBlockContentOnTheLastLineGivesAnEmptyAuthor) {
    EXPECT_TRUE(Extract("var session_id\n\t<div class=\"friendBlockContent\">").author.empty());
    // A line feed after it still leaves no line to follow.
    EXPECT_TRUE(Extract("var session_id\n\t<div class=\"friendBlockContent\">\r\n").author.empty());
}

TEST(ModInformationPage, TheMainWayWinsOverTheFallbackEvenWhenItGivesNothing) {
    const ModInformation info =
        Extract("<div class=\"friendBlockContent\">\nFallback<br>\n"
                "<div class=\"linkAuthor\"><a href=\"https://x/\">NoAppId</a></div></div>\n");
    EXPECT_TRUE(info.author.empty());
}

TEST(ModInformationPage, ATitleWithACharacterGbkLacksIsEmptyAndTheAuthorStays) {
    // U+1F6A6 (vertical traffic light) has no GBK form.
    const ModInformation info =
        Extract("<title>Steam Workshop :: Traffic \xF0\x9F\x9A\xA6 Lights</title>\n"
                "<div class=\"linkAuthor\">?appid=255710\">Someone</a></div></div>\n");
    ASSERT_TRUE(info.title);
    EXPECT_TRUE(info.title->empty());
    EXPECT_EQ(info.author, GbkText::fromAscii("Someone"));
}

TEST(ModInformationPage, ChineseTextIsConvertedToGbk) {
    const ModInformation info =
        Extract("<title>Steam Workshop :: 中式园林</title>\n"
                "<div class=\"linkAuthor\">appid=255710\">江南工作室</a></div></div>\n"
                "<div class=\"detailBox altFooter\">\n\n<div id=\"h\">一行<br>二行</div>\n");
    EXPECT_EQ(*info.title, Gbk("中式园林"));
    EXPECT_EQ(info.author, Gbk("江南工作室"));
    EXPECT_EQ(*info.description, Gbk("一行<br>二行"));
}

TEST(ModInformationPage, TruncatedUtf8ConvertsToEmptyText) {
    const ModInformation info =
        Extract("<title>Steam Workshop :: Road \xE4\xB8</title>\n");
    ASSERT_TRUE(info.title);
    EXPECT_TRUE(info.title->empty());
}

TEST(ModInformationPage, DescriptionMarkerWithoutTwoLinesAfterItGivesAnEmptyDescription) {
    const ModInformation info = Extract("<div class=\"detailBox altFooter\">\nonly one line\n");
    ASSERT_TRUE(info.description);
    EXPECT_TRUE(info.description->empty());
}

TEST(ModInformationPage, SixHundredByteDescription) {
    const std::string description(600, 'w');
    const ModInformation info = Extract("<div class=\"detailBox altFooter\">\n\n<div x=\"y\">" +
                                        description + "</div>\n");
    EXPECT_EQ(info.description->size(), 600u);
}

TEST(ModInformationPage, WorkshopFixturePage) {
    workshop::ItemPage item;
    item.description = std::string(600, 'x');
    item.previewBase = "http://127.0.0.1:1/ugc/1/AB/";
    const std::string bytes = workshop::BuildItemPage(item);
    EXPECT_GT(bytes.size(), 140u * 1024);
    const ModInformation info = Extract(bytes);
    EXPECT_TRUE(info.live);
    EXPECT_EQ(info.author, GbkText::fromAscii("Someone"));
    EXPECT_EQ(*info.title, GbkText::fromAscii("Road Signs"));
    EXPECT_EQ(info.description->size(), 600u);
    EXPECT_EQ(Address(bytes), "http://127.0.0.1:1/ugc/1/AB/");

    // Without the breadcrumb line, the creator block names the author.
    item.linkAuthor = false;
    item.author = "Creator Only";
    EXPECT_EQ(Extract(workshop::BuildItemPage(item)).author, GbkText::fromAscii("Creator Only"));

    EXPECT_FALSE(Extract(workshop::BuildRemovedItemPage("9")).live);
    EXPECT_EQ(Address(workshop::BuildRemovedItemPage("9")), "");
}

TEST(PreviewAddressPage, ALineOpeningWithTheLinkComesBeforeAnIndentedOne) {
    const std::string tail = "?imw=200&imh=200\" />";
    EXPECT_EQ(Address("<html>\n<LINK REL=\"IMAGE_SRC\" HREF=\"http://a/b/" + tail + "\n"),
              "http://a/b/");
    // Alone, an indented link is read up to its query.
    EXPECT_EQ(Address("\t<link rel=\"image_src\" href=\"http://a/b/" + tail + "\n"), "http://a/b/");
    EXPECT_EQ(Address("    <link rel=\"image_src\" href=\"http://a/b/" + tail + "\n"),
              "http://a/b/");
    EXPECT_EQ(Address("\t<link rel=\"image_src\" href=\"http://tab/" + tail +
                      "\n<link rel=\"image_src\" href=\"http://second/" + tail + "\n"),
              "http://second/");
    EXPECT_EQ(Address("no link here\n"), "");
}

TEST(PreviewAddressPage, TheAddressIsStoredAsItStands) {
    // Character references and non-ASCII bytes stay as they are in the page.
    const std::string address = "http://a/ugc/1/%E4%B8%AD&amp;\xE4\xB8\xAD/";
    EXPECT_EQ(Address("<link rel=\"image_src\" href=\"" + address + "?imw=200&imh=200\" />\r\n"),
              address);
}

TEST(PreviewAddressPage, A48ByteLinkLineGivesAnEmptyAddress) {
    const std::string line = "<link rel=\"image_src\" href=\"" + std::string(20, 'q');
    ASSERT_EQ(line.size(), 48u);
    EXPECT_EQ(Address(line + "\n<link rel=\"image_src\" href=\"http://later/?imw=200&imh=200\" />\n"),
              "");
}

}  // namespace
}  // namespace kestavel
