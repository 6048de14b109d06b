#include <utime.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "WorkshopPage.h"
#include "WorkshopServer.h"
#include "catalogue/DisplayText.h"
#include "catalogue/ItemFolder.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "pages/PageDocument.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/ShortTimeouts.h"
#include "support/TempDir.h"
#include "ui/EditWindow.h"
#include "ui/ItemListView.h"
#include "ui/MainWindow.h"
#include "ui/ServedWindows.h"

namespace kestavel {
namespace {

using namespace std::chrono_literals;

constexpr const char* kWelcome = "本窗口为信息显示窗口，欢迎使用！";
constexpr const char* kReextract =
    "\r\n请关闭此编辑窗口并在主窗口中重新获取MOD信息，否则更新的文档信息无法生效。";

// EditWindow's "更新网页文档" and "提取分类及时间", clicked on the real window over a catalogue of
// items whose pages lie in their folders and are answered by a local server.
class EditPageCommandsTest : public test::ServedWindows {
  protected:
    // Record n has 编码 codes[n − 1] and an item folder; `fill` may set further fields.
    void open(const std::vector<std::string>& codes,
              const std::function<void(ModCatalogue&)>& fill = {}) {
        test::MakeEmptyCatalogue(CataloguePath(dir.path()));
        {
            auto catalogue = ModCatalogue::open(CataloguePath(dir.path()), nullptr);
            for (std::size_t i = 0; i < codes.size(); ++i) {
                catalogue->addRecord(static_cast<std::int64_t>(i + 1),
                                     GbkText::fromAscii(codes[i]));
                CreateDirectory(JoinPath(workshop, codes[i]));
            }
            if (fill) fill(*catalogue);
        }
        showMainWindow();
        openEditWindow();
    }

    std::string pagePath(const std::string& code) const {
        return ItemFolder(workshop, GbkText::fromAscii(code)).page();
    }
    std::string temporaryPath(const std::string& code) const {
        return ItemFolder(workshop, GbkText::fromAscii(code)).temporaryPage();
    }
    std::string pageOf(const std::string& code) const {
        return ReadWholeFile(pagePath(code)).value_or("<no page>");
    }
    static void setWritten(const std::string& path, std::time_t when) {
        utimbuf times{when, when};
        ASSERT_EQ(::utime(path.c_str(), &times), 0) << path;
    }
    void savePage(const std::string& code, const std::string& body, std::chrono::seconds age = 0s) {
        ASSERT_TRUE(WriteWholeFile(pagePath(code), body));
        setWritten(pagePath(code), std::time(nullptr) - age.count());
    }
    static std::string livePage(const std::string& code, const std::string& title) {
        workshop::ItemPage page;
        page.id = code;
        page.title = title;
        page.targetBytes = 6 * 1024;
        return workshop::BuildItemPage(page);
    }

    void click(const char* button) {
        auto* found = edit->findChild<QPushButton*>(QString::fromUtf8(button));
        ASSERT_TRUE(found) << button;
        QTest::mouseClick(found, Qt::LeftButton);
    }
    void tickAll() {
        for (int row = 0; row < edit->list()->rowCount(); ++row) edit->list()->setPicked(row, true);
    }
    void setBounds(const char* least, const char* most) {
        edit->findChild<QLineEdit*>(QStringLiteral("编辑框_最少时间"))
            ->setText(QString::fromUtf8(least));
        edit->findChild<QLineEdit*>(QStringLiteral("编辑框_最多时间"))
            ->setText(QString::fromUtf8(most));
    }
    void refresh() {
        dialogs.answers.push_back(true);
        click("按钮_更新文档");
    }

