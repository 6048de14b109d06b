// Runs "提取分类及时间" over a catalogue of 2,000 items whose saved workshop pages of about 150 KB
// each follow today's layout (generated into a temporary folder), through the command with fake
// window ports and a real catalogue file: the edit list rebuilt, every page read, every row
// written. Each round times a first run, over records whose category and date fields are empty
// (every record written and committed), and a second run over the same pages (nothing left to
// write). Prints both times as ratios to reading the same files whole, measured in the same
// round. Target: at most 1.5 for the first run.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TodaysPages.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/CategoryCommand.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace {

using kestavel::bench::Best;
using kestavel::bench::Clock;
using kestavel::bench::Median;
using kestavel::bench::Milliseconds;
using kestavel::bench::ReadAllWhole;

constexpr int kPages = 2000;
// Short rounds, each reading the files whole right before the runs timed against it: on a
// machine shared with other work, the ratio within a round holds where the load changes between
// rounds, and the median of those ratios is the figure.
constexpr int kRounds = 15;
// The edit list's columns of 主分类 and 更新日期.
constexpr int kMainCategoryColumn = 5;
constexpr int kUpdateDateColumn = 9;
constexpr const char* kEmptyFields =
    "UPDATE ModCatalogue SET \"主分类\" = x'', \"明细分类1\" = x'', \"明细分类2\" = x'', "
    "\"明细分类3\" = x'', \"更新日期\" = NULL";

}  // namespace

int main() {
    kestavel::test::TempDir dir;
    const std::string run = dir.makeFolder("run");
    const std::string workshop = dir.makeFolder("workshop");
    const kestavel::bench::SavedPages pages = kestavel::bench::WriteTodaysPages(workshop, kPages);
    kestavel::test::MakeEmptyCatalogue(kestavel::CataloguePath(run));
    {
        auto catalogue = kestavel::ModCatalogue::open(kestavel::CataloguePath(run), nullptr);
        std::vector<kestavel::ModCatalogue::NewRecord> records;
        for (int n = 1; n <= kPages; ++n) {
            records.push_back({n, pages.codes[static_cast<std::size_t>(n - 1)]});
        }
        if (!catalogue || catalogue->addRecords(records) != records.size()) {
            std::printf("categories_command_bench: the catalogue could not be written\n");
            return 1;
        }
    }
    kestavel::WriteWholeFile(kestavel::SettingsPath(run), workshop + "\nhttp://127.0.0.1/?id=\n");
    std::printf(
        "categories_command_bench: %d items, pages in today's layout, %.1f MB (%.0f KB each on "
        "average)\n",
        kPages, static_cast<double>(pages.bytes) / 1e6,
        static_cast<double>(pages.bytes) / kPages / 1024);

    kestavel::test::FakeWindow window(run);
    window.context.window.progress = kestavel::ProgressVariant::AlwaysShown;
    window.workshopFolder.value = workshop;
    window.progressBox.keepsHistory = false;

    std::vector<double> whole, first, second, firstRatios, secondRatios;
    std::size_t sink = ReadAllWhole(pages.paths);  // warms the page cache
    bool ran = true;
    for (int round = 0; round < kRounds; ++round) {
        kestavel::test::RunSql(kestavel::CataloguePath(run), kEmptyFields);
        auto start = Clock::now();
        sink += ReadAllWhole(pages.paths);
        whole.push_back(Milliseconds(start));
        start = Clock::now();
        ran = kestavel::ExtractCategoriesAndDates(window.context) && ran;
        first.push_back(Milliseconds(start));
        start = Clock::now();
        ran = kestavel::ExtractCategoriesAndDates(window.context) && ran;
        second.push_back(Milliseconds(start));
        firstRatios.push_back(first.back() / whole.back());
        secondRatios.push_back(second.back() / whole.back());
        window.pump.runs.clear();
    }
    int categories = 0;
    int dates = 0;
    for (int row = 0; row < window.list.rowCount(); ++row) {
        categories += window.list.cell(row, kMainCategoryColumn).empty() ? 0 : 1;
        dates += window.list.cell(row, kUpdateDateColumn).empty() ? 0 : 1;
    }
    std::printf("  %d rows show a main category, %d an update date; %zu messages\n", categories,
                dates, window.dialogs.asked.size());
    const double ratio = Median(firstRatios);
    std::printf("%d rounds, best (median in brackets):\n", kRounds);
    std::printf("reading the %d pages whole:        %7.1f ms (%.1f)\n", kPages, Best(whole),
                Median(whole));
    std::printf("first run, every record written:   %7.1f ms (%.1f)\n", Best(first), Median(first));
    std::printf("second run, nothing to write:      %7.1f ms (%.1f)\n", Best(second),
                Median(second));
    std::printf("first run, ratio (median of the rounds' own): %.2f (best to best %.2f)\n", ratio,
                Best(first) / Best(whole));
    std::printf("second run, ratio (median of the rounds' own): %.2f (best to best %.2f)\n",
                Median(secondRatios), Best(second) / Best(whole));
    std::printf("(checksum %zu)\n", sink % 1000);
    const bool complete = ran && window.dialogs.asked.empty() && categories == kPages &&
                          dates == kPages && window.list.rowCount() == kPages;
    return complete && ratio <= 1.5 ? 0 : 1;
}
