// The long commands killed with SIGKILL at random moments, round after round: whatever the
// moment, the catalogue stays whole, the program starts again, no cut page or picture is kept,
// and running the command again to its end leaves exactly what a run that was never killed
// leaves.
//
// KESTAVEL_KILL_ROUNDS sets the rounds per command (3 by default); KESTAVEL_KILL_SEED repeats
// the kill moments and server delays of an earlier run, whose seed every run prints.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ProgramProcess.h"
#include "WorkshopPage.h"
#include "WorkshopPictures.h"
#include "WorkshopServer.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"
#include "support/CatalogueFixture.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Generous bounds for a loaded machine: a working program stays far inside them.
constexpr auto kLineWithin = 60s;
constexpr auto kExitWithin = 10s;

int Rounds() {
    const char* text = std::getenv("KESTAVEL_KILL_ROUNDS");
    const int rounds = text ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : 3;
}

std::uint64_t Seed() {
    if (const char* text = std::getenv("KESTAVEL_KILL_SEED"))
        return std::strtoull(text, nullptr, 10);
    return std::random_device{}();
}

std::string Code(int n) {
    return std::to_string(3000000000LL + n);
}

// An item's file by its path below the workshop folder.
std::string ItemFile(int n, std::string_view suffix) {
    return Code(n) + "/" + Code(n) + std::string(suffix);
}

// Bytes shown readably in a failure message, cut short.
std::string Shown(const std::optional<std::string>& bytes) {
    if (!bytes) return "<none>";
    std::string shown;
    for (unsigned char c : bytes->substr(0, 60)) {
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        }
    }
    if (bytes->size() > 60) shown += "… (" + std::to_string(bytes->size()) + " bytes)";
    return "\"" + shown + "\"";
}

// ---- what a run leaves: the workshop tree and the catalogue ---------------------------------

// Every file below the workshop folder by its relative path; folders as "path/" with no bytes.
using Tree = std::map<std::string, std::string>;

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "<unreadable>";
    char buffer[16384];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

Tree ReadTree(const std::string& root) {
    Tree tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().generic_string().substr(root.size() + 1);
        if (entry.is_directory()) {
            tree[relative + "/"];
        } else {
            tree[relative] = ReadBytes(entry.path().string());
        }
    }
    return tree;
}

std::optional<std::string> At(const Tree& tree, const std::string& path) {
    auto found = tree.find(path);
    if (found == tree.end()) return std::nullopt;
    return found->second;
}

// A file under a name of its own that a download writes before it takes the real one.
bool IsTemporary(const std::string& path) {
    return path.find(".tmp.") != std::string::npos ||
           (path.size() > 5 && path.compare(path.size() - 5, 5, ".part") == 0);
}

// The first difference between two trees, or nothing.
std::optional<std::string> TreeDifference(const Tree& got, const Tree& want) {
    std::set<std::string> paths;
    for (const Tree* tree : {&got, &want}) {
        for (const auto& entry : *tree) paths.insert(entry.first);
    }
    for (const std::string& path : paths) {
        const auto mine = At(got, path);
        const auto theirs = At(want, path);
        if (mine != theirs) return path + " is " + Shown(mine) + ", wanted " + Shown(theirs);
    }
    return std::nullopt;
}

// A record as its row number and, per field, the storage kind and bytes SQLite holds: read with
// plain SQL, so a difference in how a value is stored shows as well as one in what it says.
using Record = std::vector<std::string>;
using Records = std::vector<Record>;

std::string FieldName(std::size_t cell) {
    return cell == 0 ? std::string("rowid") : std::string(kFields[cell - 1].name);
}

// Opened for writing, as the next program opens it: a journal the kill left is rolled back first.
std::optional<Records> ReadRecords(const std::string& path, std::string* error) {
    auto db = SqliteDatabase::open(path, SqliteDatabase::Mode::ReadWrite, error);
    if (!db) return std::nullopt;
    std::string sql = "SELECT rowid";
    for (const FieldInfo& field : kFields) {
        const std::string name = "\"" + std::string(field.name) + "\"";
        sql += ", typeof(" + name + "), " + name;
    }
    sql += " FROM " + std::string(ModCatalogue::kTableName) + " ORDER BY rowid";
    auto select = db->prepare(sql, error);
    if (!select) return std::nullopt;
    Records records;
    for (;;) {
        const auto step = select->step();
        if (step == SqliteStatement::Step::Done) return records;
        if (step == SqliteStatement::Step::Error) {
            *error = db->lastError();
            return std::nullopt;
        }
        Record& record = records.emplace_back();
        record.push_back(select->columnBytes(0));
        for (int field = 0; field < kFieldCount; ++field) {
            record.push_back(select->columnBytes(1 + 2 * field) + ":" +
                             select->columnBytes(2 + 2 * field));
        }
    }
}

