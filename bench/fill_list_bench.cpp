// Fills MainWindow's list from a catalogue of 100,000 records and compares the time with one
// plain SQLite query loop over the same rows; also prints the peak memory of the filled list.
#include <QApplication>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include <sqlite3.h>

#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "platform/CodePage.h"
#include "platform/SqliteDatabase.h"
#include "ui/ItemListView.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 100000;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void WriteCatalogue(const std::string& path) {
    auto db = kestavel::SqliteDatabase::open(path, kestavel::SqliteDatabase::Mode::Create, nullptr);
    db->execute(kestavel::ModCatalogue::CreateTableSql());
    db.reset();
    auto catalogue = kestavel::ModCatalogue::open(path, nullptr);
    catalogue->holdBatch(true);
    const kestavel::GbkText title = kestavel::Utf8ToGbk("道路标志 Road Signs 第");
    const std::string description(600, 'd');
    for (int n = 1; n <= kRecords; ++n) {
        catalogue->addRecord(n, kestavel::GbkText::fromAscii(std::to_string(2000000000LL + n)));
        catalogue->goToRecord(n);
        catalogue->write(kestavel::Field::Name, title + kestavel::GbkText::fromAscii(std::to_string(n)));
        catalogue->write(kestavel::Field::Author, kestavel::GbkText::fromAscii("Author" + std::to_string(n % 977)));
        for (int piece = 0; piece < 3; ++piece) {
            const std::size_t from = static_cast<std::size_t>(piece) * 256;
            catalogue->write(kestavel::Position(kestavel::Field::Description1) + piece,
                             kestavel::GbkText::fromBytes(description.substr(from, 256)));
        }
        catalogue->write(kestavel::Field::UpdateDate,
                         std::optional<kestavel::LocalDateTime>(kestavel::LocalDateTime{2015, 10, 3, 14, n % 60, 0}));
    }
    catalogue->holdBatch(false);
    catalogue->commit();
}

// The baseline: every column of every row read once with the plain SQLite interface.
double PlainQueryLoop(const std::string& path, std::size_t& bytes) {
    const auto start = Clock::now();
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM ModCatalogue ORDER BY rowid", -1, &stmt, nullptr);
    bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < 19; ++c) {
            sqlite3_column_blob(stmt, c);
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(stmt, c));
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return Seconds(start);
}

long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kestavel-fill-bench";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "DEVodu.edb").string();
    std::filesystem::remove(path);
    WriteCatalogue(path);
    const long beforeFill = PeakMegabytes();

    double baseline = 1e9;
    double fill = 1e9;
    std::size_t bytes = 0;
    auto* list = new kestavel::ItemListView({{QStringLiteral("序号"), 64}}, nullptr);
    for (int round = 0; round < 3; ++round) {
        baseline = std::min(baseline, PlainQueryLoop(path, bytes));
        const auto start = Clock::now();
        kestavel::FillListMirror(*list, path, nullptr);
        fill = std::min(fill, Seconds(start));
    }
    std::printf("records: %d (%zu bytes of cells)\n", list->rowCount(), bytes);
    std::printf("plain query loop: %.3f s\n", baseline);
    std::printf("fill list mirror: %.3f s\n", fill);
    std::printf("ratio fill / plain loop: %.2f (target at most 3)\n", fill / baseline);
    std::printf("peak memory: %ld MiB filled (%ld MiB before the fill; target under 500)\n",
                PeakMegabytes(), beforeFill);
    delete list;
    std::filesystem::remove_all(dir);
    return 0;
}
