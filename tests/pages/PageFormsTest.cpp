// Saved pages of the 2015 layout and of today's: every reading gives on the old layout what it
// always gave, and reads today's forms where the old ones give nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DemoItems.h"
#include "PagesTestSupport.h"
#include "WorkshopPage.h"
#include "WorkshopServer.h"
#include "pages/CategoryReading.h"
#include "pages/PageCommands.h"
#include "pages/PageExtraction.h"
#include "pictures/PreviewCommands.h"
#include "pictures/PreviewFiles.h"
#include "platform/HttpClient.h"
#include "support/ShortTimeouts.h"

namespace kestavel {
namespace {

using test::Gbk;
using workshop::PageLayout;

ModInformation Info(const std::string& bytes) {
    auto page = PageDocument::fromBytes(bytes);
    return ExtractModInformation(*page, true, true);
}

std::string Address(const std::string& bytes) {
    auto page = PageDocument::fromBytes(bytes);
    return ExtractPreviewAddress(*page);
}

CategoryReading Categories(const std::string& bytes) {
    auto page = PageDocument::fromBytes(bytes);
    return ReadCategoriesAndDate(*page, 2024);
}

std::string Show(const std::optional<GbkText>& text) {
    return text ? "[" + GbkToUtf8(*text) + "]" : "none";
}

std::string Show(const std::optional<LocalDateTime>& date) {
    if (!date) return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", date->year, date->month, date->day,
                  date->hour, date->minute);
    return text;
}

std::string Show(const std::optional<std::string>& value) {
    return value ? "[" + *value + "]" : "none";
}

// Every reading of one page as one line of text.
std::string Readings(const std::string& bytes) {
    const ModInformation info = Info(bytes);
    const CategoryReading categories = Categories(bytes);
    std::string text = std::string(info.live ? "live" : "dead") + " | " + GbkToUtf8(info.author) +
                       " | " + Show(info.title) + " | " + Show(info.description) + " | " +
                       Address(bytes) + " | " + Show(categories.mainCategory);
    for (const auto& detail : categories.details) text += " " + Show(detail);
    return text + " | " + Show(categories.updateDate);
}

TEST(PageForms, FixturePagesOfEveryLayoutGiveEveryReading) {
    struct Case {
        const char* name;
        PageLayout layout;
        void (*change)(workshop::ItemPage&);
        const char* readings;
    };
    const char* const kBase = "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/";
    const Case cases[] = {
        {"2015", PageLayout::Classic, [](workshop::ItemPage&) {},
         "live | Someone | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2024-01-09 09:07"},
        {"2015 posted only, a second group on its own line", PageLayout::Classic,
         [](workshop::ItemPage& item) {
             item.updated.clear();
             item.moreTagGroups = {{"Type", {"Tool"}}};
         },
         "live | Someone | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2024-10-03 14:05"},
        {"2015 creator block only", PageLayout::Classic,
         [](workshop::ItemPage& item) { item.linkAuthor = false; },
         "live | Someone | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2024-01-09 09:07"},
        {"2015 dead", PageLayout::Classic, [](workshop::ItemPage& item) { item.live = false; },
         "dead | Someone | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2024-01-09 09:07"},
        {"today, several groups, dates with a year", PageLayout::Current,
         [](workshop::ItemPage& item) {
             item.moreTagGroups = {{"Compatibility", {"Mass Transit", "Industries"}}};
             item.posted = "18 Sep, 2015 @ 10:49am";
             item.updated = "21 Mar, 2023 @ 5:18am";
         },
         "live | Someone | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] [Mass Transit] | 2023-03-21 05:18"},
        {"today, month first, posted only", PageLayout::Current,
         [](workshop::ItemPage& item) {
             item.posted = "Jan 21, 2020 @ 6:59pm";
             item.updated.clear();
         },
         "live | Someone | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2020-01-21 18:59"},
        {"today, creator block after 4 tabs", PageLayout::Current,
         [](workshop::ItemPage& item) {
             item.linkAuthor = false;
             item.author = "Creator Only";
         },
         "live | Creator Only | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2024-01-09 09:07"},
        {"2025, month first without a year", PageLayout::Current2025,
         [](workshop::ItemPage& item) {
             item.posted = "Mar 4 @ 2:41pm";
             item.updated = "Sep 18 @ 12:30am";
         },
         "live | Someone | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2024-09-18 00:30"},
        {"2025, creator block after 13 tabs, Chinese text", PageLayout::Current2025,
         [](workshop::ItemPage& item) {
             item.linkAuthor = false;
             item.author = "江南工作室";
             item.title = "中式园林公园";
             item.tagGroup = "Asset";
             item.tags = {"Park"};
         },
         "live | 江南工作室 | [中式园林公园] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Asset] [Park] none none | 2024-01-09 09:07"},
        {"2025 breadcrumb with a Chinese name", PageLayout::Current2025,
         [](workshop::ItemPage& item) { item.author = "立交桥爱好者"; },
         "live | 立交桥爱好者 | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2024-01-09 09:07"},
        {"today, without the session marker", PageLayout::Current,
         [](workshop::ItemPage& item) { item.live = false; },
         "dead | Someone | [Road Signs] | [Adds road signs.<br>Works with every road.] | "
         "http://127.0.0.1:9/ugc/943175241238290455/39F914077B539C7B/ | "
         "[Mod] [Road] [Transport] none | 2024-01-09 09:07"},
    };
    for (const Case& c : cases) {
        workshop::ItemPage item;
        item.layout = c.layout;
        item.previewBase = kBase;
        c.change(item);
        EXPECT_EQ(Readings(workshop::BuildItemPage(item)), c.readings) << c.name;
    }
    for (PageLayout layout : {PageLayout::Classic, PageLayout::Current, PageLayout::Current2025}) {
        EXPECT_EQ(Readings(workshop::BuildRemovedItemPage("9", 40 * 1024, "\r\n", layout)),
                  "dead |  | none | none |  | none none none none | none")
            << static_cast<int>(layout);
    }
}

TEST(PageForms, Titles) {
    struct Case {
        const char* name;
        const char* page;
        const char* title;
    };
    const Case cases[] = {
        {"2015", "<title>Steam Workshop :: Road Signs</title>\n", "[Road Signs]"},
        {"today", "\t\t<title>Steam Workshop::Road Signs</title>\r\n", "[Road Signs]"},
        {"today in capitals", "<TITLE>STEAM WORKSHOP::Road Signs</TITLE>\n", "[Road Signs]"},
        {"the old form first",
         "<title>Steam Workshop::New</title>\n<title>Steam Workshop :: Old</title>\n", "[Old]"},
        {"an empty old title gives way",
         "<title>Steam Workshop :: </title>\n\t\t<title>Steam Workshop::New</title>\n", "[New]"},
        {"today's without its end", "\t\t<title>Steam Workshop::Road Signs\n", "[]"},
        {"the error page's title", "<title>Steam Community :: Error</title>\n", "none"},
    };
    for (const Case& c : cases) EXPECT_EQ(Show(Info(c.page).title), c.title) << c.name;
}

TEST(PageForms, Authors) {
    const std::string files = "https://steamcommunity.com/id/someone/myworkshopfiles/?appid=255710";
    const std::string link2015 =
        "\t\t<div class=\"linkAuthor\"><a href=\"" + files + "\">Someone</a></div></div>\n";
    const std::string crumb = "\t\t&gt;&nbsp;<a href=\"" + files + "\">Crumb Name's Workshop</a>\n";
    const std::string crumb2025 =
        "<span class=\"breadcrumb_separator\">&gt;&nbsp;</span><a data-panel=\"{&quot;focusable"
        "&quot;:true}\" href=\"" +
        files + "\">Bob's Workshop Fan's Workshop</a>\n";
    const std::string creator = "\t\t\t\t<div class=\"friendBlockContent\">\n";
    struct Case {
        const char* name;
        std::string page;
        const char* author;
    };
    const Case cases[] = {
        {"2015 author line", link2015, "Someone"},
        {"breadcrumb after &gt;&nbsp;", crumb, "Crumb Name"},
        {"breadcrumb after the separator span", crumb2025, "Bob's Workshop Fan"},
        {"creator block after 13 tabs", creator + std::string(13, '\t') + "Someone<br>\n",
         "Someone"},
        {"creator block after 4 tabs and blanks", creator + "\t\t\t\t  Someone<br>\r\n", "Someone"},
        {"2015 creator block", creator + "Someone<br>\n", "Someone"},
        {"the author line comes first", crumb + link2015, "Someone"},
        {"the breadcrumb before the creator block", creator + "Creator<br>\n" + crumb,
         "Crumb Name"},
        {"an author line without a name gives way to the breadcrumb",
         "<div class=\"linkAuthor\"><a href=\"x\">Someone</a></div></div>\n" + crumb, "Crumb Name"},
        {"but not to the creator block",
         "<div class=\"linkAuthor\"><a href=\"x\">Someone</a></div></div>\n" + creator +
             "Creator<br>\n",
         ""},
        {"a link to the files without the workshop wording is passed over",
         "<a href=\"" + files + "\">Files</a>\n" + crumb, "Crumb Name"},
        {"no author anywhere", "<html>\n</html>\n", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(GbkToUtf8(Info(c.page).author), c.author) << c.name;
}

TEST(PageForms, PreviewAddresses) {
    const std::string today =
        "\t\t\t<link rel=\"image_src\" href=\"https://images.steamusercontent.com/ugc/"
        "2046371795216428105/0E4F1F2A1C2D0A5C8E6C6E8C4B4B4A6F1F2C3D4E/?imw=512&amp;&amp;ima=fit"
        "&amp;impolicy=Letterbox&amp;imcolor=%23000000&amp;letterbox=false\">\r\n";
    struct Case {
        const char* name;
        std::string page;
        const char* address;
    };
    const Case cases[] = {
        {"indented, with a query", today,
         "https://images.steamusercontent.com/ugc/2046371795216428105/"
         "0E4F1F2A1C2D0A5C8E6C6E8C4B4B4A6F1F2C3D4E/"},
        {"indented by blanks, without a query",
         "    <link rel=\"image_src\" href=\"http://a/b.jpg\">\n", "http://a/b.jpg"},
        {"a link that opens its line comes first",
         today + "<link rel=\"image_src\" href=\"http://old/?imw=200&imh=200\" />\n",
         "http://old/"},
        {"a link behind other text does not count",
         "<meta x=\"y\"><link rel=\"image_src\" href=\"http://a/b/?q\">\n", ""},
        {"an address with neither query nor closing quote", "\t<link rel=\"image_src\" href=\"http",
         ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Address(c.page), c.address) << c.name;
}

TEST(PageForms, DeadPages) {
    struct Case {
        const char* page;
        bool live;
    };
    const Case cases[] = {
        {"\tvar session_id = \"0123\";\n", true},
        {"\t\tvar SESSION_ID = 'abc';\r\n", true},
        {"\t\t<title>Steam Community :: Error</title>\n\t\tvar SESSION_ID = 'abc';\n", false},
        {"\t\tvar SESSION_ID = 'abc';\n<h3>There was a problem accessing the item.  Please try "
         "again.</h3>\n",
         false},
        {"<h3>there was a problem accessing the item.</h3>\nvar session_id\n", false},
        {"<title>Steam Community :: Error</title>\n", false},
        {"<html></html>\n", false},
    };
    for (const Case& c : cases) EXPECT_EQ(Info(c.page).live, c.live) << c.page;
}

// The demo chain over the local workshop: pages of both layouts are fetched and give their
// titles, authors and preview addresses, from which the preview pictures come; the removed item
// is marked gone.
class DemoChainTest : public test::PagesTest {
  protected:
    DemoChainTest() { window.pagePrefix.value = server.pagePrefix(); }
    workshop::WorkshopServer server;
};

TEST_F(DemoChainTest, EveryLayoutShowsTitleAuthorAndPicture) {
    workshop::ServeDemoItems(server);
    const std::vector<std::string> ids = workshop::DemoItemIds();
    for (const std::string& id : ids) addItem(id);
    fillList();
    window.dialogs.answers.push_back(true);
    DownloadPages(window.context);
    ExtractModInformation(window.context);
    ExtractPreviewAddresses(window.context);
    window.dialogs.answers.push_back(true);
    PreviewDownload(window.context);
    int layouts[3] = {0, 0, 0};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const workshop::ItemPage item = workshop::DemoItemPage(ids[i], server.base());
        if (ids[i] == "3000000017") {
            EXPECT_TRUE(flag(n, Field::Gone));
            continue;
        }
        ++layouts[static_cast<int>(item.layout)];
        EXPECT_FALSE(flag(n, Field::Gone)) << ids[i];
        EXPECT_EQ(text(n, Field::Name), item.title) << ids[i];
        EXPECT_EQ(text(n, Field::Author), item.author) << ids[i];
        EXPECT_EQ(text(n, Field::PictureAddress), item.previewBase) << ids[i];
        EXPECT_EQ(cell(static_cast<int>(i), Field::Author), item.author) << ids[i];
        EXPECT_GT(FileSize(PreviewFiles::of(workshop, GbkText::fromAscii(ids[i])).picture), 1024)
            << ids[i];
        auto page = PageDocument::open(pagePath(ids[i]));
        ASSERT_TRUE(page);
        const CategoryReading categories = ReadCategoriesAndDate(*page, 2024);
        EXPECT_EQ(categories.mainCategory, item.tagGroup) << ids[i];
        EXPECT_EQ(categories.details[0], item.tags[0]) << ids[i];
        EXPECT_TRUE(categories.updateDate) << ids[i];
    }
    EXPECT_GT(layouts[0], 0);
    EXPECT_GT(layouts[1], 0);
    EXPECT_GT(layouts[2], 0);
}

}  // namespace
}  // namespace kestavel