std::optional<Record> RecordAt(const Records& records, std::size_t index) {
    if (index >= records.size()) return std::nullopt;
    return records[index];
}

std::string RecordDifference(std::size_t index, const std::optional<Record>& got,
                             const std::optional<Record>& want) {
    const std::string which = "record " + std::to_string(index + 1);
    if (!got) return which + " is missing";
    if (!want) return which + " should not be there";
    for (std::size_t cell = 0; cell < got->size(); ++cell) {
        if ((*got)[cell] != (*want)[cell]) {
            return which + " " + FieldName(cell) + " is " + Shown((*got)[cell]) + ", wanted " +
                   Shown((*want)[cell]);
        }
    }
    return which + " differs";
}

std::optional<std::string> RecordsDifference(const Records& got, const Records& want) {
    for (std::size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
        if (RecordAt(got, i) != RecordAt(want, i)) {
            return RecordDifference(i, RecordAt(got, i), RecordAt(want, i)) + " (" +
                   std::to_string(got.size()) + " records, wanted " + std::to_string(want.size()) +
                   ")";
        }
    }
    return std::nullopt;
}

std::string Integrity(const std::string& path) {
    std::string error;
    auto db = SqliteDatabase::open(path, SqliteDatabase::Mode::ReadWrite, &error);
    if (!db) return "cannot open: " + error;
    auto check = db->prepare("PRAGMA integrity_check", &error);
    if (!check || check->step() != SqliteStatement::Step::Row) return "cannot check: " + error;
    return check->columnBytes(0);
}

// ---- what the commands find ------------------------------------------------------------------

// A record as a fixture starts with it: its 编码 and the fields given beyond 序号 and 编码.
struct StartRecord {
    std::string code;
    std::vector<std::pair<Field, FieldValue>> fields;
};

// What one command is run on, the same for every run of it: the server's answers, the
// workshop's folders and files and the catalogue's records at the start, and the item files a
// complete run leaves.
struct Bench {
    explicit Bench(std::uint64_t seed) : random(seed) {}

    // Each answer waits a little of its own, before it starts or halfway through its body, so
    // fetches end at uneven moments and a kill may well come in the middle of a body.
    void serve(const std::string& target, std::string body, int status = 200) {
        workshop::Answer answer;
        answer.body = std::move(body);
        answer.status = status;
        const auto wait = std::chrono::milliseconds(random() % 9);
        (random() % 2 == 0 ? answer.delay : answer.stall) = wait;
        server.setAnswer(target, std::move(answer));
    }
    std::string pictureBase(int n) const { return server.base() + pictureTarget(n, ""); }
    static std::string pictureTarget(int n, std::string_view variant) {
        return "/ugc/" + std::to_string(n) + "/" + std::string(variant);
    }

    workshop::WorkshopServer server;
    std::mt19937_64 random;
    int folders = 0;  // item folders 1…folders
    std::vector<StartRecord> records;
    Tree files;
    std::map<std::string, std::optional<std::string>> expected;
};

// Item pages made from a few built ones by putting the item's 编码 wherever the mark stands:
// building thousands of pages one by one would cost more than the rest of the test.
class Pages {
  public:
    explicit Pages(const std::string& serverBase)
        : linked_(Build(true, "")),
          creatorOnly_(Build(false, "")),
          linkedWithPreview_(Build(true, serverBase + "/ugc/" + std::string(kMark) + "/")),
          creatorOnlyWithPreview_(Build(false, serverBase + "/ugc/" + std::string(kMark) + "/")),
          removed_(workshop::BuildRemovedItemPage(std::string(kMark), 0)) {}

    // Some pages name their author only in the creator block.
    std::string page(int n, bool withPreview = false) const {
        const bool linked = n % 7 != 0;
        return Marked(withPreview ? (linked ? linkedWithPreview_ : creatorOnlyWithPreview_)
                                  : (linked ? linked_ : creatorOnly_),
                      n);
    }
    std::string removed(int n) const { return Marked(removed_, n); }

