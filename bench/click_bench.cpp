// Clicks through 1,000 rows of a 100,000-record catalogue in the real main window, offscreen:
// each click shows the item (caption, picture, description read from the catalogue). Compared
// with opening the catalogue file with plain SQLite and reading one record, 1,000 times.
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include <sqlite3.h>

#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "ui/ItemListView.h"
#include "ui/MainWindow.h"
#include "ui/QtEventPump.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 100000;
constexpr int kClicks = 1000;
constexpr int kRounds = 5;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

int Row(int click) {
    return (click * 9973) % kRecords;
}

void Seed(const std::string& path) {
    kestavel::test::MakeEmptyCatalogue(path);
    auto catalogue = kestavel::ModCatalogue::open(path, nullptr);
    catalogue->holdBatch(true);
    const kestavel::GbkText description = kestavel::GbkText::fromAscii(
        "A road that bends.<br>Works with every road.<br>" + std::string(200, 'x'));
    for (int n = 1; n <= kRecords; ++n) {
        catalogue->addRecord(n, kestavel::GbkText::fromAscii(std::to_string(2000000000 + n)));
        catalogue->goToRecord(n);
        catalogue->write(kestavel::Field::Description1, description);
    }
    catalogue->holdBatch(false);
    catalogue->commit();
}

// The baseline: open the file, read the record's fields, close; as plainly as SQLite allows.
double PlainReads(const std::string& path) {
    const auto start = Clock::now();
    for (int click = 0; click < kClicks; ++click) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM ModCatalogue WHERE rowid = ?", -1, &select,
                           nullptr);
        sqlite3_bind_int(select, 1, Row(click) + 1);
        sqlite3_step(select);
        sqlite3_finalize(select);
        sqlite3_close(db);
    }
    return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / "kestavel-click-bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "workshop");
    const std::string run = root.string();
    Seed(kestavel::CataloguePath(run));
    {
        std::FILE* settings = std::fopen(kestavel::SettingsPath(run).c_str(), "w");
        std::fprintf(settings, "%s\nhttp://127.0.0.1/?id=\n", (root / "workshop").c_str());
        std::fclose(settings);
    }
    kestavel::test::ScriptedDialogs dialogs;
    kestavel::QtEventPump pump;
    kestavel::test::RecordingShell shell;
    auto window = kestavel::MainWindow::create(run, {&dialogs, &pump, &shell});
    window->show();
    QCoreApplication::processEvents();
    kestavel::ItemList& list = *window->list();

    double clicks = 1e9;
    double plain = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        for (int click = 0; click < kClicks; ++click) list.setCurrentRow(Row(click));
        clicks = std::min(clicks, Seconds(start));
        plain = std::min(plain, PlainReads(kestavel::CataloguePath(run)));
    }
    std::printf("%d clicks over %d records: %.3f s; plain open and read: %.3f s\n", kClicks,
                kRecords, clicks, plain);
    std::printf("ratio %.2f (target at most 3); description shown: %s\n", clicks / plain,
                window->context().itemView.description->text().substr(0, 18).c_str());
    window.reset();
    std::filesystem::remove_all(root);
    return 0;
}
