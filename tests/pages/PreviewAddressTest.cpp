#include <gtest/gtest.h>

#include <string>

#include "PagesTestSupport.h"
#include "WorkshopPage.h"
#include "pages/PageCommands.h"

namespace kestavel {
namespace {

class PreviewAddressTest : public test::PagesTest {
  protected:
    void run() { ExtractPreviewAddresses(window.context); }
    std::string fixturePage(const std::string& id, const std::string& previewBase) {
        workshop::ItemPage item;
        item.id = id;
        item.previewBase = previewBase;
        return workshop::BuildItemPage(item);
    }
};

TEST_F(PreviewAddressTest, StoresTheAddressInRecordAndRow) {
    addItem("3000000001");
    fillList();
    const std::string base = "http://127.0.0.1:8080/ugc/943175241238290455/39F914077B539C7B/";
    savePage("3000000001", fixturePage("3000000001", base));
    run();
    EXPECT_EQ(bytes(1, Field::PictureAddress), base);
    EXPECT_EQ(cell(0, Field::PictureAddress), base);
    EXPECT_EQ(window.progressBox.history,
              (std::vector<std::string>{"正在获取预览图地址，序号：1，目录名：3000000001",
                                        "获取预览图地址完成，共获取预览图地址1个"}));
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取预览图地址完成，共获取预览图地址1个");
    EXPECT_EQ(window.pump.runs, (std::vector<int>{1, 1000}));
    EXPECT_EQ(window.busy.entered, 1);
    EXPECT_FALSE(window.busy.busy);
    EXPECT_FALSE(window.progressBox.visible);
}

TEST_F(PreviewAddressTest, TheAddressIsNotConverted) {
    addItem("1");
    fillList();
    // UTF-8 bytes and character references stay exactly as in the page.
    const std::string address = "http://h/ugc/1/\xE4\xB8\xAD&amp;x/";
    savePage("1", "<link rel=\"image_src\" href=\"" + address + "?imw=200&imh=200\" />\n");
    run();
    EXPECT_EQ(bytes(1, Field::PictureAddress), address);
    EXPECT_EQ(window.list.cell(0, 4).bytes(), address);
}

TEST_F(PreviewAddressTest, CapitalsCountAndAnIndentedLinkIsReadUpToItsQuery) {
    addItem("caps");
    addItem("tab");
    fillList();
    savePage("caps", "<html>\r\n<LINK REL=\"IMAGE_SRC\" HREF=\"http://a/b/?imw=200&imh=200\" />\r\n");
    savePage("tab", "<html>\r\n\t<link rel=\"image_src\" href=\"http://a/b/?imw=200&imh=200\" />\r\n");
    run();
    EXPECT_EQ(text(1, Field::PictureAddress), "http://a/b/");
    EXPECT_EQ(text(2, Field::PictureAddress), "http://a/b/");
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取预览图地址完成，共获取预览图地址2个");
}

TEST_F(PreviewAddressTest, A48ByteLinkLineStoresAnEmptyAddress) {
    addItem("1");
    fillList();
    window.list.setCell(0, 4, GbkText::fromAscii("stale cell"));
    savePage("1", "<link rel=\"image_src\" href=\"" + std::string(20, 'q') + "\n");
    run();
    EXPECT_EQ(text(1, Field::PictureAddress), "");
    EXPECT_EQ(cell(0, Field::PictureAddress), "");
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取预览图地址完成，共获取预览图地址1个");
}

TEST_F(PreviewAddressTest, GoneItemsKeepTheirAddressAndFilledOnesAreSkipped) {
    addItem("gone");
    addItem("filled");
    addItem("goneEmpty");
    setField(1, Field::Gone, true);
    setField(1, Field::PictureAddress, GbkText::fromAscii("http://old/"));
    setField(2, Field::PictureAddress, GbkText::fromAscii("http://kept/"));
    setField(3, Field::Gone, true);
    fillList();
    for (const char* code : {"gone", "filled", "goneEmpty"}) {
        savePage(code, fixturePage(code, "http://new/" + std::string(code) + "/"));
    }
    run();
    EXPECT_EQ(text(1, Field::PictureAddress), "http://old/");
    EXPECT_EQ(text(2, Field::PictureAddress), "http://kept/");
    EXPECT_EQ(text(3, Field::PictureAddress), "");
    EXPECT_TRUE(window.progressBox.history.size() == 1u);
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n获取预览图地址完成，共获取预览图地址0个");
}

TEST_F(PreviewAddressTest, AMissingPageIsNotCountedButItsProgressLineIsWritten) {
    addItem("nopage");
    addItem("dead");
    fillList();
    savePage("dead", "<html><body>There was a problem accessing the item.</body></html>");
    run();
    EXPECT_EQ(window.progressBox.history,
              (std::vector<std::string>{"正在获取预览图地址，序号：1，目录名：nopage",
                                        "正在获取预览图地址，序号：2，目录名：dead",
                                        "获取预览图地址完成，共获取预览图地址1个"}));
    EXPECT_EQ(text(2, Field::PictureAddress), "");
}

TEST_F(PreviewAddressTest, ASortedListGetsTheCellInTheRowOfItsNumber) {
    addItem("a");
    addItem("b");
    fillList();
    window.list.reorderRows({1, 0});
    savePage("a", fixturePage("a", "http://a/"));
    savePage("b", fixturePage("b", "http://b/"));
    run();
    EXPECT_EQ(window.list.column(0), (std::vector<std::string>{"2", "1"}));
    EXPECT_EQ(cell(0, Field::PictureAddress), "http://b/");
    EXPECT_EQ(cell(1, Field::PictureAddress), "http://a/");
}

}  // namespace
}  // namespace kestavel
