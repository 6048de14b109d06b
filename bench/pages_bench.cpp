// Runs "获取MOD信息" and "获取预览图地址" over 2,000 saved workshop pages of about 150 KB each
// (generated into a temporary folder) and prints each time as a ratio to reading the same files
// whole, measured in the same run. Target: each ratio at most 2.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "WorkshopPage.h"
#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/PageCommands.h"
#include "catalogue/ItemFolder.h"
#include "pages/PageDocument.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace {

using kestavel::GbkText;
using kestavel::bench::Best;
using kestavel::bench::Clock;
using kestavel::bench::Median;
using kestavel::bench::Milliseconds;
using kestavel::bench::ReadAllWhole;

constexpr int kPages = 2000;
constexpr int kRounds = 7;

std::string CodeOf(int n) {
    return std::to_string(3000000000LL + n);
}

}  // namespace

int main() {
    kestavel::test::TempDir dir;
    const std::string run = dir.makeFolder("run");
    const std::string workshop = dir.makeFolder("workshop");
    const std::string pristine = dir.file("pristine.edb");
    kestavel::test::MakeEmptyCatalogue(pristine);

    std::vector<std::string> paths;
    std::size_t bytes = 0;
    {
        std::string error;
        auto catalogue = kestavel::ModCatalogue::open(pristine, &error);
        catalogue->holdBatch(true);
        for (int n = 1; n <= kPages; ++n) {
            const std::string code = CodeOf(n);
            catalogue->addRecord(n, GbkText::fromAscii(code));
            kestavel::workshop::ItemPage item;
            item.id = code;
            item.title = n % 7 == 0 ? "中式园林公园 " + std::to_string(n) : "Road Signs " + code;
            item.author = n % 5 == 0 ? "江南工作室" : "Someone" + std::to_string(n % 97);
            item.linkAuthor = n % 10 != 0;  // every tenth names its author in the creator block
            item.live = n % 50 != 0;
            item.description.clear();
            for (int i = 0; i < 3 + n % 25; ++i) {
                item.description += "This asset adds props and buildings for your city.<br>";
            }
            item.previewBase = "https://steamuserimages-a.akamaihd.net/ugc/9431752412382" +
                               std::to_string(n) + "/39F914077B539C7BF0B4B2C09CF0BA73B3C6E3B1/";
            item.pictures = {item.previewBase};
            const std::string page = kestavel::workshop::BuildItemPage(item);
            const std::string folder = kestavel::JoinPath(workshop, code);
            kestavel::CreateDirectory(folder);
            paths.push_back(kestavel::ItemFolder(workshop, GbkText::fromAscii(code)).page());
            kestavel::WriteWholeFile(paths.back(), page);
            bytes += page.size();
        }
        catalogue->close();
    }
    std::printf("pages_bench: %d pages, %.1f MB (%.0f KB each on average)\n", kPages,
                static_cast<double>(bytes) / 1e6, static_cast<double>(bytes) / kPages / 1024);

    const std::string cataloguePath = kestavel::CataloguePath(run);
    std::vector<double> whole, information, addresses, storeOnly;
    // What the information command stores, taken from its first run, to time the catalogue's
    // share on its own: the same writes and the closing commit, without any page.
    std::vector<std::vector<std::pair<kestavel::Field, kestavel::FieldValue>>> stored;
    std::size_t sink = ReadAllWhole(paths);  // warms the page cache
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        sink += ReadAllWhole(paths);
        whole.push_back(Milliseconds(start));

        // Each command starts from the freshly indexed catalogue and a filled list.
        kestavel::CopyFile(pristine, cataloguePath);
        {
            kestavel::test::FakeWindow window(run);
            window.workshopFolder.value = workshop;
            kestavel::FillListMirror(window.list, cataloguePath, nullptr);
            start = Clock::now();
            kestavel::ExtractModInformation(window.context);
            information.push_back(Milliseconds(start));
            if (round == 0) std::printf("  %s\n", window.progressBox.value.c_str());
        }
        if (round == 0) {
            auto catalogue = kestavel::ModCatalogue::open(cataloguePath, nullptr);
            catalogue->forEachRecord([&stored](int, const kestavel::ModRecord& record) {
                auto& fields = stored.emplace_back();
                for (int f = kestavel::Position(kestavel::Field::Name);
                     f <= kestavel::Position(kestavel::Field::Description8); ++f) {
                    const kestavel::FieldValue& value = record[static_cast<std::size_t>(f - 1)];
                    const auto* text = std::get_if<GbkText>(&value);
                    const auto* flag = std::get_if<bool>(&value);
                    if ((text && !text->empty()) || (flag && *flag)) {
                        fields.emplace_back(static_cast<kestavel::Field>(f), value);
                    }
                }
            });
            catalogue->close();
        }
        kestavel::CopyFile(pristine, cataloguePath);
        {
            start = Clock::now();
            auto catalogue = kestavel::ModCatalogue::open(cataloguePath, nullptr);
            for (std::size_t i = 0; i < stored.size(); ++i) {
                catalogue->goToRecord(static_cast<int>(i) + 1);
                catalogue->write(stored[i]);
            }
            catalogue->close();
            storeOnly.push_back(Milliseconds(start));
        }
        kestavel::CopyFile(pristine, cataloguePath);
        {
            kestavel::test::FakeWindow window(run);
            window.workshopFolder.value = workshop;
            kestavel::FillListMirror(window.list, cataloguePath, nullptr);
            start = Clock::now();
            kestavel::ExtractPreviewAddresses(window.context);
            addresses.push_back(Milliseconds(start));
            if (round == 0) std::printf("  %s\n", window.progressBox.value.c_str());
        }
    }
    // The machine may be shared: the best round of each shows the work itself, the median how
    // it fares among the rest.
    const double baseline = Best(whole);
    const double info = Best(information);
    const double address = Best(addresses);
    std::printf("best of %d rounds (median in brackets):\n", kRounds);
    std::printf("reading the %d pages whole:      %7.1f ms (%.1f)\n", kPages, baseline,
                Median(whole));
    std::printf("information command (获取MOD信息):  %7.1f ms (%.1f)  ratio %.2f (%.2f)\n", info,
                Median(information), info / baseline, Median(information) / Median(whole));
    std::printf("address command (获取预览图地址):   %7.1f ms (%.1f)  ratio %.2f (%.2f)\n",
                address, Median(addresses), address / baseline, Median(addresses) / Median(whole));
    std::printf("  of the information command, the catalogue's writes and commit alone take "
                "%.1f ms (%.1f), ratio %.2f\n",
                Best(storeOnly), Median(storeOnly), Best(storeOnly) / baseline);
    std::printf("(checksum %zu)\n", sink % 1000);
    return (info / baseline <= 2.0 && address / baseline <= 2.0) ? 0 : 1;
}