  private:
    static constexpr std::string_view kMark = "#ITEM#";

    static std::string Build(bool linkAuthor, std::string previewBase) {
        workshop::ItemPage page;
        page.id = std::string(kMark);
        page.title = "路标 " + std::string(kMark);
        page.author = "Author" + std::string(kMark);
        page.linkAuthor = linkAuthor;
        page.description = "Signs for item " + std::string(kMark) + ".<br>第二行说明。";
        page.previewBase = std::move(previewBase);
        page.targetBytes = 0;  // no padding beyond the page's own parts
        return workshop::BuildItemPage(page);
    }
    static std::string Marked(std::string page, int n) {
        const std::string code = Code(n);
        for (std::size_t at = 0; (at = page.find(kMark, at)) != std::string::npos;) {
            page.replace(at, kMark.size(), code);
            at += code.size();
        }
        return page;
    }

    std::string linked_;
    std::string creatorOnly_;
    std::string linkedWithPreview_;
    std::string creatorOnlyWithPreview_;
    std::string removed_;
};

FieldValue Text(std::string_view utf8) {
    return test::Gbk(utf8);
}

// A catalogue of old records, none of whose folders are in the workshop.
void PrepareNewIndex(Bench& bench) {
    bench.folders = 2000;
    for (int k = 1; k <= 50; ++k) {
        bench.records.push_back({std::to_string(2000000000 + k),
                                 {{Field::Author, Text("旧作者" + std::to_string(k))}}});
    }
}

// The catalogue holds the first 100 folders and folders 151 to 160 under 序号 101 to 110, so
// folders 101 to 150 find their folder counter taken and the rest find it free.
void PrepareAppendIndex(Bench& bench) {
    bench.folders = 2000;
    for (int n = 1; n <= 160; ++n) {
        if (n > 100 && n <= 150) continue;
        bench.records.push_back({Code(n), {{Field::Author, Text("Kept" + std::to_string(n))}}});
    }
}

void PrepareDownloadPages(Bench& bench) {
    bench.folders = 300;
    const Pages pages(bench.server.base());
    for (int n = 1; n <= bench.folders; ++n) {
        const bool gone = n % 37 == 0;
        const bool failing = n % 41 == 0;
        bench.records.push_back({Code(n), {{Field::Gone, gone}}});
        const std::string page = pages.page(n);
        const std::string target =
            std::string(workshop::WorkshopServer::kPagePath) + "?id=" + Code(n);
        if (failing) {
            bench.serve(target, "<html><body>Too busy, try again.</body></html>", 503);
        } else {
            bench.serve(target, page);
        }
        bench.expected[ItemFile(n, ".info.txt")] =
            gone || failing ? std::nullopt : std::optional<std::string>(page);
    }
}

// Saved pages, some dead, some missing, some items done already: the pages stay as they are.
void PrepareInformation(Bench& bench) {
    // Enough pages that the command tends to run past its first batch commit, so some kills
    // find part of its work committed.
    bench.folders = 2500;
    const Pages pages(bench.server.base());
    for (int n = 1; n <= bench.folders; ++n) {
        StartRecord record{Code(n), {}};
        if (n % 13 == 0) record.fields.push_back({Field::Author, Text("已有作者")});
        bench.records.push_back(std::move(record));
        if (n % 31 == 0) continue;
        const std::string page = n % 23 == 0 ? pages.removed(n) : pages.page(n);
        bench.files[ItemFile(n, ".info.txt")] = page;
        bench.expected[ItemFile(n, ".info.txt")] = page;
    }
}

// Saved pages, some dead, some missing: every item's tags and date are read on every run.
void PrepareCategories(Bench& bench) {
    bench.folders = 2500;
    const Pages pages(bench.server.base());
    for (int n = 1; n <= bench.folders; ++n) {
        bench.records.push_back({Code(n), {}});
        if (n % 31 == 0) continue;
        const std::string page = n % 23 == 0 ? pages.removed(n) : pages.page(n);
        bench.files[ItemFile(n, ".info.txt")] = page;
        bench.expected[ItemFile(n, ".info.txt")] = page;
    }
}

