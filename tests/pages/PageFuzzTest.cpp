// Random pages against a plain re-statement of the page rules: the page reader, the marker
// search and the extractions (information, preview address, categories and update date) must
// agree with it on any bytes (long lines, no line ends, truncated UTF-8, markers in any letter
// case, old and today's page forms), and must never read outside their buffers (run the suite
// from a -DKESTAVEL_SANITIZE=ON build to check that). Each test is bounded in count and in time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "pages/CategoryReading.h"
#include "pages/PageDocument.h"
#include "pages/PageExtraction.h"
#include "pages/StatsDate.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/FoldedSearch.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeBudget = std::chrono::seconds(4);

// --- The rules, stated the plain way: split into lines, then search every line from the start.

std::vector<std::string> PlainLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        std::size_t end = i;
        if (end > start && bytes[end - 1] == '\r') --end;
        lines.push_back(bytes.substr(start, end - start));
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t PlainFind(const std::string& line, std::string_view marker) {
    if (marker.size() > line.size()) return 0;
    for (std::size_t at = 0; at + marker.size() <= line.size(); ++at) {
        bool same = true;
        for (std::size_t i = 0; i < marker.size() && same; ++i) {
            same = Lower(line[at + i]) == Lower(marker[i]);
        }
        if (same) return at + 1;
    }
    return 0;
}

std::string PlainPiece(const std::string& line, long long start, long long count) {
    const auto length = static_cast<long long>(line.size());
    if (start < 1 || start > length || count <= 0) return {};
    return line.substr(static_cast<std::size_t>(start - 1),
                       static_cast<std::size_t>(std::min(count, length - start + 1)));
}

long long Len(const std::string& line) {
    return static_cast<long long>(line.size());
}

int FirstHolding(const std::vector<std::string>& lines, std::string_view marker) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (PlainFind(lines[i], marker) != 0) return static_cast<int>(i);
    }
    return -1;
}

std::string PlainStripped(const std::string& line) {
    std::size_t first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
    return line.substr(first);
}

// The bytes after the first `open` up to the first `close` after it; empty when either is missing.
std::string PlainBetween(const std::string& line, std::string_view open, std::string_view close) {
    const std::size_t p = PlainFind(line, open);
    if (p == 0) return {};
    const std::string rest = line.substr(p - 1 + open.size());
    const std::size_t end = PlainFind(rest, close);
    return end == 0 ? std::string() : rest.substr(0, end - 1);
}

std::string PlainBreadcrumbAuthor(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::string name =
            PlainBetween(line, "/myworkshopfiles/?appid=255710\">", "'s Workshop</a>");
        if (!name.empty()) return name;
    }
    return {};
}

ModInformation PlainInformation(const std::string& bytes, bool wantTitle, bool wantDescription) {
    const std::vector<std::string> lines = PlainLines(bytes);
    ModInformation info;
    info.live = FirstHolding(lines, "var session_id") >= 0 &&
                FirstHolding(lines, "<title>Steam Community :: Error</title>") < 0 &&
                FirstHolding(lines, "There was a problem accessing the item.") < 0;
    std::string author;
    const int authorLine = FirstHolding(lines, "<div class=\"linkAuthor\">");
    if (authorLine >= 0) {
        const std::string& line = lines[static_cast<std::size_t>(authorLine)];
        const auto p = static_cast<long long>(PlainFind(line, "appid=255710\">"));
        if (p > 0) author = PlainPiece(line, p + 14, Len(line) - p - 29);
    }
    if (author.empty()) author = PlainBreadcrumbAuthor(lines);
    if (author.empty() && authorLine < 0) {
        const int fallback = FirstHolding(lines, "<div class=\"friendBlockContent\">");
        if (fallback >= 0 && static_cast<std::size_t>(fallback) + 1 < lines.size()) {
            const std::string next = PlainStripped(lines[static_cast<std::size_t>(fallback) + 1]);
            author = PlainPiece(next, 1, Len(next) - 4);
        }
    }
    info.author = Utf8ToGbk(author);
    if (wantTitle) {
        const int title = FirstHolding(lines, "<title>Steam Workshop :: ");
        const int current = FirstHolding(lines, "<title>Steam Workshop::");
        std::string text;
        if (title >= 0) {
            const std::string& line = lines[static_cast<std::size_t>(title)];
            text = PlainPiece(line, 26, Len(line) - 33);
        }
        if (text.empty() && current >= 0) {
            text = PlainBetween(lines[static_cast<std::size_t>(current)],
                                "<title>Steam Workshop::", "</title>");
        }
        if (title >= 0 || current >= 0) info.title = Utf8ToGbk(text);
    }
    if (wantDescription) {
        const int marker = FirstHolding(lines, "<div class=\"detailBox altFooter\">");
        if (marker >= 0) {
            const auto second = static_cast<std::size_t>(marker) + 2;
            const std::string line = second < lines.size() ? lines[second] : std::string();
            const auto p = static_cast<long long>(PlainFind(line, "\">"));
            info.description =
                p > 0 ? Utf8ToGbk(PlainPiece(line, p + 2, Len(line) - p - 7)) : GbkText();
        }
    }
    return info;
}

