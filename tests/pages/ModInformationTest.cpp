#include <gtest/gtest.h>

#include <string>

#include "PagesTestSupport.h"
#include "WorkshopPage.h"
#include "pages/PageCommands.h"

namespace kestavel {
namespace {

using test::Gbk;

std::string Page(const workshop::ItemPage& item) {
    return workshop::BuildItemPage(item);
}

workshop::ItemPage Item(const std::string& id) {
    workshop::ItemPage item;
    item.id = id;
    item.previewBase = "http://127.0.0.1:9/ugc/1/" + id + "/";
    return item;
}

class ModInformationTest : public test::PagesTest {
  protected:
    void run() { ExtractModInformation(window.context); }
};

TEST_F(ModInformationTest, TakesAuthorTitleAndDescriptionIntoRecordAndRow) {
    addItem("3000000001");
    fillList();
    workshop::ItemPage item = Item("3000000001");
    item.description = "Line one.<br>Line two.";
    savePage("3000000001", Page(item));
    run();
    EXPECT_EQ(text(1, Field::Author), "Someone");
    EXPECT_EQ(text(1, Field::Name), "Road Signs");
    EXPECT_EQ(text(1, Field::Description1), "Line one.<br>Line two.");
    EXPECT_FALSE(flag(1, Field::Gone));
    EXPECT_EQ(cell(0, Field::Author), "Someone");
    EXPECT_EQ(cell(0, Field::Name), "Road Signs");
    EXPECT_EQ(cell(0, Field::Description1), "Line one.<br>Line two.");
    EXPECT_EQ(cell(0, Field::Gone), "假");  // a live page writes nothing there
    EXPECT_EQ(window.progressBox.history,
              (std::vector<std::string>{"正在获取MOD信息，序号：1，目录名：3000000001",
                                        "获取MOD信息完成，共获取文档信息1个"}));
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取MOD信息完成，共获取文档信息1个");
    EXPECT_EQ(window.pump.runs, (std::vector<int>{1, 1000}));
    EXPECT_EQ(window.busy.entered, 1);
    EXPECT_FALSE(window.busy.busy);
    EXPECT_FALSE(window.progressBox.visible);
    EXPECT_TRUE(window.dialogs.asked.empty());  // no confirmation
}

TEST_F(ModInformationTest, ADeadPageMarksTheItemGoneAndTheNextRunSkipsIt) {
    addItem("7");
    fillList();
    workshop::ItemPage item = Item("7");
    item.live = false;
    savePage("7", Page(item));
    run();
    EXPECT_TRUE(flag(1, Field::Gone));
    EXPECT_EQ(cell(0, Field::Gone), "真");
    // Its pieces are still taken.
    EXPECT_EQ(text(1, Field::Author), "Someone");
    EXPECT_EQ(text(1, Field::Name), "Road Signs");

    setField(1, Field::Author, GbkText());
    window.resultBox.value.clear();
    run();
    EXPECT_EQ(text(1, Field::Author), "");
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取MOD信息完成，共获取文档信息0个");
}

TEST_F(ModInformationTest, AnItemWithAnAuthorIsSkippedEvenWithoutTitle) {
    addItem("1");
    setField(1, Field::Author, GbkText::fromAscii("Already"));
    fillList();
    savePage("1", Page(Item("1")));
    run();
    EXPECT_EQ(text(1, Field::Author), "Already");
    EXPECT_EQ(text(1, Field::Name), "");
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取MOD信息完成，共获取文档信息0个");
}

TEST_F(ModInformationTest, TitleAndDescriptionAreKeptWhenAlreadyFilled) {
    addItem("1");
    setField(1, Field::Name, Gbk("旧名称"));
    setField(1, Field::Description1, GbkText::fromAscii("old description"));
    setField(1, Field::Description2, GbkText::fromAscii("old second piece"));
    fillList();
    savePage("1", Page(Item("1")));
    run();
    EXPECT_EQ(text(1, Field::Author), "Someone");
    EXPECT_EQ(text(1, Field::Name), "旧名称");
    EXPECT_EQ(text(1, Field::Description1), "old description");
    EXPECT_EQ(text(1, Field::Description2), "old second piece");
}

TEST_F(ModInformationTest, AllEightPiecesAreWrittenWhenDescription1WasEmpty) {
    addItem("1");
    setField(1, Field::Description5, GbkText::fromAscii("stale piece"));
    fillList();
    workshop::ItemPage item = Item("1");
    item.description = std::string(600, 'x');
    savePage("1", Page(item));
    run();
    EXPECT_EQ(bytes(1, Field::Description1), std::string(256, 'x'));
    EXPECT_EQ(bytes(1, Field::Description2), std::string(256, 'x'));
    EXPECT_EQ(bytes(1, Field::Description3), std::string(88, 'x'));
    for (Field f : {Field::Description4, Field::Description5, Field::Description6,
                    Field::Description7, Field::Description8}) {
        EXPECT_EQ(bytes(1, f), "") << Position(f);
        EXPECT_EQ(cell(0, f), "") << Position(f);
    }
    EXPECT_EQ(cell(0, Field::Description3), std::string(88, 'x'));
}

TEST_F(ModInformationTest, SixHundredBytesAfterConversion) {
    addItem("1");
    fillList();
    workshop::ItemPage item = Item("1");
    // 200 Chinese characters: 600 bytes of UTF-8 become 400 bytes of GBK; 300 make 600.
    std::string description;
    for (int i = 0; i < 300; ++i) description += "路";
    item.description = description;
    savePage("1", Page(item));
    run();
    std::string joined;
    for (int i = 0; i < 8; ++i) joined += bytes(1, static_cast<Field>(Position(Field::Description1) + i));
    EXPECT_EQ(joined.size(), 600u);
    EXPECT_EQ(bytes(1, Field::Description1).size(), 256u);
    EXPECT_EQ(bytes(1, Field::Description2).size(), 256u);
    EXPECT_EQ(bytes(1, Field::Description3).size(), 88u);
    EXPECT_EQ(GbkToUtf8(GbkText::fromBytes(joined)), description);
}

TEST_F(ModInformationTest, ATitleGbkLacksLeavesTheNameEmptyButTheAuthorIsWritten) {
    addItem("1");
    fillList();
    workshop::ItemPage item = Item("1");
    item.title = "Traffic \xF0\x9F\x9A\xA6 Lights";
    savePage("1", Page(item));
    run();
    EXPECT_EQ(text(1, Field::Name), "");
    EXPECT_EQ(text(1, Field::Author), "Someone");
}

TEST_F(ModInformationTest, ChineseTextIsStoredAsGbk) {
    addItem("1");
    fillList();
    workshop::ItemPage item = Item("1");
    item.title = "中式园林公园";
    item.author = "江南工作室";
    item.description = "亭台<br>假山";
    savePage("1", Page(item));
    run();
    EXPECT_EQ(bytes(1, Field::Name), Gbk("中式园林公园").bytes());
    EXPECT_EQ(bytes(1, Field::Author), Gbk("江南工作室").bytes());
    EXPECT_EQ(bytes(1, Field::Description1), Gbk("亭台<br>假山").bytes());
    EXPECT_EQ(cell(0, Field::Name), "中式园林公园");
}

TEST_F(ModInformationTest, TheFallbackAuthorAndTheLastLineCase) {
    addItem("1");
    addItem("2");
    fillList();
    workshop::ItemPage item = Item("1");
    item.linkAuthor = false;
    item.author = "Someone";
    savePage("1", Page(item));
    savePage("2", "var session_id\r\n<title>Steam Workshop :: Two</title>\r\n"
                  "\t\t<div class=\"friendBlockContent\">");
    run();
    EXPECT_EQ(text(1, Field::Author), "Someone");
    EXPECT_EQ(text(2, Field::Author), "");
    EXPECT_EQ(text(2, Field::Name), "Two");
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取MOD信息完成，共获取文档信息2个");
}

TEST_F(ModInformationTest, GoneItemsAndItemsWithoutAPageAreNotCounted) {
    addItem("gone");
    addItem("nopage");
    addItem("empty");
    addItem("ok");
    setField(1, Field::Gone, true);
    fillList();
    savePage("gone", Page(Item("gone")));
    savePage("empty", "");
    savePage("ok", Page(Item("ok")));
    run();
    EXPECT_EQ(text(1, Field::Author), "");
    // An empty page is opened, is dead and yields nothing: it counts.
    EXPECT_TRUE(flag(3, Field::Gone));
    EXPECT_EQ(text(4, Field::Author), "Someone");
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取MOD信息完成，共获取文档信息2个");
    EXPECT_EQ(window.progressBox.history.size(), 3u);
}

TEST_F(ModInformationTest, ASortedListGetsTheCellsInTheRowOfTheItsNumber) {
    addItem("a");
    addItem("b");
    addItem("c");
    fillList();
    window.list.reorderRows({2, 1, 0});  // rows now show 3, 2, 1
    workshop::ItemPage item = Item("a");
    item.author = "AuthorOfA";
    item.title = "Title A";
    savePage("a", Page(item));
    item = Item("c");
    item.author = "AuthorOfC";
    item.live = false;
    savePage("c", Page(item));
    run();
    EXPECT_EQ(window.list.column(0), (std::vector<std::string>{"3", "2", "1"}));
    EXPECT_EQ(cell(2, Field::Author), "AuthorOfA");
    EXPECT_EQ(cell(2, Field::Name), "Title A");
    EXPECT_EQ(cell(0, Field::Author), "AuthorOfC");
    EXPECT_EQ(cell(0, Field::Gone), "真");
    EXPECT_EQ(cell(1, Field::Author), "");
    EXPECT_EQ(cell(1, Field::Gone), "假");
}

TEST_F(ModInformationTest, ARecordWithoutARowStillGetsItsFields) {
    addItem("1");
    savePage("1", Page(Item("1")));
    run();  // the list is empty
    EXPECT_EQ(text(1, Field::Author), "Someone");
    EXPECT_EQ(window.list.rowCount(), 0);
}

TEST_F(ModInformationTest, UntickedProgressRunsEventsOnlyAtTheEnd) {
    addItem("1");
    addItem("2");
    fillList();
    savePage("1", Page(Item("1")));
    savePage("2", Page(Item("2")));
    window.showProgress.checked = false;
    run();
    EXPECT_EQ(window.pump.runs, (std::vector<int>{1000}));
    EXPECT_FALSE(window.progressBox.visible);
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取MOD信息完成，共获取文档信息2个");
}

}  // namespace
}  // namespace kestavel
