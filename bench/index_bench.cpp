// Builds the index of a workshop folder of 100,000 item folders: the append against a catalogue
// that already holds 98,000 of them, compared with a bare listing of the folder's directories;
// and a new index from the real main window, with "进度显示" ticked and unticked, compared with
// each other and with the bare listing plus plain SQLite writing the same rows durably. The
// closing pause of one second that every command makes after its summary is left out.
#include <dirent.h>

#include <QApplication>
#include <QCheckBox>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "catalogue/IndexBuilding.h"
#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "ui/MainWindow.h"
#include "ui/QtEventPump.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFolders = 100000;
constexpr int kNewEvery = 50;  // 2,000 of the folders are not yet in the catalogue
constexpr int kRounds = 5;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string FolderName(int i) {
    return std::to_string(2000000000LL + 7919LL * i);
}

// The baseline: the folder's directory names read with the plain directory interface.
double BareListing(const std::string& folder, std::size_t& count) {
    const auto start = Clock::now();
    count = 0;
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_type == DT_DIR && entry->d_name[0] != '.') ++count;
    }
    ::closedir(dir);
    return Seconds(start);
}

void SeedCatalogue(const std::string& path) {
    std::filesystem::remove(path);
    kestavel::test::MakeEmptyCatalogue(path);
    auto catalogue = kestavel::ModCatalogue::open(path, nullptr);
    catalogue->holdBatch(true);
    int number = 0;
    for (int i = 0; i < kFolders; ++i) {
        if (i % kNewEvery == 0) continue;
        catalogue->addRecord(++number, kestavel::GbkText::fromAscii(FolderName(i)));
    }
    catalogue->holdBatch(false);
    catalogue->commit();
}

// What the store alone needs for a new index: the same clearing, rows and durable commit,
// written with plain SQLite and nothing else.
double StoreFloor(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    constexpr int kRows = 256;
    std::string sql = "INSERT INTO ModCatalogue (rowid, \"序号\", \"编码\") VALUES (?, ?, ?)";
    for (int i = 1; i < kRows; ++i) sql += ", (?, ?, ?)";
    std::vector<std::string> codes;
    for (int i = 0; i < kFolders; ++i) codes.push_back(FolderName(i));
    const auto start = Clock::now();
    sqlite3_exec(db, "BEGIN IMMEDIATE; DELETE FROM ModCatalogue", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr);
    for (int first = 0; first + kRows <= kFolders; first += kRows) {
        for (int k = 0; k < kRows; ++k) {
            const int n = first + k + 1;
            sqlite3_bind_int(insert, 3 * k + 1, n);
            sqlite3_bind_int(insert, 3 * k + 2, n);
            sqlite3_bind_blob(insert, 3 * k + 3, codes[static_cast<std::size_t>(n - 1)].data(),
                              static_cast<int>(codes[static_cast<std::size_t>(n - 1)].size()),
                              SQLITE_STATIC);
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double seconds = Seconds(start);
    sqlite3_close(db);
    return seconds;
}

int RecordCount(const std::string& path) {
    return kestavel::ModCatalogue::open(path, nullptr)->recordCount();
}

// The window's pump, except that the closing pause of 1000 ms, the same for every way of
// running, is not waited for: the time measured ends when the summary is written.
class NoClosingPause : public kestavel::QtEventPump {
  public:
    void runEvents(int milliseconds, const std::function<bool()>& stop) override {
        if (milliseconds >= 1000) {
            summaryWritten = Clock::now();
            return;
        }
        QtEventPump::runEvents(milliseconds, stop);
    }
    Clock::time_point summaryWritten;
};

// "新建索引" clicked in the real main window, offscreen, with the progress display as chosen.
double NewIndexInMainWindow(const std::string& run, bool showProgress) {
    kestavel::test::ScriptedDialogs dialogs;
    NoClosingPause pump;
    kestavel::test::RecordingShell shell;
    auto window = kestavel::MainWindow::create(run, {&dialogs, &pump, &shell});
    window->show();
    window->findChild<QCheckBox*>(QStringLiteral("选择框_进度显示"))->setChecked(showProgress);
    QCoreApplication::processEvents();
    dialogs.answers = {true};
    const auto start = Clock::now();
    kestavel::BuildNewIndex(window->context());
    return std::chrono::duration<double>(pump.summaryWritten - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / "kestavel-index-bench";
    std::filesystem::remove_all(root);
    const std::string workshop = (root / "workshop").string();
    for (int i = 0; i < kFolders; ++i)
        std::filesystem::create_directories(root / "workshop" / FolderName(i));
    const std::string run = root.string();
    const std::string catalogue = kestavel::CataloguePath(run);
    {
        std::FILE* settings = std::fopen(kestavel::SettingsPath(run).c_str(), "w");
        std::fprintf(settings, "%s\nhttp://127.0.0.1/?id=\n", workshop.c_str());
        std::fclose(settings);
    }

    double listing = 1e9;
    double append = 1e9;
    double ticked = 1e9;
    double unticked = 1e9;
    double floor = 1e9;
    std::size_t listed = 0;
    int appended = 0;
    int indexed = 0;
    for (int round = 0; round < kRounds; ++round) {
        listing = std::min(listing, BareListing(workshop, listed));

        SeedCatalogue(catalogue);
        {
            kestavel::test::FakeWindow window(run);
            window.workshopFolder.value = workshop;
            window.showProgress.checked = false;
            window.progressBox.keepsHistory = false;
            // The main window shows the catalogue before each command runs.
            kestavel::FillListMirror(window.list, catalogue, nullptr);
            const int shown = window.list.rowCount();
            const auto start = Clock::now();
            kestavel::AppendIndex(window.context);
            append = std::min(append, Seconds(start));
            appended = window.list.rowCount() - shown;
        }
        unticked = std::min(unticked, NewIndexInMainWindow(run, false));
        ticked = std::min(ticked, NewIndexInMainWindow(run, true));
        indexed = RecordCount(catalogue);
        floor = std::min(floor, StoreFloor(catalogue));
    }
    const double baseline = listing + floor;
    std::printf("folders: %zu listed; append added %d rows, new index %d records\n", listed,
                appended, indexed);
    std::printf("bare listing: %.3f s; plain SQLite writing the rows durably: %.3f s\n", listing,
                floor);
    std::printf("append index: %.3f s, ratio to the listing %.2f (target at most 3)\n", append,
                append / listing);
    std::printf("new index, progress unticked: %.3f s, ratio to listing + plain SQLite %.2f\n",
                unticked, unticked / baseline);
    std::printf(
        "new index, progress ticked:   %.3f s, ratio to unticked %.2f (target at most 1.5), "
        "to listing + plain SQLite %.2f (target at most 1.5)\n",
        ticked, ticked / unticked, ticked / baseline);
    std::filesystem::remove_all(root);
    return 0;
}