std::string PlainAddress(const std::string& bytes) {
    const std::string_view marker = "<link rel=\"image_src\" href=\"";
    const std::vector<std::string> lines = PlainLines(bytes);
    for (const std::string& line : lines) {
        if (line.size() >= marker.size() && PlainFind(line.substr(0, marker.size()), marker) == 1) {
            const std::string address = PlainPiece(line, 29, Len(line) - 48);
            if (!address.empty()) return address;
            break;
        }
    }
    for (const std::string& line : lines) {
        const std::string link = PlainStripped(line);
        if (link.size() >= marker.size() && PlainFind(link.substr(0, marker.size()), marker) == 1) {
            const std::string rest = link.substr(marker.size());
            const std::size_t end = rest.find_first_of("?\"");
            return end == std::string::npos ? std::string() : rest.substr(0, end);
        }
    }
    return {};
}

CategoryReading PlainCategories(const std::string& bytes, int year) {
    const std::vector<std::string> lines = PlainLines(bytes);
    CategoryReading reading;
    int tags = FirstHolding(lines, "<div class=\"workshopTags\">");
    if (tags < 0) tags = FirstHolding(lines, "class=\"workshopTags\"");
    if (tags >= 0) {
        CutTags(lines[static_cast<std::size_t>(tags)], reading);
    } else if (FirstHolding(lines, "Mod\">Mod</a>") >= 0) {
        reading.mainCategory = "Mod";
    } else if (FirstHolding(lines, "Map\">Map</a>") >= 0) {
        reading.mainCategory = "Map";
    } else if (FirstHolding(lines, "SaveGame\">SaveGame</a>") >= 0) {
        reading.mainCategory = "SaveGame";
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (PlainFind(lines[i], "<div class=\"detailsStatsContainerRight\">") == 0) continue;
        if (i + 2 >= lines.size()) break;
        auto date = ReadStatsDate(CutDescription(lines[i + 2]), year);
        if (i + 3 < lines.size()) {
            if (auto updated = ReadStatsDate(CutDescription(lines[i + 3]), year)) date = updated;
        }
        if (date) reading.updateDate = date;
        i += 2;  // reading goes on after the Posted line
    }
    return reading;
}

// --- Random pages built from the pieces that matter: markers in any case, line ends, UTF-8
// (whole and cut short), long runs without a line end and plain noise.

const std::vector<std::string>& Tokens() {
    static const std::vector<std::string> tokens = {
        "var session_id",
        "<div class=\"linkAuthor\">",
        "appid=255710\">",
        "<div class=\"friendBlockContent\">",
        "<title>Steam Workshop :: ",
        "</title>",
        "<div class=\"detailBox altFooter\">",
        "\">",
        "<link rel=\"image_src\" href=\"",
        "?imw=200&imh=200\" />",
        "</a></div></div>",
        "<br>",
        "</div>",
        "\n",
        "\r\n",
        "\r",
        "\t",
        "中文",
        "\xE4\xB8",          // a character cut short
        "\xF0\x9F\x9A\xA6",  // a character GBK lacks
        "\xFF\xFE",
        "Road Signs",
        "Someone",
        "<link rel",
        "var sess",
        // Today's forms.
        "<title>Steam Workshop::",
        "/myworkshopfiles/?appid=255710\">",
        "'s Workshop</a>",
        "<title>Steam Community :: Error</title>",
        "There was a problem accessing the item.",
        " ",
        "?",
        "\"",
        // Tags and stats.
        "<div class=\"workshopTags\">",
        "<div data-panel=\"{}\" class=\"workshopTags\">",
        "<span class=\"workshopTagsTitle\">",
        "Title\">",
        ":&nbsp;",
        "<a href=",
        "</a>",
        "Mod\">Mod</a>",
        "Map\">Map</a>",
        "SaveGame\">SaveGame</a>",
        "<div class=\"detailsStatsContainerRight\">",
        "<div class=\"detailsStatRight\">",
        "3 Oct @ 2:05pm",
        // Whole parts, so that tags lines and stats boxes that give values are common.
        "<div class=\"workshopTags\"><span class=\"workshopTagsTitle\">Mod:&nbsp;</span>"
        "<a href=\"u\">Road</a>, <a href=\"v\">Rail</a></div>",
        "\n<div class=\"detailsStatsContainerRight\">\n\t<div>1 MB</div>\n"
        "\t<div class=\"detailsStatRight\">3 Oct @ 2:05pm</div>\n",
        "<div class=\"detailsStatRight\">21 Mar, 2023 @ 5:18am</div>\n",
        "<div class=\"detailsStatRight\">Mar 4 @ 12:41am</div>\r\n",
    };
    return tokens;
}

