// Runs "下载网页文档" and "下载预览图片" over 200 items against the local server, which answers
// each page (about 150 KB) and each picture after 100 ms, with the commands' four fetches at once.
// Prints each time as a ratio to the latency floor of four fetches at once (200 × 0.1 s / 4),
// and, measured in the same run, to four plain clients fetching the same addresses side by side.
// Target: each ratio to the floor at most 1.3.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "WorkshopPage.h"
#include "WorkshopServer.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/PageCommands.h"
#include "pictures/PreviewCommands.h"
#include "platform/FileSystem.h"
#include "platform/HttpClient.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace {

using kestavel::GbkText;
using kestavel::bench::Clock;
using kestavel::bench::Milliseconds;

constexpr int kItems = 200;
constexpr int kAtOnce = 4;
constexpr int kLatencyMilliseconds = 100;
constexpr double kFloorMilliseconds = double{kItems} * kLatencyMilliseconds / kAtOnce;

std::string CodeOf(int n) {
    return std::to_string(3000000000LL + n);
}

std::string PicturePath(int n) {
    return "/ugc/" + CodeOf(n) + "/637x358.resizedimage";
}

// Four plain clients share the addresses, each taking the next one when it is free.
double PlainFetches(const std::vector<std::string>& addresses) {
    std::atomic<std::size_t> next{0};
    const auto started = Clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < kAtOnce; ++c) {
        clients.emplace_back([&] {
            kestavel::HttpClient client;
            for (std::size_t i = next++; i < addresses.size(); i = next++) client.get(addresses[i]);
        });
    }
    for (std::thread& client : clients) client.join();
    return Milliseconds(started);
}

}  // namespace

int main() {
    kestavel::workshop::WorkshopServer server;
    kestavel::test::TempDir dir;
    const std::string run = dir.makeFolder("run");
    const std::string workshop = dir.makeFolder("workshop");
    kestavel::test::MakeEmptyCatalogue(kestavel::CataloguePath(run));

    std::vector<std::string> pageAddresses;
    std::vector<std::string> pictureAddresses;
    {
        auto catalogue = kestavel::ModCatalogue::open(kestavel::CataloguePath(run), nullptr);
        catalogue->holdBatch(true);
        for (int n = 1; n <= kItems; ++n) {
            const std::string code = CodeOf(n);
            catalogue->addRecord(n, GbkText::fromAscii(code));
            catalogue->goToRecord(n);
            catalogue->write(kestavel::Field::PictureAddress,
                             GbkText::fromAscii(server.base() + "/ugc/" + code + "/"));
            kestavel::CreateDirectory(kestavel::JoinPath(workshop, code));

            kestavel::workshop::ItemPage item;
            item.id = code;
            kestavel::workshop::Answer page;
            page.body = kestavel::workshop::BuildItemPage(item);
            page.delay = std::chrono::milliseconds(kLatencyMilliseconds);
            server.setPage(code, page);
            kestavel::workshop::Answer picture;
            picture.body = std::string(40 * 1024, static_cast<char>('a' + n % 26));
            picture.contentType = "image/jpeg";
            picture.delay = std::chrono::milliseconds(kLatencyMilliseconds);
            server.setAnswer(PicturePath(n), picture);
            pageAddresses.push_back(server.pagePrefix() + code);
            pictureAddresses.push_back(server.base() + PicturePath(n));
        }
        catalogue->close();
    }

    kestavel::test::FakeWindow window(run);
    window.workshopFolder.value = workshop;
    window.pagePrefix.value = server.pagePrefix();
    window.showProgress.checked = true;
    window.context.services.http = kestavel::HttpOptions{};
    window.context.services.fetchesAtOnce = kAtOnce;

    const double plainPages = PlainFetches(pageAddresses);
    window.dialogs.answers.push_back(true);
    auto started = Clock::now();
    kestavel::DownloadPages(window.context);
    // The fake pump lets the closing pause of 1000 ms pass at once.
    const double pages = Milliseconds(started);

    const double plainPictures = PlainFetches(pictureAddresses);
    window.dialogs.answers.push_back(true);
    started = Clock::now();
    kestavel::PreviewDownload(window.context);
    const double pictures = Milliseconds(started);

    const bool allSaved = window.resultBox.value.find("共下载文档200个") != std::string::npos &&
                          window.resultBox.value.find("共下载预览图200个") != std::string::npos;
    std::printf("%d items, %d ms a fetch, %d at once: latency floor %.0f ms\n", kItems,
                kLatencyMilliseconds, kAtOnce, kFloorMilliseconds);
    std::printf("page download:    %.0f ms, ratio to the floor %.2f, to plain clients %.2f\n",
                pages, pages / kFloorMilliseconds, pages / plainPages);
    std::printf("preview download: %.0f ms, ratio to the floor %.2f, to plain clients %.2f\n",
                pictures, pictures / kFloorMilliseconds, pictures / plainPictures);
    std::printf("plain clients: pages %.0f ms, pictures %.0f ms\n", plainPages, plainPictures);
    if (!allSaved) std::printf("not everything was saved:%s\n", window.resultBox.value.c_str());
    const bool met =
        allSaved && pages / kFloorMilliseconds <= 1.3 && pictures / kFloorMilliseconds <= 1.3;
    return met ? 0 : 1;
}
