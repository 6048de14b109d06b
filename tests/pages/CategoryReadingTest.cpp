// The category and update-date reading: tags lines of the 2015 layout and of today's, the
// fallback categories, the stats box, and the date forms the workshop writes.
#include "pages/CategoryReading.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "pages/StatsDate.h"

namespace kestavel {
namespace {

constexpr int kPageYear = 2024;

std::string Show(const std::optional<LocalDateTime>& date) {
    if (!date) return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date->year, date->month,
                  date->day, date->hour, date->minute, date->second);
    return text;
}

std::string Show(const std::optional<std::string>& value) {
    return value ? "[" + *value + "]" : "none";
}

// The four category values as one text, for compact tables.
std::string ShowCategories(const CategoryReading& reading) {
    std::string text = Show(reading.mainCategory);
    for (const auto& detail : reading.details) text += " " + Show(detail);
    return text;
}

CategoryReading Read(const std::string& bytes, int year = kPageYear) {
    auto page = PageDocument::fromBytes(bytes);
    return ReadCategoriesAndDate(*page, year);
}

std::string Link(const std::string& tag) {
    return "<a "
           "href=\"https://steamcommunity.com/workshop/browse/?appid=255710&requiredtags%5B%5D=" +
           tag + "\">" + tag + "</a>";
}

std::string Group(const std::string& title, const std::vector<std::string>& tags) {
    std::string body = "<span class=\"workshopTagsTitle\">" + title + ":&nbsp;</span>";
    for (std::size_t i = 0; i < tags.size(); ++i) body += (i > 0 ? ", " : "") + Link(tags[i]);
    return body;
}

const std::string kPanel =
    "<div data-panel=\"{&quot;type&quot;:&quot;PanelGroup&quot;}\" "
    "class=\"workshopTags\">";

TEST(StatsDate, TheFourFormsWithAndWithoutAYear) {
    struct Case {
        const char* text;
        const char* date;
    };
    const Case cases[] = {
        // Day first, as in 2015 (the third word is not looked at).
        {"3 Oct @ 2:05pm", "2024-10-03 14:05:00"},
        {"18 Sep @ 10:49am", "2024-09-18 10:49:00"},
        {"3 Oct at 2:05pm", "2024-10-03 14:05:00"},
        {"3 OCT @ 2:05PM", "2024-10-03 14:05:00"},
        // Day first with a year.
        {"21 Mar, 2023 @ 5:18am", "2023-03-21 05:18:00"},
        // Month first, without and with a year.
        {"Mar 4 @ 2:41pm", "2024-03-04 14:41:00"},
        {"Mar 4, 2019 @ 2:41pm", "2019-03-04 14:41:00"},
        {"Jan 21, 2020 @ 6:59pm", "2020-01-21 18:59:00"},
        {"Jan 21 @ 6:59pm", "2024-01-21 18:59:00"},
        {"jan 21, 2020 @ 6:59PM", "2020-01-21 18:59:00"},
        // The half-day marks.
        {"3 Oct @ 12:30am", "2024-10-03 00:30:00"},
        {"3 Oct @ 12:30pm", "2024-10-03 12:30:00"},
        {"3 Oct @ 9:07am", "2024-10-03 09:07:00"},
        {"Dec 31, 2023 @ 11:59pm", "2023-12-31 23:59:00"},
        // A day the year has, and one it lacks.
        {"29 Feb @ 1:00am", "2024-02-29 01:00:00"},
        {"Feb 29, 2023 @ 1:00am", "none"},
        {"31 Apr @ 1:00am", "none"},
        // Other forms are not recognised.
        {"3 Oct 2:05pm", "none"},
        {"3 October @ 2:05pm", "none"},
        {"3 Oct @ 14:05", "none"},
        {"3 Oct @ 13:05pm", "none"},
        {"3 Oct @ 2:65pm", "none"},
        {"3 Oct @ 2:05", "none"},
        {"0 Oct @ 2:05pm", "none"},
        {"Oct 3 2:05pm", "none"},
        {"Oct 32 @ 1:00am", "none"},
        {"Mar 4, @ 2:41pm", "none"},
        {"21 Mar 2023 @ 5:18am", "none"},
        {"21 Mar, 23 @ 5:18am", "none"},
        {"Jan 21, 2020 @ 6:59pm extra", "none"},
        {"1.573 MB", "none"},
        {"", "none"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Show(ReadStatsDate(c.text, kPageYear)), c.date) << c.text;
    }
    // Without a year in the text, the page file's year counts.
    EXPECT_EQ(Show(ReadStatsDate("Mar 4 @ 2:41pm", 2016)), "2016-03-04 14:41:00");
    EXPECT_EQ(Show(ReadStatsDate("21 Mar, 2023 @ 5:18am", 2016)), "2023-03-21 05:18:00");
}

std::string StatsBox(const std::vector<std::string>& dates, const std::string& end = "\r\n") {
    std::string box = "\t\t\t<div class=\"detailsStatsContainerRight\">" + end +
                      "\t\t\t\t<div class=\"detailsStatRight\">1.573 MB</div>" + end;
    for (const std::string& date : dates) {
        box += "\t\t\t\t<div class=\"detailsStatRight\">" + date + "</div>" + end;
    }
    return box + "\t\t\t</div>" + end + "\t\t\t<div style=\"clear:both\"></div>" + end;
}

TEST(StatsBox, TheLatestDateTheBoxShows) {
    struct Case {
        const char* name;
        std::string page;
        const char* date;
    };
    const Case cases[] = {
        {"posted only", StatsBox({"3 Oct @ 2:05pm"}), "2024-10-03 14:05:00"},
        {"posted and updated", StatsBox({"3 Oct @ 2:05pm", "9 Jan @ 9:07am"}),
         "2024-01-09 09:07:00"},
        {"today's posted and updated",
         StatsBox({"18 Sep, 2015 @ 10:49am", "21 Mar, 2023 @ 5:18am"}), "2023-03-21 05:18:00"},
        {"today's posted only", StatsBox({"Jan 21, 2020 @ 6:59pm"}), "2020-01-21 18:59:00"},
        {"line feeds only", StatsBox({"Mar 4 @ 2:41pm", "Sep 18 @ 12:30am"}, "\n"),
         "2024-09-18 00:30:00"},
        {"an updated line of another form leaves the posted date",
         StatsBox({"3 Oct @ 2:05pm", "yesterday"}), "2024-10-03 14:05:00"},
        {"a posted line of another form and a good updated line",
         StatsBox({"long ago", "9 Jan @ 9:07am"}), "2024-01-09 09:07:00"},
        {"no date in the box", StatsBox({"unknown"}), "none"},
        {"the last box with a date wins",
         StatsBox({"3 Oct @ 2:05pm"}) + StatsBox({"4 Nov @ 1:00pm"}), "2024-11-04 13:00:00"},
        {"a later box without a date changes nothing",
         StatsBox({"3 Oct @ 2:05pm"}) + StatsBox({"unknown"}), "2024-10-03 14:05:00"},
        {"the marker in other letter case",
         "<DIV CLASS=\"DETAILSSTATSCONTAINERRIGHT\">\n<div>1 MB</div>\n<div x=\"y\">3 Oct @ "
         "2:05pm</div>\n",
         "2024-10-03 14:05:00"},
        {"a page that ends before the posted line",
         "<div class=\"detailsStatsContainerRight\">\n<div>1 MB</div>\n", "none"},
        {"a posted line that is the page's last",
         "<div class=\"detailsStatsContainerRight\">\n"
         "<div>1 MB</div>\n<div class=\"detailsStatRight\">3 Oct @ 2:05pm</div>",
         "2024-10-03 14:05:00"},
        {"no stats box", "<html>\n<div class=\"detailsStatRight\">3 Oct @ 2:05pm</div>\n", "none"},
    };
    for (const Case& c : cases) EXPECT_EQ(Show(Read(c.page).updateDate), c.date) << c.name;
}

TEST(TagsLine, OldAndTodaysLinesAndTheFallback) {
    struct Case {
        const char* name;
        std::string page;
        const char* categories;
    };
    const std::string tags2015 = "\t\t\t<div class=\"workshopTags\">";
    const Case cases[] = {
        {"title X and the links A, B and C", tags2015 + Group("X", {"A", "B", "C"}) + "</div>\r\n",
         "[X] [A] [B] [C]"},
        {"five tags keep the first three", tags2015 + Group("Mod", {"A", "B", "C", "D", "E"}),
         "[Mod] [A] [B] [C]"},
        {"one tag", tags2015 + Group("Map", {"Small"}) + "</div>", "[Map] [Small] none none"},
        {"only the first tags line counts",
         tags2015 + Group("Mod", {"A"}) + "</div>\n" + tags2015 + Group("Type", {"B"}) + "\n",
         "[Mod] [A] none none"},
        {"today's data-panel line",
         "\t\t\t" + kPanel + Group("Mod", {"Road", "Transport"}) + "</div>\r\n",
         "[Mod] [Road] [Transport] none"},
        {"several groups on one line",
         "\t\t\t" + kPanel + Group("Mod", {"Road"}) + "</div>" + kPanel +
             Group("Compatibility", {"Mass Transit", "Industries"}) + "</div>" + kPanel +
             Group("Type", {"Tool"}) + "</div>\n",
         "[Mod] [Road] [Mass Transit] [Industries]"},
        {"the 2015 line comes first wherever it stands",
         "\t\t\t" + kPanel + Group("New", {"N"}) + "</div>\n" + tags2015 + Group("Old", {"O"}) +
             "</div>\n",
         "[Old] [O] none none"},
        {"a tags line without links stores nothing and keeps out the fallback",
         tags2015 + "<span class=\"workshopTagsTitle\">Mod:&nbsp;</span></div>\n"
                    "<a href=\"x?requiredtags[]=Map\">Map</a>\n",
         "none none none none"},
        {"a title without its closing marker", tags2015 + "<span>Mod</span>" + Link("Road"),
         "none [Road] none none"},
        {"a tag without its closing marker", tags2015 + Group("Mod", {"A"}) + "<a href=\"b\">B",
         "[Mod] [A] none none"},
        {"an empty title", tags2015 + Group("", {"A"}), "[] [A] none none"},
        {"the fallback Map", "<html>\n<a href=\"x?requiredtags[]=Map\">Map</a>\n",
         "[Map] none none none"},
        {"the fallback tries Mod first",
         "<a href=\"x?requiredtags[]=Map\">Map</a>\n<a href=\"x?requiredtags[]=Mod\">Mod</a>\n",
         "[Mod] none none none"},
        {"the fallback SaveGame", "<a href=\"x?t=SaveGame\">SaveGame</a>\n",
         "[SaveGame] none none none"},
        {"neither tags nor fallback", "<html>\n</html>\n", "none none none none"},
    };
    for (const Case& c : cases) EXPECT_EQ(ShowCategories(Read(c.page)), c.categories) << c.name;
}

TEST(TagsLine, TheWholeLineIsCutAtTheLinksInAnyLetterCase) {
    CategoryReading reading;
    CutTags(
        "<div class=\"workshopTags\"><span class=\"workshopTagsTitle\">Mod:&nbsp;</span>"
        "<A HREF=\"u\">Road</A>, <a href=\"v\">Rail</a></div>",
        reading);
    EXPECT_EQ(ShowCategories(reading), "[Mod] [Road] [Rail] none");
    // Tag bytes are kept as they stand, references and all.
    CategoryReading bytes;
    CutTags(
        "<span class=\"workshopTagsTitle\">Typ&eacute;:&nbsp;</span><a href=\"u\">Stra\xC3\x9F"
        "e &amp; Weg</a>",
        bytes);
    EXPECT_EQ(ShowCategories(bytes),
              "[Typ&eacute;] [Stra\xC3\x9F"
              "e &amp; Weg] none none");
}

}  // namespace
}  // namespace kestavel
