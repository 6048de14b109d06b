#include "pictures/PreviewCommands.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <chrono>
#include <ctime>

#include "WorkshopServer.h"
#include "pages/PagesTestSupport.h"
#include "pictures/PreviewFiles.h"
#include "platform/HttpClient.h"
#include "support/ShortTimeouts.h"

namespace kestavel {
namespace {

using namespace std::chrono_literals;
using workshop::Answer;

Answer Picture(std::string body, int status = 200) {
    Answer answer;
    answer.status = status;
    answer.body = std::move(body);
    answer.contentType = "image/jpeg";
    return answer;
}

class PreviewTest : public test::PagesTest {
  protected:
    // An item whose address is served at /ugc/<code>/ plus the variant suffix.
    int addPictureItem(const std::string& code, bool withFolder = true) {
        const int n = addItem(code, withFolder);
        setField(n, Field::PictureAddress, GbkText::fromAscii(base(code)));
        return n;
    }
    std::string base(const std::string& code) const { return server.base() + "/ugc/" + code + "/"; }
    void serveVariant(const std::string& code, const std::string& suffix, Answer answer) {
        server.setAnswer("/ugc/" + code + "/" + suffix, std::move(answer));
    }
    PreviewFiles files(const std::string& code) const {
        return PreviewFiles::of(workshop, GbkText::fromAscii(code));
    }
    std::string contents(const std::string& path) const {
        return ReadWholeFile(path).value_or("<none>");
    }
    void download(bool confirm = true) {
        window.dialogs.answers.push_back(confirm);
        PreviewDownload(window.context);
    }
    // Ticks the rows of these codes in an edit list that holds the catalogue's rows.
    void pickInEditList(std::initializer_list<std::string> codes) {
        auto catalogue = openCatalogue();
        for (int n = 1; n <= catalogue->recordCount(); ++n) {
            catalogue->goToRecord(n);
            const GbkText code = std::get<GbkText>(catalogue->read(Field::Code));
            window.list.appendRow({GbkText::fromAscii(std::to_string(n)), code});
            for (const std::string& picked : codes) {
                if (picked == code.bytes()) window.list.setPicked(window.list.rowCount() - 1, true);
            }
        }
    }
    void refresh(const std::string& least = "", const std::string& most = "", bool backup = true) {
        leastHours.value = least;
        mostHours.value = most;
        keepBackup.checked = backup;
        window.dialogs.answers.push_back(true);
        PreviewRefresh(window.context);
    }
    static void age(const std::string& path, std::chrono::seconds old) {
        const std::time_t when = std::time(nullptr) - old.count();
        utimbuf times{when, when};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }
    std::string lastSummary() const { return window.progressBox.value; }

    workshop::WorkshopServer server;
    test::FakeTextBox leastHours;
    test::FakeTextBox mostHours;
    test::FakeCheckBox keepBackup;

