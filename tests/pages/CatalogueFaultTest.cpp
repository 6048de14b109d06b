#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "WorkshopPage.h"
#include "catalogue/IndexBuilding.h"
#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/PageCommands.h"
#include "catalogue/ItemFolder.h"
#include "pages/PageDocument.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/ScratchMount.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

// Real faults under every command that writes the catalogue: another program holding its
// lock past the busy time, a read-only file system and a full one. Whatever the fault, the
// command says so naming DEVodu.edb, claims no success, and leaves file and list alike.
enum class Fault { LockHeld, ReadOnly, Full };

struct Command {
    const char* name;
    std::function<void(const CommandContext&)> run;
};

const Command kCommands[] = {
    {"新建索引", BuildNewIndex},
    {"追加索引", AppendIndex},
    {"获取MOD信息", [](const CommandContext& c) { ExtractModInformation(c); }},
    {"获取预览图地址", [](const CommandContext& c) { ExtractPreviewAddresses(c); }},
};

std::string Integrity(const std::string& path) {
    auto db = SqliteDatabase::open(path, SqliteDatabase::Mode::ReadOnly, nullptr);
    if (!db) return "cannot open";
    auto check = db->prepare("PRAGMA integrity_check");
    if (!check || check->step() != SqliteStatement::Step::Row) return "cannot check";
    return check->columnBytes(0);
}

// One command under one fault, in folders of its own.
void RunUnderFault(const Command& command, Fault fault) {
    test::TempDir dir;
    const std::string run = dir.makeFolder("run");
    const std::string workshop = dir.makeFolder("workshop");
    std::unique_ptr<test::ScratchMount> mount;
    if (fault != Fault::LockHeld) {
        mount = std::make_unique<test::ScratchMount>(run, 256 * 1024);
        if (!mount->mounted()) GTEST_SKIP() << "no right to mount a scratch file system here";
    }
    const std::string catalogue = CataloguePath(run);
    test::MakeEmptyCatalogue(catalogue);
    {
        auto store = ModCatalogue::open(catalogue, nullptr);
        for (int n = 1; n <= 3; ++n)
            store->addRecord(n, GbkText::fromAscii(std::to_string(n * 100)));
    }
    for (int n = 1; n <= 5; ++n) {
        const std::string code = std::to_string(n * 100);
        CreateDirectory(JoinPath(workshop, code));
        workshop::ItemPage page;
        page.id = code;
        page.previewBase = "http://127.0.0.1/ugc/" + code + "/";
        page.targetBytes = 8 * 1024;
        WriteWholeFile(ItemFolder(workshop, GbkText::fromAscii(code)).page(),
                       workshop::BuildItemPage(page));
    }
    test::FakeWindow window(run);
    window.workshopFolder.value = workshop;
    ASSERT_TRUE(FillListMirror(window.list, catalogue, nullptr));

    std::unique_ptr<SqliteDatabase> other;
    switch (fault) {
        case Fault::LockHeld:
            other = SqliteDatabase::open(catalogue, SqliteDatabase::Mode::ReadWrite, nullptr);
            ASSERT_TRUE(other && other->execute("BEGIN IMMEDIATE"));
            break;
        case Fault::ReadOnly:
            ASSERT_TRUE(mount->makeReadOnly());
            break;
        case Fault::Full:
            ASSERT_TRUE(mount->fill());
            break;
    }
    const auto before = ReadWholeFile(catalogue);
    window.dialogs.answers = {true};
    command.run(window.context);
    if (other) other->execute("ROLLBACK");

    bool said = false;
    for (const auto& asked : window.dialogs.asked) {
        said = said || asked.text.starts_with("DEVodu.edb无法写入");
    }
    EXPECT_TRUE(said);
    EXPECT_EQ(window.resultBox.text().find("完成"), std::string::npos) << window.resultBox.text();
    EXPECT_FALSE(window.busy.busy);
    EXPECT_EQ(ReadWholeFile(catalogue), before);
    EXPECT_EQ(Integrity(catalogue), "ok");
    test::FakeItemList stored;
    ASSERT_TRUE(FillListMirror(stored, catalogue, nullptr));
    ASSERT_EQ(window.list.rowCount(), stored.rowCount());
    for (int row = 0; row < stored.rowCount(); ++row) {
        for (int column = 0; column < kFieldCount; ++column) {
            EXPECT_EQ(window.list.cell(row, column), stored.cell(row, column))
                << row << "," << column;
        }
    }
}

TEST(CatalogueFault, EveryWritingCommandSaysSoAndClaimsNothing) {
    for (const Fault fault : {Fault::LockHeld, Fault::ReadOnly, Fault::Full}) {
        for (const Command& command : kCommands) {
            SCOPED_TRACE(std::string(command.name) + " under fault " +
                         std::to_string(static_cast<int>(fault)));
            RunUnderFault(command, fault);
        }
    }
}

}  // namespace
}  // namespace kestavel
