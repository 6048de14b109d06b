#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "PagesTestSupport.h"
#include "WorkshopPage.h"
#include "WorkshopServer.h"
#include "app/ConcurrentFetches.h"
#include "pages/PageCommands.h"
#include "platform/HttpClient.h"
#include "support/ShortTimeouts.h"

namespace kestavel {
namespace {

using namespace std::chrono_literals;
using workshop::Answer;

// The pump's runs other than the pauses that wait for fetches.
std::vector<int> WithoutWaits(std::vector<int> runs) {
    std::erase(runs, ConcurrentFetches::kWaitStepMilliseconds);
    return runs;
}

class DownloadPagesTest : public test::PagesTest {
  protected:
    DownloadPagesTest() { window.pagePrefix.value = server.pagePrefix(); }

    void run(bool confirm = true) {
        window.dialogs.answers.push_back(confirm);
        DownloadPages(window.context);
    }
    void serve(const std::string& code, std::string body) { server.setPage(code, std::move(body)); }
    void serve(const std::string& code, Answer answer) { server.setPage(code, std::move(answer)); }
    static Answer Status(int status, std::string body) {
        Answer answer;
        answer.status = status;
        answer.body = std::move(body);
        return answer;
    }

    workshop::WorkshopServer server;
};

TEST_F(DownloadPagesTest, AsksFirstAndCancelChangesNothing) {
    addItem("111");
    serve("111", "<html>page</html>");
    window.resultBox.value = "before";
    run(false);
    ASSERT_EQ(window.dialogs.asked.size(), 1u);
    EXPECT_EQ(window.dialogs.asked[0].kind, "confirm");
    EXPECT_EQ(window.dialogs.asked[0].title, "提示");
    EXPECT_EQ(window.dialogs.asked[0].text, kDownloadQuestion);
    EXPECT_EQ(window.dialogs.asked[0].text.substr(0, 6), "      ");
    EXPECT_EQ(window.busy.entered, 0);
    EXPECT_EQ(window.resultBox.value, "before");
    EXPECT_FALSE(PathExists(pagePath("111")));
    EXPECT_EQ(server.requestCount(), 0u);
    EXPECT_TRUE(window.progressBox.history.empty());
}

TEST_F(DownloadPagesTest, SavesTheBodyByteForByteAndReports) {
    addItem("3000000001");
    workshop::ItemPage item;
    item.id = "3000000001";
    const std::string page = workshop::BuildItemPage(item);
    serve("3000000001", page);
    run();
    EXPECT_EQ(ReadWholeFile(pagePath("3000000001")), page);
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n下载网页文档完成，共下载文档1个");
    EXPECT_EQ(window.progressBox.history,
              (std::vector<std::string>{"正在下载网页文档，序号：1，目录名：3000000001",
                                        "下载网页文档完成，共下载文档1个"}));
    EXPECT_EQ(window.busy.entered, 1);
    EXPECT_EQ(window.busy.left, 1);
    EXPECT_FALSE(window.busy.busy);
    EXPECT_FALSE(window.progressBox.visible);
    // Ticked "进度显示": 1 ms before the item, waits for the fetch, 1000 ms at the end.
    EXPECT_EQ(WithoutWaits(window.pump.runs), (std::vector<int>{1, 1000}));
    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].target, "/sharedfiles/filedetails/?id=3000000001");
}

TEST_F(DownloadPagesTest, UntickedProgressNeitherShowsTheBoxNorPumpsBeforeItems) {
    addItem("1");
    addItem("2");
    serve("1", "page one");
    serve("2", "page two");
    window.showProgress.checked = false;
    run();
    // Events still run while the fetches are awaited.
    EXPECT_EQ(WithoutWaits(window.pump.runs), (std::vector<int>{1000}));
    EXPECT_FALSE(window.progressBox.visible);
    EXPECT_EQ(window.progressBox.history.size(), 3u);  // the texts are written all the same
}

TEST_F(DownloadPagesTest, NothingToFetchReportsZeroAndNoFailureReport) {
    addItem("1");
    addItem("2");
    savePage("1", "saved");
    savePage("2", "");  // an empty saved page is never fetched again either
    run();
    EXPECT_EQ(server.requestCount(), 0u);
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n下载网页文档完成，共下载文档0个");
    EXPECT_EQ(window.progressBox.value, "下载网页文档完成，共下载文档0个");
    EXPECT_EQ(ReadWholeFile(pagePath("2")), "");
}

