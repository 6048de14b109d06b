// The fetching commands with four fetches in flight must leave what one fetch at a time leaves:
// each scenario runs twice against the same answers, once with one fetch at a time and once
// with four, and the two runs' files, catalogues and reports are compared.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <array>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "WorkshopPage.h"
#include "WorkshopServer.h"
#include "catalogue/ItemFolder.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/PageCommands.h"
#include "pages/PageRefresh.h"
#include "pictures/FullPictureCommands.h"
#include "pictures/PreviewCommands.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

using namespace std::chrono_literals;
using workshop::Answer;

constexpr int kItems = 16;

// One run's run folder, workshop folder and window, the items picked in its list.
struct World {
    explicit World(const std::string& root)
        : run(JoinPath(root, "run")), workshop(JoinPath(root, "workshop")), window(run) {
        CreateDirectory(run);
        CreateDirectory(workshop);
        test::MakeEmptyCatalogue(CataloguePath(run));
        window.workshopFolder.value = workshop;
        window.context.window.leastHours = &leastHours;
        window.context.window.mostHours = &mostHours;
        window.context.window.keepPreviewBackup = &keepBackup;
    }

    std::string run;
    std::string workshop;
    test::FakeWindow window;
    test::FakeTextBox leastHours{"24"};
    test::FakeTextBox mostHours{"48"};
    test::FakeCheckBox keepBackup;
};

// Everything a run leaves that a user could see: files by path under the workshop folder,
// the catalogue's records and the two boxes.
struct Outcome {
    std::map<std::string, std::string> files;
    std::vector<ModRecord> records;
    std::string results;
    std::string progress;
};

Outcome OutcomeOf(const World& world) {
    Outcome outcome;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(world.workshop)) {
        if (!entry.is_regular_file()) continue;
        const std::string path = entry.path().string();
        outcome.files[path.substr(world.workshop.size())] = ReadWholeFile(path).value_or("?");
    }
    auto catalogue = ModCatalogue::open(CataloguePath(world.run), nullptr);
    EXPECT_TRUE(catalogue);
    if (catalogue) {
        catalogue->forEachRecord(
            [&](int, const ModRecord& record) { outcome.records.push_back(record); });
    }
    outcome.results = world.window.resultBox.value;
    outcome.progress = world.window.progressBox.value;
    return outcome;
}