std::string RandomCase(std::string text, std::mt19937_64& random) {
    for (char& c : text) {
        if (random() % 3 == 0) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string RandomPage(std::mt19937_64& random, std::size_t targetSize) {
    std::string page;
    const auto& tokens = Tokens();
    while (page.size() < targetSize) {
        switch (random() % 8) {
            case 0:
            case 1:
            case 2:
                page += RandomCase(tokens[random() % tokens.size()], random);
                break;
            case 3:
                for (int i = static_cast<int>(random() % 12); i > 0; --i) {
                    page += static_cast<char>(random() % 256);
                }
                break;
            case 4:
                page.append(random() % 200, static_cast<char>('a' + random() % 26));
                break;
            case 5:
                // Now and then a long line, longer than a reading block.
                if (random() % 64 == 0) page.append(20000 + random() % 150000, 'L');
                break;
            default:
                page += "\n";
                break;
        }
    }
    page.resize(targetSize);
    return page;
}

void ExpectSame(const ModInformation& got, const ModInformation& want, const std::string& page) {
    ASSERT_EQ(got.live, want.live) << page.size();
    ASSERT_EQ(got.author, want.author) << page.size();
    ASSERT_EQ(got.title, want.title) << page.size();
    ASSERT_EQ(got.description, want.description) << page.size();
}

void ExpectSame(const CategoryReading& got, const CategoryReading& want, const std::string& page) {
    ASSERT_EQ(got.mainCategory, want.mainCategory) << page.size();
    ASSERT_EQ(got.details, want.details) << page.size();
    ASSERT_EQ(got.updateDate, want.updateDate) << page.size();
}

void CheckPage(const std::string& bytes, std::unique_ptr<PageDocument> (*open)(const std::string&),
               std::mt19937_64& random) {
    const bool wantTitle = random() % 4 != 0;
    const bool wantDescription = random() % 4 != 0;
    auto page = open(bytes);
    ASSERT_NE(page, nullptr);
    ExpectSame(ExtractModInformation(*page, wantTitle, wantDescription),
               PlainInformation(bytes, wantTitle, wantDescription), bytes);
    page = open(bytes);
    ASSERT_EQ(ExtractPreviewAddress(*page), PlainAddress(bytes));
    page = open(bytes);
    ExpectSame(ReadCategoriesAndDate(*page, 2015), PlainCategories(bytes, 2015), bytes);
    if (::testing::Test::HasFatalFailure()) return;
    page = open(bytes);
    std::vector<std::string> lines;
    std::string_view line;
    while (page->nextLine(line)) lines.emplace_back(line);
    ASSERT_EQ(lines, PlainLines(bytes));
}

std::unique_ptr<PageDocument> InMemory(const std::string& bytes) {
    return PageDocument::fromBytes(bytes);
}

std::string* g_fuzzFolder = nullptr;

std::unique_ptr<PageDocument> OnDisk(const std::string& bytes) {
    const std::string path = JoinPath(*g_fuzzFolder, "fuzz.info.txt");
    WriteWholeFile(path, bytes);
    return PageDocument::open(path);
}

TEST(PageFuzz, SmallPagesInMemoryAgreeWithThePlainRules) {
    std::mt19937_64 random(20240611);
    const auto start = Clock::now();
    int pages = 0;
    for (; pages < 6000 && Clock::now() - start < kTimeBudget; ++pages) {
        const std::string bytes = RandomPage(random, random() % 1500);
        CheckPage(bytes, InMemory, random);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(pages, 200);
}

TEST(PageFuzz, LargePagesOnDiskAcrossReadingBlocks) {
    test::TempDir dir;
    std::string folder = dir.path();
    g_fuzzFolder = &folder;
    std::mt19937_64 random(77);
    const auto start = Clock::now();
    int pages = 0;
    for (; pages < 120 && Clock::now() - start < kTimeBudget; ++pages) {
        const std::string bytes = RandomPage(random, 20000 + random() % 400000);
        CheckPage(bytes, OnDisk, random);
        if (HasFatalFailure()) break;
    }
    g_fuzzFolder = nullptr;
    EXPECT_GT(pages, 5);
}

// Pages with no line end at all, and pages of only line ends.
TEST(PageFuzz, DegenerateShapes) {
    std::mt19937_64 random(5);
    for (std::size_t size : {0u, 1u, 2u, 13u, 14u, 15u, 31u, 32u, 33u, 47u, 48u, 49u, 4096u}) {
        CheckPage(std::string(size, '\n'), InMemory, random);
        CheckPage(std::string(size, '\r'), InMemory, random);
        CheckPage(std::string(size, '<'), InMemory, random);
        std::string marker = "<link rel=\"image_src\" href=\"" + std::string(size, 'x');
        CheckPage(marker, InMemory, random);
        CheckPage("<div class=\"detailBox altFooter\">" + std::string(size, '\n'), InMemory, random);
    }
}

TEST(PageFuzz, MarkerKernelAgreesWithAPlainSearchInExactBuffers) {
    std::mt19937_64 random(99);
    const auto start = Clock::now();
    int rounds = 0;
    for (; rounds < 40000 && Clock::now() - start < kTimeBudget; ++rounds) {
        const auto& tokens = Tokens();
        std::string marker = random() % 5 == 0
                                 ? std::string(1 + random() % 3, static_cast<char>('a' + random() % 3))
                                 : tokens[random() % tokens.size()];
        const std::size_t size = random() % 200;
        // Exactly sized, so a sanitizer sees any byte read past the end.
        std::unique_ptr<char[]> haystack(new char[size == 0 ? 1 : size]);
        std::string copy;
        for (std::size_t i = 0; i < size; ++i) {
            char c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                       : marker[random() % marker.size()];
            if (random() % 3 == 0) c = RandomCase(std::string(1, c), random)[0];
            haystack[i] = c;
            copy += c;
        }
        const char* hit = FindFolded(haystack.get(), haystack.get() + size, marker);
        const std::size_t expected = PlainFind(copy, marker);
        if (expected == 0) {
            ASSERT_EQ(hit, nullptr) << copy << " / " << marker;
        } else {
            ASSERT_EQ(hit, haystack.get() + expected - 1) << copy << " / " << marker;
        }
    }
    EXPECT_GT(rounds, 1000);
}

// Several markers at once, often with the same first and last bytes at the same distance (which
// share one test in the search): the earliest hit, and at it the lowest marker index, must be
// what a plain search finds.
TEST(PageFuzz, MultiMarkerKernelAgreesWithAPlainSearchInExactBuffers) {
    std::mt19937_64 random(1234);
    const auto start = Clock::now();
    int rounds = 0;
    const std::string alphabet = "aAbB=\"x";
    for (; rounds < 40000 && Clock::now() - start < kTimeBudget; ++rounds) {
        const std::size_t count = 1 + random() % kMaxMarkersAtOnce;
        std::vector<std::string> markers;
        const std::size_t length = 2 + random() % 6;
        for (std::size_t i = 0; i < count; ++i) {
            // Mostly one length and the same end bytes, so that anchors coincide.
            std::string marker(random() % 4 == 0 ? 1 + random() % 8 : length, 'a');
            for (char& c : marker) c = alphabet[random() % alphabet.size()];
            if (random() % 3 != 0 && marker.size() == length) {
                marker.front() = '=';
                marker.back() = random() % 2 ? 'a' : 'A';
            }
            markers.push_back(marker);
        }
        const std::vector<std::string_view> views(markers.begin(), markers.end());
        const std::size_t size = random() % 300;
        std::unique_ptr<char[]> haystack(new char[size == 0 ? 1 : size]);
        std::string copy;
        for (std::size_t i = 0; i < size; ++i) {
            const std::string& from = markers[random() % markers.size()];
            char c = random() % 5 == 0 ? alphabet[random() % alphabet.size()]
                                       : from[random() % from.size()];
            if (random() % 3 == 0) c = RandomCase(std::string(1, c), random)[0];
            haystack[i] = c;
            copy += c;
        }
        std::size_t which = 99;
        const char* hit =
            FindFoldedAny(haystack.get(), haystack.get() + size, views.data(), count, &which);
        std::size_t expected = 0;
        std::size_t expectedWhich = 0;
        for (std::size_t at = 1; at <= size && expected == 0; ++at) {
            for (std::size_t i = 0; i < count; ++i) {
                if (PlainFind(copy.substr(at - 1), markers[i]) == 1) {
                    expected = at;
                    expectedWhich = i;
                    break;
                }
            }
        }
        if (expected == 0) {
            ASSERT_EQ(hit, nullptr) << copy;
        } else {
            ASSERT_EQ(hit, haystack.get() + expected - 1) << copy;
            ASSERT_EQ(which, expectedWhich) << copy;
        }
    }
    EXPECT_GT(rounds, 1000);
}

}  // namespace
}  // namespace kestavel