    std::string results() const { return edit->context().window.resultBox->text(); }
    std::string progress() const { return edit->context().window.progressBox->text(); }
    std::string cell(int row, int column) const {
        return GbkToUtf8(edit->list()->cell(row, column));
    }
    bool mainIdle() const {
        return main->findChild<QPushButton*>(QStringLiteral("按钮_新建索引"))->isEnabled();
    }
    // A stored field as its display text, UTF-8.
    std::string stored(int n, Field field) const {
        auto catalogue = ModCatalogue::open(CataloguePath(dir.path()), nullptr);
        EXPECT_TRUE(catalogue && catalogue->goToRecord(n));
        return catalogue ? GbkToUtf8(DisplayText(catalogue->read(field))) : "";
    }
};

TEST_F(EditPageCommandsTest, TheHourWindowChoosesTheSavedPagesFetchedAgain) {
    // Saved live pages of these ages, and a fifth item without a page.
    const std::vector<std::string> codes = {"801", "802", "803", "804", "805"};
    const std::chrono::seconds ages[] = {23h + 59min, 24h + 1min, 48h + 1min, 49h + 1min};
    open(codes);
    for (const std::string& code : codes) server.setPage(code, livePage(code, "Fresh " + code));
    struct Case {
        const char* least;
        const char* most;
        std::array<bool, 5> fetched;
    };
    const Case cases[] = {
        {"24", "48", {false, true, true, false, true}},
        {"5", "", {false, false, false, false, true}},  // L without U: only the missing page
        {"", "", {true, true, true, true, true}},
        {"0", "0", {true, true, true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.least) + "/" + c.most);
        for (std::size_t i = 0; i < 4; ++i) savePage(codes[i], livePage(codes[i], "Old"), ages[i]);
        DeleteFile(pagePath(codes[4]));
        tickAll();
        setBounds(c.least, c.most);
        refresh();
        int fetched = 0;
        for (std::size_t i = 0; i < codes.size(); ++i) {
            const std::string expected =
                c.fetched[i] ? livePage(codes[i], "Fresh " + codes[i]) : livePage(codes[i], "Old");
            EXPECT_EQ(pageOf(codes[i]), expected) << codes[i];
            EXPECT_FALSE(PathExists(temporaryPath(codes[i])));
            fetched += c.fetched[i] ? 1 : 0;
        }
        EXPECT_TRUE(results().ends_with("\r\n\r\n更新网页文档完成，共下载文档" +
                                        std::to_string(fetched) + "个" + kReextract))
            << results();
        EXPECT_TRUE(mainIdle());
    }
}

TEST_F(EditPageCommandsTest, FreshCopiesThatAreNotCompleteLivePagesLeaveTheSavedPage) {
    const std::vector<std::string> codes = {"901", "902", "903", "904", "905", "906", "907"};
    open(codes);
    for (std::size_t i = 0; i < 6; ++i) savePage(codes[i], livePage(codes[i], "Old"), 30h);
    // A saved page that is dead is neither fetched nor counted.
    savePage(codes[6], workshop::BuildRemovedItemPage(codes[6], 4096), 30h);
    server.setPage(codes[0], "ab");
    // An overloaded or failing server's error pages.
    for (const auto& [i, status] : {std::pair{1, 503}, std::pair{2, 429}}) {
        workshop::Answer error;
        error.status = status;
        error.body = std::string(5000, 'x');
        server.setPage(codes[static_cast<std::size_t>(i)], error);
    }
    workshop::Answer cut;
    cut.body = livePage(codes[3], "Fresh");
    cut.drop = true;
    server.setPage(codes[3], cut);
    // Today's removed-item page holds the session marker but is dead all the same.
    server.setPage(codes[4], workshop::BuildRemovedItemPage(codes[4], 4096, "\r\n",
                                                            workshop::PageLayout::Current));
    server.setPage(codes[5], livePage(codes[5], "Fresh"));
    tickAll();
    refresh();

    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(pageOf(codes[i]), livePage(codes[i], "Old")) << codes[i];
    }
    EXPECT_EQ(pageOf(codes[5]), livePage(codes[5], "Fresh"));
    EXPECT_EQ(pageOf(codes[6]), workshop::BuildRemovedItemPage(codes[6], 4096));
    EXPECT_EQ(
        server.requestCount(std::string(workshop::WorkshopServer::kPagePath) + "?id=" + codes[6]),
        0u);
    for (const std::string& code : codes) EXPECT_FALSE(PathExists(temporaryPath(code))) << code;
    EXPECT_EQ(results(), std::string(kWelcome) +
                             "\r\n正在统计数据...\r\n正在下载文档..."
                             "\r\n\r\n更新网页文档完成，共下载文档6个"
                             "\r\n\r\n其中更新失败4个，序号是：\r\n1，2，3，4"
                             "\r\n\r\n编码是：\r\n901，902，903，904" +
                             kReextract);
    EXPECT_EQ(progress(),
              "更新网页文档完成，共下载文档6个。请关闭此编辑窗口并在主窗口中重新获取"
              "MOD信息，否则更新的文档信息无法生效！！！");
}

TEST_F(EditPageCommandsTest, WithoutATickedRowNothingIsFetched) {
    open({"811", "812"});
    dialogs.answers.push_back(false);
    click("按钮_更新文档");
    EXPECT_EQ(results(), kWelcome);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].title, "提示");

    refresh();
    EXPECT_EQ(results(), std::string(kWelcome) + "\r\n正在统计数据...\r\n请选择至少一项进行更新。");
    EXPECT_EQ(progress(), "请选择至少一项进行更新。");
    EXPECT_EQ(server.requestCount(), 0u);
    EXPECT_TRUE(mainIdle());
}