// Saved pages fetched afresh: a live fresh copy replaces the page, a failing or dead one leaves
// the old page in place.
void PreparePageRefresh(Bench& bench) {
    bench.folders = 300;
    const Pages pages(bench.server.base());
    for (int n = 1; n <= bench.folders; ++n) {
        bench.records.push_back({Code(n), {}});
        const std::string saved = pages.page(n, true);
        const std::string fresh = pages.page(n);
        const std::string target =
            std::string(workshop::WorkshopServer::kPagePath) + "?id=" + Code(n);
        const bool failing = n % 41 == 0;
        const bool dead = n % 23 == 0;
        if (failing) {
            bench.serve(target, "<html><body>Too busy, try again.</body></html>", 503);
        } else {
            bench.serve(target, dead ? pages.removed(n) : fresh);
        }
        bench.files[ItemFile(n, ".info.txt")] = saved;
        bench.expected[ItemFile(n, ".info.txt")] = failing || dead ? saved : fresh;
    }
}

void PreparePreviewAddresses(Bench& bench) {
    bench.folders = 1200;
    const Pages pages(bench.server.base());
    for (int n = 1; n <= bench.folders; ++n) {
        StartRecord record{Code(n), {{Field::Gone, n % 29 == 0}}};
        if (n % 13 == 0) record.fields.push_back({Field::PictureAddress, Text("http://kept/")});
        bench.records.push_back(std::move(record));
        if (n % 31 == 0) continue;
        const std::string page = pages.page(n, n % 17 != 0);
        bench.files[ItemFile(n, ".info.txt")] = page;
        bench.expected[ItemFile(n, ".info.txt")] = page;
    }
}

// The three variants of an item's picture as the server has them.
struct Variants {
    std::string large;   // 637x358
    std::string medium;  // 512x0
    std::string plain;
};

Variants PicturesOf(int n) {
    return {workshop::MakeJpeg(64, 36, static_cast<std::uint32_t>(n)),
            workshop::MakeJpeg(48, 27, static_cast<std::uint32_t>(n + 5000)),
            workshop::MakeJpeg(40, 24, static_cast<std::uint32_t>(n + 9000))};
}

void PreparePreviewDownload(Bench& bench) {
    bench.folders = 250;
    for (int n = 1; n <= bench.folders; ++n) {
        const bool noAddress = n % 13 == 0;
        const bool gone = n % 11 == 0;
        const bool plainOnly = n % 19 == 0;
        const bool nothing = n % 23 == 0;
        const bool present = n % 17 == 0;
        bench.records.push_back(
            {Code(n),
             {{Field::Gone, gone},
              {Field::PictureAddress, Text(noAddress ? "" : bench.pictureBase(n))}}});
        const Variants pictures = PicturesOf(n);
        if (!nothing && !plainOnly) {
            bench.serve(Bench::pictureTarget(n, "637x358.resizedimage"), pictures.large);
            bench.serve(Bench::pictureTarget(n, "512x0.resizedimage"), pictures.medium);
        }
        if (!nothing) bench.serve(Bench::pictureTarget(n, ""), pictures.plain);

        std::optional<std::string> kept;
        if (present) {
            // A picture already there is never fetched again, whatever it holds.
            kept = workshop::MakeJpeg(16, 9, static_cast<std::uint32_t>(n + 20000));
            bench.files[ItemFile(n, ".jpg")] = *kept;
        } else if (!noAddress && !nothing) {
            kept = plainOnly ? pictures.plain : gone ? pictures.medium : pictures.large;
        }
        bench.expected[ItemFile(n, ".jpg")] = kept;
    }
}

// Every row picked: a third of the items have no picture, a third an older smaller one that the
// refresh keeps as the backup, a third the very picture served.
void PreparePreviewRefresh(Bench& bench) {
    bench.folders = 200;
    for (int n = 1; n <= bench.folders; ++n) {
        bench.records.push_back({Code(n), {{Field::PictureAddress, Text(bench.pictureBase(n))}}});
        const bool served = n % 29 != 0;
        const std::string fresh = PicturesOf(n).large;
        if (served) bench.serve(Bench::pictureTarget(n, "637x358.resizedimage"), fresh);
        std::optional<std::string> old;
        if (n % 3 == 1) old = workshop::MakeJpeg(8, 8, static_cast<std::uint32_t>(n + 1000));
        if (n % 3 == 2) old = fresh;
        if (old) bench.files[ItemFile(n, ".jpg")] = *old;
        bench.expected[ItemFile(n, ".jpg")] = served ? fresh : old;
        bench.expected[ItemFile(n, ".bak.jpg")] =
            served && n % 3 == 1 ? old : std::optional<std::string>();
    }
}