    void SetUp() override {
        window.context.window.leastHours = &leastHours;
        window.context.window.mostHours = &mostHours;
        window.context.window.keepPreviewBackup = &keepBackup;
    }
};

TEST_F(PreviewTest, DownloadTakesTheFirstVariantThatAnswers) {
    addPictureItem("100");
    addPictureItem("200");
    addPictureItem("300");
    serveVariant("100", "637x358.resizedimage", Picture("large-100"));
    serveVariant("100", "512x0.resizedimage", Picture("medium-100"));
    serveVariant("200", "637x358.resizedimage", Picture("busy", 503));
    serveVariant("200", "512x0.resizedimage", Picture("medium-200"));
    serveVariant("300", "637x358.resizedimage", Picture("slow down", 429));
    serveVariant("300", "", Picture("plain-300"));
    addPictureItem("400");
    serveVariant("400", "637x358.resizedimage", Picture("<html>no such picture</html>", 404));
    serveVariant("400", "512x0.resizedimage", Picture("medium-400"));
    download();
    EXPECT_EQ(contents(files("100").picture), "large-100");
    EXPECT_EQ(contents(files("200").picture), "medium-200");
    EXPECT_EQ(contents(files("300").picture), "plain-300");
    EXPECT_EQ(contents(files("400").picture), "medium-400");
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n下载预览图完成，共下载预览图4个");
    EXPECT_EQ(lastSummary(), "下载预览图完成，共下载预览图4个");
    EXPECT_EQ(window.progressBox.history.front(), "准备下载...");
    EXPECT_EQ(window.progressBox.history[1], "正在下载预览图，序号：1，目录名：100");
    EXPECT_FALSE(window.progressBox.visible);
    EXPECT_EQ(window.busy.entered, 1);
    EXPECT_FALSE(window.busy.busy);
    EXPECT_EQ(window.pump.runs.back(), 1000);
}

TEST_F(PreviewTest, DownloadSkipsPicturesThatExistAndItemsWithoutAddress) {
    addPictureItem("100");
    addItem("200");  // no address
    dir.write("workshop/100/100.jpg", "broken but present");
    serveVariant("100", "637x358.resizedimage", Picture("new"));
    download();
    EXPECT_EQ(contents(files("100").picture), "broken but present");
    EXPECT_EQ(server.requestCount(), 0u);
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n下载预览图完成，共下载预览图0个");
}

TEST_F(PreviewTest, AGoneItemStartsAtTheMediumVariant) {
    const int n = addPictureItem("100");
    setField(n, Field::Gone, true);
    serveVariant("100", "637x358.resizedimage", Picture("large"));
    serveVariant("100", "512x0.resizedimage", Picture("medium"));
    download();
    EXPECT_EQ(contents(files("100").picture), "medium");
    EXPECT_EQ(server.requestCount("/ugc/100/637x358.resizedimage"), 0u);
}

TEST_F(PreviewTest, FailuresAreReportedAndLeaveNoFile) {
    addPictureItem("100");
    addPictureItem("111");
    addPictureItem("150");
    addPictureItem("222", false);  // its folder is missing: the picture cannot be stored
    serveVariant("150", "", Picture("plain"));
    serveVariant("222", "", Picture("plain"));
    download();
    EXPECT_FALSE(PathExists(files("100").picture));
    EXPECT_FALSE(PathExists(files("111").picture));
    EXPECT_EQ(contents(files("150").picture), "plain");
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载预览图完成，共下载预览图4个\r\n\r\n其中下载失败3个，序号是：\r\n1，2，4"
              "\r\n\r\n编码是：\r\n100，111，222");
    EXPECT_TRUE(ListDirectory(JoinPath(workshop, "100"), ListFilter::Everything).empty());
}

TEST_F(PreviewTest, CancelledDownloadDoesNothing) {
    addPictureItem("100");
    serveVariant("100", "637x358.resizedimage", Picture("large"));
    download(false);
    EXPECT_FALSE(PathExists(files("100").picture));
    EXPECT_EQ(window.busy.entered, 0);
    EXPECT_EQ(window.dialogs.asked[0].text.substr(0, 6), "      ");
    EXPECT_NE(window.dialogs.asked[0].text.find("假死现象.如果"), std::string::npos);
}

TEST_F(PreviewTest, RefreshOfAnIdenticalPictureLeavesTheFileButCountsIt) {
    addPictureItem("100");
    dir.write("workshop/100/100.jpg", std::string(3000, 'p'));
    age(files("100").picture, 100h);
    const auto before = LastWriteTime(files("100").picture);
    serveVariant("100", "637x358.resizedimage", Picture(std::string(3000, 'p')));
    pickInEditList({"100"});
    refresh();
    EXPECT_EQ(LastWriteTime(files("100").picture), before);
    EXPECT_FALSE(PathExists(files("100").temporary));
    EXPECT_FALSE(PathExists(files("100").backup));
    EXPECT_TRUE(window.resultBox.value.ends_with("\r\n\r\n更新预览图完成，共下载预览图1个"));
    EXPECT_NE(window.dialogs.asked[0].text.find("假死现象。如果"), std::string::npos);
}

TEST_F(PreviewTest, RefreshReplacesByTheSizeRule) {
    struct Case {
        const char* what;
        std::size_t oldSize;
        std::string fresh;
        bool backupBox;
        bool replaced;
        bool backupKept;  // the old picture stands at the backup name afterwards
    };
    const Case cases[] = {
        {"larger, backup box ticked", 2000, std::string(3000, 'n'), true, true, true},
        {"larger, backup box not ticked", 2000, std::string(3000, 'n'), false, true, false},
        {"smaller but over 1024 bytes keeps a backup anyway", 3000, std::string(2000, 'n'), false,
         true, true},
        {"a short error page", 3000, "<html>error</html>", true, false, false},
        {"exactly 1024 bytes and smaller", 3000, std::string(1024, 'n'), true, false, false},
    };
    for (const Case& c : cases) {
        PreviewFiles f = files("100");
        if (window.list.rowCount() == 0) {
            addPictureItem("100");
            pickInEditList({"100"});
        }
        const std::string old(c.oldSize, 'o');
        WriteWholeFile(f.picture, old);
        WriteWholeFile(f.backup, "an older backup");
        serveVariant("100", "637x358.resizedimage", Picture(c.fresh));
        refresh("", "", c.backupBox);
        EXPECT_EQ(contents(f.picture), c.replaced ? c.fresh : old) << c.what;
        if (c.backupKept) {
            EXPECT_EQ(contents(f.backup), old) << c.what;
        } else if (c.replaced) {
            EXPECT_FALSE(PathExists(f.backup)) << c.what;
        } else {
            EXPECT_EQ(contents(f.backup), "an older backup") << c.what;
        }
        EXPECT_FALSE(PathExists(f.temporary)) << c.what;
    }
}

TEST_F(PreviewTest, RefreshFetchesOnlyPicturesInsideTheHourWindow) {
    struct Case {
        const char* least;
        const char* most;
        std::chrono::seconds age;
        bool fetched;
    };
    const Case cases[] = {
        {"", "", 1h, true},       {"24", "48", 23h + 59min, false},
        {"24", "48", 24h, true},  {"24", "48", 48h + 30min, true},
        {"24", "48", 49h, false}, {"5", "", 100h, false},
    };
    addPictureItem("100");
    pickInEditList({"100"});
    serveVariant("100", "637x358.resizedimage", Picture(std::string(5000, 'n')));
    for (const Case& c : cases) {
        WriteWholeFile(files("100").picture, std::string(2000, 'o'));
        age(files("100").picture, c.age);
        const std::size_t before = server.requestCount();
        refresh(c.least, c.most);
        EXPECT_EQ(server.requestCount() > before, c.fetched) << c.least << "/" << c.most;
        EXPECT_EQ(window.progressBox.value,
                  std::string("更新预览图完成，共下载预览图") + (c.fetched ? "1" : "0") + "个");
    }
}

TEST_F(PreviewTest, RefreshFetchesMissingPicturesAndReportsFailures) {
    addPictureItem("100");
    addPictureItem("111");
    addPictureItem("222");
    serveVariant("100", "512x0.resizedimage", Picture("medium"));
    dir.write("workshop/222/222.jpg", std::string(2000, 'o'));
    pickInEditList({"100", "111", "222"});
    refresh();
    EXPECT_EQ(contents(files("100").picture), "medium");
    EXPECT_FALSE(PathExists(files("111").picture));
    EXPECT_EQ(contents(files("222").picture), std::string(2000, 'o'));
    EXPECT_EQ(window.resultBox.value,
              "\r\n正在统计数据...\r\n正在下载图片...\r\n\r\n更新预览图完成，共下载预览图3个"
              "\r\n\r\n其中更新失败2个，序号是：\r\n2，3\r\n\r\n编码是：\r\n111，222");
    EXPECT_EQ(window.busy.entered, 1);
    EXPECT_FALSE(window.busy.busy);
    EXPECT_FALSE(window.progressBox.visible);  // never shown or hidden by the refresh
}

TEST_F(PreviewTest, RefreshWithoutPicksAsksForOne) {
    addPictureItem("100");
    pickInEditList({});
    refresh();
    EXPECT_EQ(window.resultBox.value, "\r\n正在统计数据...\r\n请选择至少一项进行更新。");
    EXPECT_FALSE(window.busy.busy);
}

TEST_F(PreviewTest, EachPickedRowGetsItsOwnItemsPictureInAnyOrder) {
    addPictureItem("100");
    addPictureItem("200");
    addPictureItem("300");
    for (const char* code : {"100", "200", "300"}) {
        serveVariant(code, "637x358.resizedimage", Picture(std::string("picture of ") + code));
    }
    pickInEditList({"100", "300"});
    // As after a sort and "显示选择项目": the rows stand in another order and row 2 is gone.
    window.list.reorderRows({2, 0});
    refresh();
    EXPECT_EQ(contents(files("100").picture), "picture of 100");
    EXPECT_EQ(contents(files("300").picture), "picture of 300");
    EXPECT_FALSE(PathExists(files("200").picture));
}

}  // namespace
}  // namespace kestavel