TEST_F(EditPageCommandsTest, ClosingTheWindowCutsTheFetchesInFlightAndKeepsTheEndedOne) {
    const std::vector<std::string> codes = {"821", "822", "823", "824", "825"};
    open(codes);
    for (const std::string& code : codes) {
        savePage(code, livePage(code, "Old"), 30h);
        workshop::Answer fresh;
        fresh.body = livePage(code, "Fresh");
        // Only the first answers at once: the others are in flight when the window closes.
        fresh.delay = code == codes[0] ? 0ms : 20s;
        server.setPage(code, fresh);
    }
    tickAll();
    pump.onceAfter([&] { return pageOf(codes[0]) == livePage(codes[0], "Fresh"); },
                   [this] { edit->close(); });
    const auto started = std::chrono::steady_clock::now();
    refresh();
    // Cut within about a second, not after the server's 20 s.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    ASSERT_TRUE(edit) << "the window went while its command ran";
    EXPECT_TRUE(results().ends_with("共下载文档1个" + std::string(kReextract))) << results();
    test::SettleEvents();
    EXPECT_FALSE(edit);
    EXPECT_EQ(pageOf(codes[0]), livePage(codes[0], "Fresh"));
    for (std::size_t i = 1; i < codes.size(); ++i) {
        EXPECT_EQ(pageOf(codes[i]), livePage(codes[i], "Old")) << codes[i];
    }
    for (const std::string& code : codes) EXPECT_FALSE(PathExists(temporaryPath(code))) << code;
    EXPECT_TRUE(mainIdle());
}

// A 2015 page (its year from the file's last write) and one of today's; an item without a page
// keeps what the catalogue holds, though the rebuilt list shows it empty.
TEST_F(EditPageCommandsTest, CategoriesAndDatesFromPagesOfBothLayouts) {
    open({"831", "832", "833"}, [](ModCatalogue& catalogue) {
        catalogue.goToRecord(2);
        catalogue.write(Field::Gone, true);
        catalogue.write(Field::Detail3, GbkText::fromAscii("Older3"));
        catalogue.goToRecord(3);
        catalogue.write(Field::MainCategory, GbkText::fromAscii("Older"));
        catalogue.write(Field::UpdateDate,
                        std::optional<LocalDateTime>(LocalDateTime{2014, 2, 3, 4, 5, 0}));
    });
    workshop::ItemPage classic;
    classic.id = "831";
    classic.tagGroup = "Mod";
    classic.tags = {"A", "B", "C", "D", "E"};
    classic.posted = "3 Oct @ 2:05pm";
    classic.updated = "";
    savePage("831", workshop::BuildItemPage(classic));
    std::tm june2015{};
    june2015.tm_year = 115;
    june2015.tm_mon = 5;
    june2015.tm_mday = 1;
    june2015.tm_hour = 12;
    june2015.tm_isdst = -1;
    setWritten(pagePath("831"), std::mktime(&june2015));

    workshop::ItemPage today;
    today.id = "832";
    today.layout = workshop::PageLayout::Current2025;
    today.tagGroup = "Asset";
    today.tags = {"Building", "Residential"};
    today.posted = "21 Mar, 2023 @ 5:18am";
    today.updated = "Jan 21, 2024 @ 6:59pm";
    savePage("832", workshop::BuildItemPage(today));
    edit->list()->setPicked(0, true);

    click("按钮_提取分类");

    ASSERT_EQ(edit->list()->rowCount(), 3);
    const std::vector<std::vector<std::string>> rows = {
        {"1", "831", "", "", "假", "Mod", "A", "B", "C", "2015年10月3日14时5分"},
        {"2", "832", "", "", "真", "Asset", "Building", "Residential", "", "2024年1月21日18时59分"},
        {"3", "833", "", "", "假", "", "", "", "", ""},
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 10; ++column) {
            EXPECT_EQ(cell(row, column), rows[row][column]) << row << "," << column;
        }
        EXPECT_FALSE(edit->list()->isPicked(row));
    }
    EXPECT_EQ(stored(1, Field::MainCategory), "Mod");
    EXPECT_EQ(stored(1, Field::Detail3), "C");
    EXPECT_EQ(stored(1, Field::UpdateDate), "2015年10月3日14时5分");
    EXPECT_EQ(stored(2, Field::Detail2), "Residential");
    EXPECT_EQ(stored(2, Field::Detail3), "Older3");
    EXPECT_EQ(stored(2, Field::UpdateDate), "2024年1月21日18时59分");
    EXPECT_EQ(stored(3, Field::MainCategory), "Older");
    EXPECT_EQ(stored(3, Field::UpdateDate), "2014年2月3日4时5分");
    EXPECT_EQ(results(), std::string(kWelcome) +
                             "\r\n正在重排列表...\r\n正在提取MOD分类及更新时间..."
                             "\r\nMOD分类及更新时间提取完毕。");
    EXPECT_EQ(progress(), "MOD分类及更新时间提取完毕。");
    EXPECT_TRUE(mainIdle());
    EXPECT_TRUE(dialogs.asked.empty());

    // A second run over the same pages has nothing to write: it ends as the first did even while
    // another program holds the catalogue's write lock.
    auto other =
        SqliteDatabase::open(CataloguePath(dir.path()), SqliteDatabase::Mode::ReadWrite, nullptr);
    ASSERT_TRUE(other && other->execute("BEGIN IMMEDIATE"));
    click("按钮_提取分类");
    other->execute("ROLLBACK");
    EXPECT_TRUE(dialogs.asked.empty());
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 10; ++column) {
            EXPECT_EQ(cell(row, column), rows[row][column]) << row << "," << column;
        }
    }
    EXPECT_TRUE(
        results().ends_with("\r\nMOD分类及更新时间提取完毕。\r\n正在重排列表..."
                            "\r\n正在提取MOD分类及更新时间...\r\nMOD分类及更新时间提取完毕。"));
}