// ---- one run folder and the program on it ----------------------------------------------------

void FillWorkshop(const Bench& bench, const std::string& workshop) {
    for (int n = 1; n <= bench.folders; ++n) CreateDirectory(JoinPath(workshop, Code(n)));
    for (const auto& [path, bytes] : bench.files) WriteWholeFile(JoinPath(workshop, path), bytes);
}

// A fresh run folder as the bench describes it, with a fresh workshop folder unless one that
// the command only reads is given.
class Fixture {
  public:
    Fixture(const Bench& bench, const std::string& sharedWorkshop)
        : run_(dir_.makeFolder("run")),
          workshop_(sharedWorkshop.empty() ? dir_.makeFolder("workshop") : sharedWorkshop) {
        test::MakeEmptyCatalogue(catalogue());
        WriteWholeFile(SettingsPath(run_), workshop_ + "\n" + bench.server.pagePrefix() + "\n");
        if (sharedWorkshop.empty()) FillWorkshop(bench, workshop_);
        std::string error;
        auto records = ModCatalogue::open(catalogue(), &error);
        if (!records) throw std::runtime_error("fixture catalogue: " + error);
        for (const StartRecord& record : bench.records) {
            const int n = records->recordCount() + 1;
            if (!records->addRecord(n, GbkText::fromAscii(record.code)) ||
                !records->goToRecord(n) ||
                (!record.fields.empty() && !records->write(record.fields))) {
                throw std::runtime_error("fixture catalogue: cannot write record " +
                                         std::to_string(n));
            }
        }
        if (!records->commit()) throw std::runtime_error("fixture catalogue: cannot commit");
    }

    const std::string& run() const { return run_; }
    std::string catalogue() const { return CataloguePath(run_); }
    Tree tree() const { return ReadTree(workshop_); }

  private:
    test::TempDir dir_;
    std::string run_;
    std::string workshop_;
};

struct Command {
    const char* testName;
    const char* label;
    const char* button;
    // The result box line that ends a complete run.
    const char* summary;
    void (*prepare)(Bench&);
    // The command keeps all its catalogue changes in one transaction: after a kill the
    // catalogue is wholly the old or wholly the new one.
    bool oneTransaction;
    // The command only reads the workshop folder: one copy of it serves every run, which spares
    // making and removing thousands of folders and pages a round.
    bool readsWorkshopOnly;
};

void PrintTo(const Command& command, std::ostream* out) {
    *out << command.label;
}

bool Contains(const std::string& line, std::string_view part) {
    return line.find(part) != std::string::npos;
}

// How a run that reached its summary is ended.
enum class End {
    // SIGTERM, as a logout ends it: the program must exit cleanly.
    Logout,
    // SIGKILL the moment the summary shows: a summary means the work is on disk.
    KillAtSummary,
};

// Runs the command to its summary and ends the program; what went wrong, if anything. `span`
// gets the time from the first progress line to the summary.
std::optional<std::string> RunToTheEnd(const Fixture& fixture, const Command& command, End end,
                                       Clock::duration* span = nullptr) {
    test::ProgramProcess program(fixture.run(), command.button);
    if (!program.waitFor(
            "progress", [](const std::string&) { return true; }, kLineWithin)) {
        return "the program showed no progress (did it start?)";
    }
    const auto first = Clock::now();
    if (!program.waitFor(
            "result", [&](const std::string& line) { return Contains(line, command.summary); },
            kLineWithin)) {
        return "the command did not reach its summary";
    }
    if (span) *span = Clock::now() - first;
    if (end == End::KillAtSummary) {
        program.signal(SIGKILL);
        program.waitForExit(kExitWithin);
    } else {
        program.signal(SIGTERM);
        if (program.waitForExit(kExitWithin) != 0) {
            return "the program did not end cleanly on SIGTERM";
        }
    }
    const auto messages = program.lines("message");
    if (!messages.empty()) return "the program said: " + messages.front();
    return std::nullopt;
}