TEST_F(DownloadPagesTest, AGoneItemIsSkippedAndNotCounted) {
    addItem("1");
    const int gone = addItem("2");
    setField(gone, Field::Gone, true);
    serve("1", "page one");
    serve("2", "page two");
    run();
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(server.requestCount("/sharedfiles/filedetails/?id=2"), 0u);
    EXPECT_FALSE(PathExists(pagePath("2")));
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n下载网页文档完成，共下载文档1个");
}

TEST_F(DownloadPagesTest, ThreeBytesFailAndAreDeletedFourBytesStay) {
    addItem("3");
    addItem("4");
    serve("3", "abc");
    serve("4", "abcd");
    run();
    EXPECT_FALSE(PathExists(pagePath("3")));
    EXPECT_EQ(ReadWholeFile(pagePath("4")), "abcd");
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载网页文档完成，共下载文档2个"
              "\r\n\r\n其中下载失败1个，序号是：\r\n1\r\n\r\n编码是：\r\n3");
}

TEST_F(DownloadPagesTest, TheFailureReportForNumbersFiveAndNine) {
    for (int i = 1; i <= 9; ++i) {
        const std::string code = i == 5 ? "111" : i == 9 ? "222" : "c" + std::to_string(i);
        addItem(code);
        if (i != 5 && i != 9) savePage(code, "already here");
    }
    serve("111", "");
    serve("222", "xy");
    run();
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载网页文档完成，共下载文档2个"
              "\r\n\r\n其中下载失败2个，序号是：\r\n5，9\r\n\r\n编码是：\r\n111，222");
    EXPECT_FALSE(PathExists(pagePath("111")));
    EXPECT_FALSE(PathExists(pagePath("222")));
}

TEST_F(DownloadPagesTest, TheFetchCountIncludesTheFailures) {
    addItem("a");
    addItem("b");
    addItem("c");
    serve("a", "page a");
    serve("b", "");
    serve("c", "page c");
    run();
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载网页文档完成，共下载文档3个"
              "\r\n\r\n其中下载失败1个，序号是：\r\n2\r\n\r\n编码是：\r\nb");
}

TEST_F(DownloadPagesTest, TooManyRequestsAndServerErrorsFailAndAreTriedAgain) {
    addItem("429");
    addItem("503");
    addItem("500");
    addItem("404");
    serve("429", Status(429, "<html>Too Many Requests, slow down</html>"));
    serve("503", Status(503, "<html>Service Unavailable</html>"));
    serve("500", Status(500, "<html>Internal Server Error</html>"));
    serve("404", Status(404, "<html>Not Found</html>"));
    run();
    EXPECT_FALSE(PathExists(pagePath("429")));
    EXPECT_FALSE(PathExists(pagePath("503")));
    EXPECT_FALSE(PathExists(pagePath("500")));
    // Any other status keeps the plain rule: the error page is saved (a dead page later).
    EXPECT_EQ(ReadWholeFile(pagePath("404")), "<html>Not Found</html>");
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载网页文档完成，共下载文档4个"
              "\r\n\r\n其中下载失败3个，序号是：\r\n1，2，3\r\n\r\n编码是：\r\n429，503，500");

    // The next run fetches the failed items again, and only those.
    serve("503", "<html>back</html>");
    window.resultBox.value.clear();
    run();
    EXPECT_EQ(ReadWholeFile(pagePath("503")), "<html>back</html>");
    EXPECT_EQ(server.requestCount("/sharedfiles/filedetails/?id=404"), 1u);
    // A 429 is asked once more after a rest, in each run.
    EXPECT_EQ(server.requestCount("/sharedfiles/filedetails/?id=429"), 4u);
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载网页文档完成，共下载文档3个"
              "\r\n\r\n其中下载失败2个，序号是：\r\n1，3\r\n\r\n编码是：\r\n429，500");
}

