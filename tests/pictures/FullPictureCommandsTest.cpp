#include "pictures/FullPictureCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>

#include "WorkshopPage.h"
#include "WorkshopServer.h"
#include "pages/PagesTestSupport.h"

namespace kestavel {
namespace {

using workshop::Answer;

Answer Picture(std::size_t size, char fill, int status = 200) {
    Answer answer;
    answer.status = status;
    answer.body = std::string(size, fill);
    answer.contentType = "image/jpeg";
    return answer;
}

// Three local hosts stand for the cloud host, the image host and today's image host; the pages
// name pictures on them, in the letters each test chooses.
class FullPictureTest : public test::PagesTest {
  protected:
    FullPictureTest() {
        for (std::size_t i = 0; i < servers.size(); ++i) markerTexts[i] = servers[i].base() + "/";
        for (std::size_t i = 0; i < servers.size(); ++i) markers[i] = markerTexts[i];
    }

    // Row n − 1 of the edit list: 序号 n and this 编码, picked unless told otherwise.
    void addRow(const std::string& code, bool picked = true) {
        const int n = window.list.rowCount() + 1;
        window.list.appendRow({GbkText::fromAscii(std::to_string(n)), GbkText::fromAscii(code)});
        window.list.setPicked(n - 1, picked);
    }
    // An item with its folder, its saved page and a picked row.
    void addPage(const std::string& code, const std::string& page) {
        CreateDirectory(JoinPath(workshop, code));
        savePage(code, page);
        addRow(code);
    }
    std::string address(std::size_t host, const std::string& path) const {
        return markerTexts[host] + path;
    }
    void serve(std::size_t host, const std::string& path, Answer answer) {
        servers[host].setAnswer("/" + path, std::move(answer));
    }
    std::string file(const std::string& code, const std::string& name) const {
        return JoinPath(JoinPath(workshop, code), name);
    }
    std::string contents(const std::string& code, const std::string& name) const {
        return ReadWholeFile(file(code, name)).value_or("<none>");
    }
    std::vector<std::string> folder(const std::string& code) const {
        auto names = ListDirectory(JoinPath(workshop, code), ListFilter::Everything);
        std::sort(names.begin(), names.end());
        return names;
    }
    void download(bool confirm = true) {
        window.dialogs.answers.push_back(confirm);
        FullPictureDownload(window.context, markers);
    }