class KillMatrixTest : public ::testing::TestWithParam<Command> {
  protected:
    // The checks of one round, after the kill: every problem found, in words. `left` says how
    // far the killed run had come, so a series of rounds shows which moments it hit.
    std::vector<std::string> checkRound(const Fixture& fixture, std::string* left) const {
        const Command& command = GetParam();
        std::vector<std::string> problems;
        auto problem = [&problems](std::string text) { problems.push_back(std::move(text)); };

        std::string error;
        if (!ModCatalogue::open(fixture.catalogue(), &error)) {
            problem("the catalogue no longer opens: " + error);
        }
        if (const std::string integrity = Integrity(fixture.catalogue()); integrity != "ok") {
            problem("integrity_check after the kill: " + integrity);
        }
        const auto records = ReadRecords(fixture.catalogue(), &error);
        if (!records) {
            problem("cannot read the catalogue after the kill: " + error);
        } else if (command.oneTransaction) {
            if (*records != before_ && *records != reference_) {
                problem("the catalogue is neither the old nor the new one: " +
                        RecordsDifference(*records, reference_).value_or("?"));
            }
        } else {
            // Each record is as it was or as a whole run leaves it: none is half written.
            const std::size_t most = std::max({records->size(), before_.size(), reference_.size()});
            for (std::size_t i = 0; i < most; ++i) {
                const auto got = RecordAt(*records, i);
                if (got != RecordAt(before_, i) && got != RecordAt(reference_, i)) {
                    problem("after the kill " + RecordDifference(i, got, RecordAt(reference_, i)));
                    break;
                }
            }
        }
        std::size_t changedRecords = 0;
        for (std::size_t i = 0; records && i < records->size(); ++i) {
            changedRecords += RecordAt(*records, i) != RecordAt(before_, i) ? 1 : 0;
        }

        // A page or picture under its real name is the one served, or was there before.
        const Tree killed = fixture.tree();
        std::set<std::string> paths;
        for (const Tree* tree : {&killed, &beforeTree_, &referenceTree_}) {
            for (const auto& entry : *tree) paths.insert(entry.first);
        }
        std::size_t changed = 0;
        std::size_t temporaries = 0;
        for (const std::string& path : paths) {
            if (IsTemporary(path)) {
                temporaries += killed.count(path);
                continue;
            }
            const auto got = At(killed, path);
            changed += got != At(beforeTree_, path) ? 1 : 0;
            if (got != At(beforeTree_, path) && got != At(referenceTree_, path)) {
                problem("after the kill " + path + " is " + Shown(got) + ", wanted " +
                        Shown(At(referenceTree_, path)));
            }
        }

        *left = "records changed " + std::to_string(changedRecords) + ", files changed " +
                std::to_string(changed) + ", temporaries " + std::to_string(temporaries);

        // The next start runs the command to its end and leaves what a run never killed leaves,
        // even when it is killed again the moment its summary shows.
        if (auto failed = RunToTheEnd(fixture, command, End::KillAtSummary)) {
            problem("the rerun: " + *failed);
            return problems;
        }
        if (const std::string integrity = Integrity(fixture.catalogue()); integrity != "ok") {
            problem("integrity_check after the rerun: " + integrity);
        }
        if (const auto rerun = ReadRecords(fixture.catalogue(), &error); !rerun) {
            problem("cannot read the catalogue after the rerun: " + error);
        } else if (auto difference = RecordsDifference(*rerun, reference_)) {
            problem("after the rerun " + *difference);
        }
        if (auto difference = TreeDifference(fixture.tree(), referenceTree_)) {
            problem("after the rerun " + *difference);
        }
        return problems;
    }

    Records before_;
    Records reference_;
    Tree beforeTree_;
    Tree referenceTree_;
};