TEST_F(EditPageCommandsTest, AFailedCatalogueWriteSaysSoAndClaimsNothing) {
    open({"841", "842"});
    for (const std::string code : {"841", "842"}) {
        workshop::ItemPage page;
        page.id = code;
        savePage(code, workshop::BuildItemPage(page));
    }
    const std::string catalogue = CataloguePath(dir.path());
    const auto before = ReadWholeFile(catalogue);
    auto other = SqliteDatabase::open(catalogue, SqliteDatabase::Mode::ReadWrite, nullptr);
    ASSERT_TRUE(other && other->execute("BEGIN IMMEDIATE"));
    click("按钮_提取分类");
    other->execute("ROLLBACK");

    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_TRUE(dialogs.asked.back().text.starts_with("DEVodu.edb无法写入，提取分类及时间已中止。"))
        << dialogs.asked.back().text;
    EXPECT_EQ(results().find("提取完毕"), std::string::npos) << results();
    EXPECT_EQ(ReadWholeFile(catalogue), before);
    for (int row = 0; row < 2; ++row) {
        for (int column = 5; column < 10; ++column) EXPECT_EQ(cell(row, column), "") << row;
    }
    EXPECT_TRUE(mainIdle());
}

TEST_F(EditPageCommandsTest, AMissingCatalogueEndsTheProgram) {
    open({"851"});
    DeleteFile(CataloguePath(dir.path()));
    click("按钮_提取分类");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "DEVodu.edb文件不存在！");
    EXPECT_TRUE(main->hasEnded());
    EXPECT_EQ(results(), kWelcome);
}

TEST_F(EditPageCommandsTest, ClosingTheWindowEndsTheCategoryCommandAtTheNextItem) {
    const std::vector<std::string> codes = {"861", "862", "863", "864", "865"};
    open(codes);
    for (const std::string& code : codes) {
        workshop::ItemPage page;
        page.id = code;
        savePage(code, workshop::BuildItemPage(page));
    }
    // Pumps 1 and 2 come before the items; 4 is the second item's.
    pump.atRun(4, [this] { edit->close(); });
    click("按钮_提取分类");
    test::SettleEvents();
    EXPECT_FALSE(edit);
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(stored(n, Field::MainCategory), n <= 2 ? "Mod" : "") << n;
    EXPECT_TRUE(mainIdle());
}

}  // namespace
}  // namespace kestavel