    std::array<workshop::WorkshopServer, 3> servers;
    std::array<std::string, 3> markerTexts;
    std::array<std::string_view, 3> markers;
};

constexpr std::size_t kCloud = 0;
constexpr std::size_t kImageHost = 1;
constexpr std::size_t kToday = 2;

TEST_F(FullPictureTest, EachAddressGivesOneFileNumberedCloudFirstThenTheImageHosts) {
    for (auto layout : {workshop::PageLayout::Classic, workshop::PageLayout::Current}) {
        const std::string code = layout == workshop::PageLayout::Classic ? "100" : "200";
        workshop::ItemPage page;
        page.layout = layout;
        // Each picture stands on three lines of the page.
        page.pictures = {
            address(kImageHost, "ugc/" + code + "/A/"), address(kCloud, "ugc/" + code + "/B/"),
            address(kToday, "ugc/" + code + "/C/"), address(kImageHost, "ugc/" + code + "/D/")};
        addPage(code, workshop::BuildItemPage(page));
        serve(kImageHost, "ugc/" + code + "/A/", Picture(20000, 'a'));
        serve(kCloud, "ugc/" + code + "/B/", Picture(20000, 'b'));
        serve(kToday, "ugc/" + code + "/C/", Picture(20000, 'c'));
        serve(kImageHost, "ugc/" + code + "/D/", Picture(20000, 'd'));
    }
    download();
    for (const std::string code : {"100", "200"}) {
        EXPECT_EQ(contents(code, code + "_pic1.jpg"), std::string(20000, 'b')) << code;
        EXPECT_EQ(contents(code, code + "_pic2.jpg"), std::string(20000, 'a')) << code;
        EXPECT_EQ(contents(code, code + "_pic3.jpg"), std::string(20000, 'd')) << code;
        EXPECT_EQ(contents(code, code + "_pic4.jpg"), std::string(20000, 'c')) << code;
        EXPECT_EQ(servers[kImageHost].requestCount("/ugc/" + code + "/A/"), 1u);
    }
    EXPECT_EQ(window.resultBox.value,
              "\r\n正在统计数据...\r\n正在下载图片...\r\n下载完成，共下载图片8个。");
    EXPECT_EQ(window.progressBox.value, "\r\n下载完成，共下载图片8个。");
    EXPECT_NE(std::find(window.progressBox.history.begin(), window.progressBox.history.end(),
                        "正在下载图片，序号：2，目录名：200，文件名：200_pic3.jpg"),
              window.progressBox.history.end());
    EXPECT_EQ(window.busy.entered, 1);
    EXPECT_FALSE(window.busy.busy);
}

TEST_F(FullPictureTest, ALineGivesOnlyItsFirstCompleteAddressWhateverItsLetters) {
    std::string upper = address(kImageHost, "ugc/5/E/");
    std::transform(upper.begin(), upper.begin() + 4, upper.begin(), ::toupper);  // "HTTP"
    addPage("100", "<a href=\"" + upper + "\">" + address(kImageHost, "ugc/6/F/") + "</a>\n" +
                       "<img src=\"" + address(kImageHost, "ugc/7") + "\">\n");
    serve(kImageHost, "ugc/5/E/", Picture(20000, 'e'));
    serve(kImageHost, "ugc/6/F/", Picture(20000, 'f'));
    download();
    EXPECT_EQ(contents("100", "100_pic1.jpg"), std::string(20000, 'e'));
    EXPECT_EQ(servers[kImageHost].requestCount(), 1u);
    EXPECT_EQ(folder("100"), (std::vector<std::string>{"100.info.txt", "100_pic1.jpg"}));
    EXPECT_TRUE(window.resultBox.value.ends_with("\r\n下载完成，共下载图片1个。"));
}

// A picture replaces the old one of its number only when it is larger than 10240 bytes and
// came with a success; every fetched address counts, and nothing but the pictures is left.
TEST_F(FullPictureTest, OnlyALargeSuccessfulPictureReplacesTheOldOne) {
    struct Case {
        const char* code;
        Answer answer;
        bool replaced;
    };
    Answer dropped = Picture(30000, 'n');
    dropped.drop = true;
    const Case cases[] = {
        {"101", Picture(10241, 'n'), true},
        {"102", Picture(1000, 'n'), false},
        {"103", Picture(5000, 'n'), false},
        {"104", Picture(10240, 'n'), false},
        {"105", Picture(0, 'n'), false},
        {"106", Picture(30000, 'n', 404), false},
        {"107", dropped, false},
    };
    for (const Case& c : cases) {
        addPage(c.code,
                "<img src=\"" + address(kToday, std::string("ugc/") + c.code + "/P/") + "\">");
        dir.write(std::string("workshop/") + c.code + "/" + c.code + "_pic1.jpg", "old picture");
        serve(kToday, std::string("ugc/") + c.code + "/P/", c.answer);
    }
    addPage("108", "<html>no pictures</html>");
    addRow("109");  // no folder and no page
    download();
    for (const Case& c : cases) {
        const std::string code = c.code;
        EXPECT_EQ(contents(code, code + "_pic1.jpg"), c.replaced ? c.answer.body : "old picture")
            << code;
        EXPECT_EQ(folder(code), (std::vector<std::string>{code + ".info.txt", code + "_pic1.jpg"}))
            << code;
    }
    EXPECT_EQ(folder("108"), std::vector<std::string>{"108.info.txt"});
    EXPECT_TRUE(window.resultBox.value.ends_with("\r\n下载完成，共下载图片7个。"))
        << window.resultBox.value;
}

TEST_F(FullPictureTest, NothingPickedOrCancelledFetchesNothing) {
    addPage("100", "<img src=\"" + address(kCloud, "ugc/1/A/") + "\">");
    serve(kCloud, "ugc/1/A/", Picture(20000, 'a'));
    download(false);
    EXPECT_EQ(window.resultBox.value, "");
    EXPECT_EQ(window.busy.entered, 0);
    EXPECT_EQ(window.dialogs.asked.at(0).text.substr(0, 6), "      ");

    window.list.setPicked(0, false);
    download();
    EXPECT_EQ(window.resultBox.value, "\r\n正在统计数据...\r\n请选择至少一项进行下载。");
    EXPECT_EQ(window.progressBox.value, "请选择至少一项进行下载。");
    EXPECT_EQ(servers[kCloud].requestCount(), 0u);
    EXPECT_FALSE(window.busy.busy);
}

TEST_F(FullPictureTest, AStopCutsThePicturesInFlightAndKeepsTheEndedOne) {
    for (const std::string code : {"100", "200", "300", "400", "500", "600"}) {
        addPage(code, "<img src=\"" + address(kCloud, "ugc/" + code + "/A/") + "\">");
        Answer picture = Picture(20000, code[0]);
        // Only the first answers at once: the next ones are in flight at the stop.
        if (code != "100") picture.delay = std::chrono::seconds(20);
        serve(kCloud, "ugc/" + code + "/A/", picture);
    }
    window.pump.onRun = [this] {
        if (PathExists(file("100", "100_pic1.jpg"))) window.host.requestStop();
    };
    download();
    EXPECT_TRUE(PathExists(file("100", "100_pic1.jpg")));
    for (const std::string code : {"200", "300", "400", "500", "600"}) {
        EXPECT_EQ(folder(code), std::vector<std::string>{code + ".info.txt"}) << code;
    }
    // Four at once at most, and none started after the stop.
    EXPECT_LE(servers[kCloud].requestCount(), 5u);
    EXPECT_TRUE(window.resultBox.value.ends_with("\r\n下载完成，共下载图片1个。"));
}

class FullPictureCheckTest : public FullPictureTest {
  protected:
    std::vector<int> highlighted() const { return window.list.highlightedRows(); }
    bool anyPicked() const {
        for (int row = 0; row < window.list.rowCount(); ++row) {
            if (window.list.isPicked(row)) return true;
        }
        return false;
    }
};

TEST_F(FullPictureCheckTest, HighlightsAndListsThePickedItemsWithoutFullPictures) {
    dir.write("workshop/100/100_Pic1.JPG", "picture");
    dir.write("workshop/200/200_pic3.tmp.jpg", "left over");  // counts as a full picture
    dir.write("workshop/300/300.jpg", "only the preview");
    dir.write("workshop/600/600.jpg", "only the preview");
    dir.write("workshop/700/700_pic1.jpg.tmp", "a download a kill cut short");
    addRow("100");
    addRow("200");
    addRow("300");
    addRow("400");  // no folder
    addRow("600", false);
    addRow("700");
    window.list.setHighlighted(4, true);
    FullPictureCheck(window.context);
    EXPECT_EQ(highlighted(), (std::vector<int>{2, 3, 5}));
    EXPECT_FALSE(anyPicked());
    EXPECT_EQ(
        window.resultBox.value,
        "\r\n正在统计数据...\r\n正在检查是否下载过网页全图..."
        "\r\n已检测完毕，共有3个MOD未下载网页全图。\r\n序号是：3，4，6\r\n编码是：300，400，700");
    EXPECT_EQ(window.progressBox.value, "\r\n已检测完毕，共有3个MOD未下载网页全图。");
    EXPECT_EQ(window.list.madeVisible.back(), 5);
    EXPECT_EQ(window.list.focusCount, 1);
    EXPECT_EQ(window.busy.entered, 1);
    EXPECT_FALSE(window.busy.busy);
}

TEST_F(FullPictureCheckTest, WithEveryPictureThereOrNothingPickedItListsNothing) {
    dir.write("workshop/100/100_pic1.jpg", "picture");
    addRow("100");
    addRow("200", false);
    window.list.setHighlighted(1, true);
    FullPictureCheck(window.context);
    EXPECT_TRUE(window.resultBox.value.ends_with("\r\n已检测完毕，共有0个MOD未下载网页全图。"));
    EXPECT_TRUE(highlighted().empty());

    window.resultBox.value.clear();
    window.list.setHighlighted(1, true);
    FullPictureCheck(window.context);
    EXPECT_EQ(window.resultBox.value, "\r\n正在统计数据...\r\n请选择至少一项进行更新。");
    EXPECT_EQ(highlighted(), std::vector<int>{1});
}

}  // namespace
}  // namespace kestavel