TEST_P(KillMatrixTest, AKillAtAnyMomentLeavesWholeFilesAndARerunFinishesTheJob) {
    const Command& command = GetParam();
    const int rounds = Rounds();
    const std::uint64_t seed = Seed();
    std::printf("[%s] seed %llu (KESTAVEL_KILL_SEED repeats it), %d rounds\n", command.label,
                static_cast<unsigned long long>(seed), rounds);
    Bench bench(seed);
    ASSERT_TRUE(bench.server.listening());
    command.prepare(bench);
    std::optional<test::TempDir> sharedDir;
    std::string sharedWorkshop;
    if (command.readsWorkshopOnly) {
        sharedDir.emplace();
        sharedWorkshop = sharedDir->makeFolder("workshop");
        FillWorkshop(bench, sharedWorkshop);
    }

    // The run that is never killed: what every killed run, run again, must come to.
    Clock::duration span{};
    {
        Fixture clean(bench, sharedWorkshop);
        std::string error;
        auto before = ReadRecords(clean.catalogue(), &error);
        ASSERT_TRUE(before) << error;
        before_ = std::move(*before);
        beforeTree_ = clean.tree();
        const auto failed = RunToTheEnd(clean, command, End::Logout, &span);
        ASSERT_FALSE(failed) << *failed;
        auto reference = ReadRecords(clean.catalogue(), &error);
        ASSERT_TRUE(reference) << error;
        reference_ = std::move(*reference);
        referenceTree_ = clean.tree();
        for (const auto& [path, bytes] : bench.expected) {
            EXPECT_EQ(At(referenceTree_, path), bytes)
                << "a run never killed left " << path << " as " << Shown(At(referenceTree_, path));
        }
    }
    if (command.oneTransaction) {
        ASSERT_NE(before_, reference_) << "the command changed nothing, so a kill cannot show";
    }

    // Kill moments spread over the time the command takes.
    const auto spanMs = std::max<std::int64_t>(
        1, std::chrono::duration_cast<std::chrono::milliseconds>(span).count());
    std::uniform_int_distribution<std::int64_t> moment(0, spanMs);
    int survived = 0;
    for (int round = 1; round <= rounds; ++round) {
        const auto delay = std::chrono::milliseconds(moment(bench.random));
        Fixture fixture(bench, sharedWorkshop);
        std::vector<std::string> problems;
        {
            test::ProgramProcess program(fixture.run(), command.button);
            if (program.waitFor(
                    "progress", [](const std::string&) { return true; }, kLineWithin)) {
                std::this_thread::sleep_for(delay);
                program.signal(SIGKILL);
                if (const auto status = program.waitForExit(kExitWithin)) {
                    problems.push_back("the program had ended with status " +
                                       std::to_string(*status) + " before the kill");
                }
            } else {
                problems.push_back("the program showed no progress");
            }
        }
        std::string left;
        if (problems.empty()) problems = checkRound(fixture, &left);
        for (const std::string& problem : problems) {
            ADD_FAILURE() << command.label << ", round " << round << " of seed " << seed
                          << ", killed " << delay.count()
                          << " ms after the first progress line: " << problem;
        }
        if (problems.empty()) ++survived;
        std::printf(
            "[%s] round %d: killed %lld ms after the first progress line (of %lld; %s): %s\n",
            command.label, round, static_cast<long long>(delay.count()),
            static_cast<long long>(spanMs), left.c_str(), problems.empty() ? "survived" : "FAILED");
        std::fflush(stdout);
    }
    std::printf("[%s] rounds survived: %d/%d\n", command.label, survived, rounds);
}

const Command kCommands[] = {
    {"NewIndex", "new index", "按钮_新建索引", "索引完成，共索引目录", PrepareNewIndex, true, true},
    {"AppendIndex", "append index", "按钮_追加索引", "追加索引完成，共追加目录", PrepareAppendIndex,
     false, true},
    {"PageDownload", "page download", "按钮_下载网页源码", "下载网页文档完成，共下载文档",
     PrepareDownloadPages, false, false},
    {"Information", "information", "按钮_导入说明", "获取MOD信息完成，共获取文档信息",
     PrepareInformation, false, true},
    {"PreviewAddresses", "preview addresses", "按钮_获取预览图信息",
     "获取预览图地址完成，共获取预览图地址", PreparePreviewAddresses, false, true},
    {"PreviewDownload", "preview download", "按钮_下载预览图", "下载预览图完成，共下载预览图",
     PreparePreviewDownload, false, false},
    {"PreviewRefresh", "EditWindow preview refresh", "EditWindow/按钮_更新图片",
     "更新预览图完成，共下载预览图", PreparePreviewRefresh, false, false},
    {"Categories", "EditWindow categories and dates", "EditWindow/按钮_提取分类",
     "MOD分类及更新时间提取完毕。", PrepareCategories, false, true},
    {"PageRefresh", "EditWindow page refresh", "EditWindow/按钮_更新文档",
     "更新网页文档完成，共下载文档", PreparePageRefresh, false, false},
};

INSTANTIATE_TEST_SUITE_P(LongCommands, KillMatrixTest, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<Command>& command) {
                             return std::string(command.param.testName);
                         });

}  // namespace
}  // namespace kestavel
