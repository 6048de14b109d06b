// Reads the categories and the update date of 2,000 saved workshop pages of about 150 KB each in
// today's layout (generated into a temporary folder), each page opened, its year taken from its
// last write and read to its end, and prints the time as a ratio to reading the same files whole,
// measured in the same run. Target: at most 1.5.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TodaysPages.h"
#include "catalogue/ItemFolder.h"
#include "pages/CategoryReading.h"
#include "pages/PageDocument.h"
#include "support/TempDir.h"

namespace {

using kestavel::bench::Best;
using kestavel::bench::Clock;
using kestavel::bench::Median;
using kestavel::bench::Milliseconds;
using kestavel::bench::ReadAllWhole;

constexpr int kPages = 2000;
// Many short rounds, each reading the files whole right before the reading timed against it: on
// a machine shared with other work, the ratio within a round holds where the load changes
// between rounds, and the median of those ratios is the figure.
constexpr int kRounds = 21;

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
    const kestavel::bench::SavedPages pages =
        kestavel::bench::WriteTodaysPages(dir.makeFolder("workshop"), kPages);
    const std::vector<std::string>& paths = pages.paths;
    const std::size_t bytes = pages.bytes;
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
