// Random pages against a plain re-statement of the rules of Parts 2.1, 2.3 and 2.4: the page
// reader, the marker search and the three extractions must agree with it on any bytes (long
// lines, no line ends, truncated UTF-8, markers in any letter case), and must never read outside
// their buffers (run the suite from a -DKESTAVEL_SANITIZE=ON build to check that). Each test is
// bounded in count and in time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/FoldedSearch.h"
#include "pages/PageDocument.h"
#include "pages/PageExtraction.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
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

ModInformation PlainInformation(const std::string& bytes, bool wantTitle, bool wantDescription) {
    const std::vector<std::string> lines = PlainLines(bytes);
    ModInformation info;
    info.live = FirstHolding(lines, "var session_id") >= 0;
    const int author = FirstHolding(lines, "<div class=\"linkAuthor\">");
    if (author >= 0) {
        const std::string& line = lines[static_cast<std::size_t>(author)];
        const auto p = static_cast<long long>(PlainFind(line, "appid=255710\">"));
        if (p > 0) info.author = Utf8ToGbk(PlainPiece(line, p + 14, Len(line) - p - 29));
    } else {
        const int fallback = FirstHolding(lines, "<div class=\"friendBlockContent\">");
        if (fallback >= 0 && static_cast<std::size_t>(fallback) + 1 < lines.size()) {
            const std::string& next = lines[static_cast<std::size_t>(fallback) + 1];
            info.author = Utf8ToGbk(PlainPiece(next, 1, Len(next) - 4));
        }
    }
    if (wantTitle) {
        const int title = FirstHolding(lines, "<title>Steam Workshop :: ");
        if (title >= 0) {
            const std::string& line = lines[static_cast<std::size_t>(title)];
            info.title = Utf8ToGbk(PlainPiece(line, 26, Len(line) - 33));
        }
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
    for (const std::string& line : PlainLines(bytes)) {
        const std::string_view marker = "<link rel=\"image_src\" href=\"";
        if (line.size() >= marker.size() && PlainFind(line.substr(0, marker.size()), marker) == 1) {
            return PlainPiece(line, 29, Len(line) - 48);
        }
    }
    return {};
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
        "\xE4\xB8",      // a character cut short
        "\xF0\x9F\x9A\xA6",  // a character GBK lacks
        "\xFF\xFE",
        "Road Signs",
        "Someone",
        "<link rel",
        "var sess",
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

}  // namespace
}  // namespace kestavel