TEST_F(DownloadPagesTest, ARestTheServerAsksForShowsInTheProgressBoxAndTheItemIsAskedAgain) {
    addItem("1");
    addItem("2");
    Answer busy = Status(429, "<html>Too Many Requests</html>");
    busy.headers = {{"Retry-After", "1"}};
    server.setAnswers("/sharedfiles/filedetails/?id=1", {busy, Status(200, "page one")});
    serve("2", "page two");
    window.context.services.fetchesAtOnce = 1;
    run();
    EXPECT_EQ(ReadWholeFile(pagePath("1")), "page one");
    EXPECT_EQ(ReadWholeFile(pagePath("2")), "page two");
    EXPECT_EQ(window.resultBox.value, "\r\n\r\n下载网页文档完成，共下载文档2个");
    const std::vector<std::string>& lines = window.progressBox.history;
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "正在下载网页文档，序号：1，目录名：1");
    EXPECT_EQ(lines[1], "服务器要求暂停下载，1秒后继续...");
    // When the rest is over before the second ask has ended, the item's line comes back.
    for (std::size_t i = 2; i + 2 < lines.size(); ++i) EXPECT_EQ(lines[i], lines[0]);
    EXPECT_EQ(lines[lines.size() - 2], "正在下载网页文档，序号：2，目录名：2");
    EXPECT_EQ(lines.back(), "下载网页文档完成，共下载文档2个");
}

TEST_F(DownloadPagesTest, AHostThatRefusesTheConnectionFailsEveryItem) {
    const int refusing = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(refusing, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ::getsockname(refusing, reinterpret_cast<sockaddr*>(&address), &length);
    window.pagePrefix.value = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) +
                              "/sharedfiles/filedetails/?id=";
    addItem("1");
    addItem("2");
    const auto start = std::chrono::steady_clock::now();
    run();
    ::close(refusing);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_FALSE(PathExists(pagePath("1")));
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载网页文档完成，共下载文档2个"
              "\r\n\r\n其中下载失败2个，序号是：\r\n1，2\r\n\r\n编码是：\r\n1，2");
}

TEST_F(DownloadPagesTest, AStallingHostAndADroppedConnectionFail) {
    addItem("stall");
    addItem("drop");
    addItem("fine");
    Answer stall;
    stall.body = std::string(100000, 's');
    stall.stall = 30s;
    serve("stall", stall);
    Answer drop;
    drop.body = std::string(100000, 'd');
    drop.drop = true;
    serve("drop", drop);
    serve("fine", "<html>fine</html>");
    const auto start = std::chrono::steady_clock::now();
    run();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    EXPECT_FALSE(PathExists(pagePath("stall")));
    EXPECT_FALSE(PathExists(pagePath("drop")));
    EXPECT_TRUE(PathExists(pagePath("fine")));
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载网页文档完成，共下载文档3个"
              "\r\n\r\n其中下载失败2个，序号是：\r\n1，2\r\n\r\n编码是：\r\nstall，drop");
}

TEST_F(DownloadPagesTest, AnItemWithoutItsFolderFails) {
    addItem("nofolder", false);
    serve("nofolder", "<html>a page</html>");
    run();
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(window.resultBox.value,
              "\r\n\r\n下载网页文档完成，共下载文档1个"
              "\r\n\r\n其中下载失败1个，序号是：\r\n1\r\n\r\n编码是：\r\nnofolder");
}

TEST_F(DownloadPagesTest, VisitsStoredOrderWhateverTheListShows) {
    addItem("first");
    addItem("second");
    addItem("third");
    fillList();
    window.list.reorderRows({2, 0, 1});
    window.list.setPicked(1, true);
    serve("first", "1111");
    serve("second", "2222");
    serve("third", "3333");
    // One at a time, so the server sees the order the fetches start in.
    window.context.services.fetchesAtOnce = 1;
    run();
    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].target, "/sharedfiles/filedetails/?id=first");
    EXPECT_EQ(seen[1].target, "/sharedfiles/filedetails/?id=second");
    EXPECT_EQ(seen[2].target, "/sharedfiles/filedetails/?id=third");
}

TEST_F(DownloadPagesTest, TheSettingsAreReadFromTheirBoxes) {
    addItem("1");
    workshop::WorkshopServer other;
    other.setPage("1", std::string("from the other server"));
    window.pagePrefix.value = other.pagePrefix();
    run();
    EXPECT_EQ(ReadWholeFile(pagePath("1")), "from the other server");
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(DownloadPagesTest, AMissingCatalogueIsReported) {
    DeleteFile(CataloguePath(runDirectory));
    run();
    ASSERT_EQ(window.dialogs.asked.size(), 2u);
    EXPECT_EQ(window.dialogs.asked[1].kind, "message");
    EXPECT_EQ(window.busy.entered, window.busy.left);
    EXPECT_EQ(window.resultBox.value, "");
}

}  // namespace
}  // namespace kestavel
