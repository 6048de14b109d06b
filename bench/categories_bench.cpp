// Reads the categories and the update date of 2,000 saved workshop pages of about 150 KB each in
// today's layout (generated into a temporary folder), each page opened, its year taken from its
// last write and read to its end, and prints the time as a ratio to reading the same files whole,
// measured in the same run. Target: at most 1.5.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "WorkshopPage.h"
#include "pages/CategoryReading.h"
#include "catalogue/ItemFolder.h"
#include "pages/PageDocument.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace {

using kestavel::GbkText;
using kestavel::bench::Best;
using kestavel::bench::Clock;
using kestavel::bench::Median;
using kestavel::bench::Milliseconds;
using kestavel::bench::ReadAllWhole;
using kestavel::workshop::PageLayout;

constexpr int kPages = 2000;
// Many short rounds, each reading the files whole right before the reading timed against it: on
// a machine shared with other work, the ratio within a round holds where the load changes
// between rounds, and the median of those ratios is the figure.
constexpr int kRounds = 21;

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Today's date forms, day or month first, with a year or without.
std::string DateText(int n, int salt) {
    const std::string day = std::to_string(1 + (n + salt) % 28);
    const std::string month = kMonths[(n * 7 + salt) % 12];
    const std::string time =
        std::to_string(1 + n % 12) + ":" + std::to_string(10 + n % 50) + (n % 2 ? "pm" : "am");
    const std::string year = std::to_string(2015 + (n + salt) % 9);
    switch ((n + salt) % 4) {
        case 0:
            return day + " " + month + " @ " + time;
        case 1:
            return day + " " + month + ", " + year + " @ " + time;
        case 2:
            return month + " " + day + " @ " + time;
        default:
            return month + " " + day + ", " + year + " @ " + time;
    }
}

struct Totals {
    int categories = 0;
    int dates = 0;
};

Totals ReadAll(const std::vector<std::string>& paths) {
    Totals totals;
    for (const std::string& path : paths) {
        auto page = kestavel::PageDocument::open(path);
        if (!page) continue;
        const auto written = page->lastWriteTime();
        const kestavel::CategoryReading reading =
            kestavel::ReadCategoriesAndDate(*page, written ? written->year : 0);
        totals.categories += reading.mainCategory ? 1 : 0;
        totals.dates += reading.updateDate ? 1 : 0;
    }
    return totals;
}

}  // namespace

int main() {
    kestavel::test::TempDir dir;
    const std::string workshop = dir.makeFolder("workshop");
    std::vector<std::string> paths;
    std::size_t bytes = 0;
    for (int n = 1; n <= kPages; ++n) {
        const std::string code = std::to_string(3000000000LL + n);
        kestavel::workshop::ItemPage item;
        item.id = code;
        item.layout = n % 2 ? PageLayout::Current : PageLayout::Current2025;
        item.title = "Road Signs " + code;
        item.author = "Someone" + std::to_string(n % 97);
        item.tagGroup = n % 3 ? "Mod" : "Asset";
        item.tags = {"Road", "Transport"};
        if (n % 4 != 0) item.moreTagGroups = {{"Compatibility", {"Mass Transit", "Industries"}}};
        item.posted = DateText(n, 0);
        item.updated = n % 5 == 0 ? std::string() : DateText(n, 3);
        item.live = n % 50 != 0;
        item.previewBase = "https://images.steamusercontent.com/ugc/9431752412382" +
                           std::to_string(n) + "/39F914077B539C7BF0B4B2C09CF0BA73B3C6E3B1/";
        item.pictures = {item.previewBase};
        const std::string page = kestavel::workshop::BuildItemPage(item);
        const std::string folder = kestavel::JoinPath(workshop, code);
        kestavel::CreateDirectory(folder);
        paths.push_back(kestavel::ItemFolder(workshop, GbkText::fromAscii(code)).page());
        kestavel::WriteWholeFile(paths.back(), page);
        bytes += page.size();
    }
    std::printf("categories_bench: %d pages in today's layout, %.1f MB (%.0f KB each on average)\n",
                kPages, static_cast<double>(bytes) / 1e6,
                static_cast<double>(bytes) / kPages / 1024);

    std::vector<double> whole, reading, ratios;
    std::size_t sink = ReadAllWhole(paths);  // warms the page cache
    Totals totals;
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        sink += ReadAllWhole(paths);
        whole.push_back(Milliseconds(start));
        start = Clock::now();
        totals = ReadAll(paths);
        reading.push_back(Milliseconds(start));
        ratios.push_back(reading.back() / whole.back());
    }
    std::printf("  %d pages gave a main category, %d an update date\n", totals.categories,
                totals.dates);
    const double ratio = Median(ratios);
    std::printf("%d rounds, best (median in brackets):\n", kRounds);
    std::printf("reading the %d pages whole:         %7.1f ms (%.1f)\n", kPages, Best(whole),
                Median(whole));
    std::printf("categories and update dates:        %7.1f ms (%.1f)\n", Best(reading),
                Median(reading));
    std::printf("ratio, the median of the rounds' own: %.2f (best to best %.2f)\n", ratio,
                Best(reading) / Best(whole));
    std::printf("(checksum %zu)\n", sink % 1000);
    const bool complete = totals.categories == kPages && totals.dates == kPages;
    return complete && ratio <= 1.5 ? 0 : 1;
}