void Age(const std::string& path, std::chrono::hours old) {
    const std::time_t when = std::time(nullptr) - std::chrono::seconds(old).count();
    utimbuf times{when, when};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

std::string Code(int i) {
    return std::to_string(5000 + i);
}

class ConcurrentFetchesTest : public ::testing::Test {
  protected:
    // The answers an item gets, by its kind, each after a delay of 0 to 300 ms drawn for it.
    // A body the item's page or picture would keep is told apart by the item's code.
    std::vector<Answer> answersFor(int i, const std::string& body) {
        Answer answer;
        answer.body = body;
        answer.delay = std::chrono::milliseconds(delays_(random_));
        Answer rest = answer;
        rest.status = 429;
        rest.body = "<html>Too Many Requests</html>";
        rest.headers = {{"Retry-After", "1"}};
        switch (i % 8) {
            case 2:
                answer.status = 500;
                answer.body = "<html>Internal Server Error</html>";
                return {answer};
            case 3:
                answer.body = "abc";
                return {answer};
            case 4:
                answer.drop = true;
                return {answer};
            case 5:
                // Refused once, then answered: the item is asked again after the rest. The
                // other is refused twice and fails after its second ask.
                if (i == 13) return {rest};
                return {rest, answer};
            case 6:
                answer.status = 404;
                answer.body = "<html>Not Found</html>";
                return {answer};
            default:
                return {answer};
        }
    }

    // Runs `command` in a fresh world with this many fetches at once, after `prepare` has made
    // the world and set the server's answers; gives what it left.
    Outcome runWith(int atOnce, const std::function<void(World&)>& prepare,
                    const std::function<void(World&)>& command) {
        auto world = std::make_unique<World>(dir.makeFolder("world" + std::to_string(atOnce)));
        world->window.pagePrefix.value = server.pagePrefix();
        world->window.context.services.fetchesAtOnce = atOnce;
        random_.seed(20261211);
        prepare(*world);
        world->window.dialogs.answers.push_back(true);
        command(*world);
        return OutcomeOf(*world);
    }

    // Gives the first run's outcome, for the scenario's own checks that the runs did something.
    Outcome expectSameRuns(const std::function<void(World&)>& prepare,
                           const std::function<void(World&)>& command) {
        const Outcome one = runWith(1, prepare, command);
        EXPECT_EQ(server.mostAtOnce(), 1u);
        const Outcome four = runWith(4, prepare, command);
        EXPECT_EQ(one.files, four.files);
        EXPECT_EQ(one.records, four.records);
        EXPECT_EQ(one.results, four.results);
        EXPECT_EQ(one.progress, four.progress);
        // Fetches overlapped, and never more than four.
        EXPECT_GT(server.mostAtOnce(), 1u);
        EXPECT_LE(server.mostAtOnce(), 4u);
        return one;
    }
    // The scenario fetched, kept and failed, so the comparison says something.
    static void expectFetchedAndFailed(const Outcome& one) {
        EXPECT_NE(one.results.find("失败"), std::string::npos) << one.results;
        EXPECT_NE(one.results.find("个"), std::string::npos) << one.results;
    }

    // Items 1…kItems with their folders, in the catalogue and picked in the list.
    static void addItems(World& world, const std::function<void(int, ModCatalogue&)>& fill = {}) {
        auto catalogue = ModCatalogue::open(CataloguePath(world.run), nullptr);
        ASSERT_TRUE(catalogue);
        for (int i = 1; i <= kItems; ++i) {
            ASSERT_TRUE(catalogue->addRecord(i, GbkText::fromAscii(Code(i))));
            CreateDirectory(JoinPath(world.workshop, Code(i)));
            world.window.list.appendRow(
                {GbkText::fromAscii(std::to_string(i)), GbkText::fromAscii(Code(i))});
            world.window.list.setPicked(i - 1, true);
            if (fill) {
                catalogue->goToRecord(i);
                fill(i, *catalogue);
            }
        }
    }
    std::string page(int i, const std::string& title) const {
        workshop::ItemPage item;
        item.id = Code(i);
        item.title = title;
        item.targetBytes = 8 * 1024;
        return workshop::BuildItemPage(item);
    }
    std::string pictureBase(int i) const { return server.base() + "/ugc/" + Code(i) + "/"; }

    test::TempDir dir;
    workshop::WorkshopServer server;

  private:
    std::mt19937 random_;
    std::uniform_int_distribution<int> delays_{0, 300};
};

TEST_F(ConcurrentFetchesTest, PageDownload) {
    const Outcome one = expectSameRuns(
        [this](World& world) {
            addItems(world);
            // Saved before: not fetched again.
            WriteWholeFile(ItemFolder(world.workshop, GbkText::fromAscii(Code(7))).page(), "kept");
            for (int i = 1; i <= kItems; ++i) {
                server.setAnswers(
                    std::string(workshop::WorkshopServer::kPagePath) + "?id=" + Code(i),
                    answersFor(i, page(i, "Item " + Code(i))));
            }
        },
        [](World& world) { DownloadPages(world.window.context); });
    expectFetchedAndFailed(one);
    EXPECT_NE(one.files.at("/5001/5001.info.txt").find("Item 5001"), std::string::npos);
    EXPECT_EQ(one.files.count("/5002/5002.info.txt"), 0u);  // its answer was a 500
}

TEST_F(ConcurrentFetchesTest, PageRefresh) {
    const Outcome one = expectSameRuns(
        [this](World& world) {
            addItems(world);
            for (int i = 1; i <= kItems; ++i) {
                // Every third saved page is young, so outside the 24-hour window and kept.
                const std::string path =
                    ItemFolder(world.workshop, GbkText::fromAscii(Code(i))).page();
                WriteWholeFile(path, page(i, "Old " + Code(i)));
                Age(path, i % 3 == 0 ? 2h : 30h);
                server.setAnswers(
                    std::string(workshop::WorkshopServer::kPagePath) + "?id=" + Code(i),
                    answersFor(i, page(i, "Fresh " + Code(i))));
            }
        },
        [](World& world) { RefreshPages(world.window.context); });
    expectFetchedAndFailed(one);
    EXPECT_NE(one.files.at("/5001/5001.info.txt").find("Fresh 5001"), std::string::npos);
}

TEST_F(ConcurrentFetchesTest, PreviewDownload) {
    const Outcome one = expectSameRuns(
        [this](World& world) {
            addItems(world, [this](int i, ModCatalogue& catalogue) {
                catalogue.write(Field::PictureAddress, GbkText::fromAscii(pictureBase(i)));
            });
            for (int i = 1; i <= kItems; ++i) {
                const std::string base = "/ugc/" + Code(i) + "/";
                // Every other item's largest variant is missing: the medium one is taken.
                const std::string first =
                    i % 2 == 0 ? "512x0.resizedimage" : "637x358.resizedimage";
                server.setAnswers(base + first, answersFor(i, "picture of " + Code(i)));
            }
        },
        [](World& world) { PreviewDownload(world.window.context); });
    expectFetchedAndFailed(one);
    EXPECT_EQ(one.files.at("/5001/5001.jpg"), "picture of 5001");
}

TEST_F(ConcurrentFetchesTest, PreviewRefresh) {
    const Outcome one = expectSameRuns(
        [this](World& world) {
            addItems(world, [this](int i, ModCatalogue& catalogue) {
                catalogue.write(Field::PictureAddress, GbkText::fromAscii(pictureBase(i)));
            });
            for (int i = 1; i <= kItems; ++i) {
                const std::string picture =
                    JoinPath(JoinPath(world.workshop, Code(i)), Code(i) + ".jpg");
                if (i % 4 != 1) {
                    WriteWholeFile(picture, std::string(2000, 'o'));
                    Age(picture, 30h);
                }
                server.setAnswers(
                    "/ugc/" + Code(i) + "/637x358.resizedimage",
                    answersFor(i, std::string(3000, 'a' + static_cast<char>(i % 26))));
            }
        },
        [](World& world) { PreviewRefresh(world.window.context); });
    expectFetchedAndFailed(one);
    EXPECT_EQ(one.files.at("/5008/5008.jpg"), std::string(3000, 'a' + 8));
}

TEST_F(ConcurrentFetchesTest, FullPictureDownload) {
    const std::string marker = server.base() + "/";
    const std::array<std::string_view, 1> markers{marker};
    const Outcome one = expectSameRuns(
        [&](World& world) {
            addItems(world);
            for (int i = 1; i <= kItems; ++i) {
                workshop::ItemPage item;
                item.id = Code(i);
                item.targetBytes = 8 * 1024;
                // Two pictures for every other item: a failed answer is simply not kept.
                for (int k = 1; k <= 1 + i % 2; ++k) {
                    const std::string path = "full/" + Code(i) + "/" + std::to_string(k) + "/";
                    item.pictures.push_back(server.base() + "/" + path);
                    server.setAnswers("/" + path,
                                      answersFor(i + k, std::string(12000 + i * 10 + k, 'p')));
                }
                WriteWholeFile(ItemFolder(world.workshop, GbkText::fromAscii(Code(i))).page(),
                               workshop::BuildItemPage(item));
            }
        },
        [&](World& world) { FullPictureDownload(world.window.context, markers); });
    EXPECT_EQ(one.files.at("/5007/5007_pic1.jpg"), std::string(12071, 'p'));
    EXPECT_EQ(one.files.at("/5007/5007_pic2.jpg"), std::string(12072, 'p'));
    EXPECT_EQ(one.files.count("/5001/5001_pic1.jpg"), 0u);  // its answer was a 500
}

}  // namespace
}  // namespace kestavel
