#include "platform/FetchPause.h"
#include "platform/HttpClient.h"
#include "support/ShortTimeouts.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "WorkshopServer.h"

namespace kestavel {
namespace {

using namespace std::chrono_literals;
using workshop::Answer;
using workshop::WorkshopServer;

Answer Body(std::string body) {
    Answer answer;
    answer.body = std::move(body);
    return answer;
}

// A port on 127.0.0.1 that is bound but never listens: connecting to it is refused at once.
class RefusingPort {
  public:
    RefusingPort() {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~RefusingPort() { ::close(socket_); }
    int port() const { return port_; }

  private:
    int socket_ = -1;
    int port_ = 0;
};

class HttpClientTest : public ::testing::Test {
  protected:
    WorkshopServer server;
    HttpClient client{test::ShortTimeouts()};
};

TEST_F(HttpClientTest, GetsTheBodyAndStatusWithThePagesHeaders) {
    ASSERT_TRUE(server.listening());
    server.setPage("1", std::string("<html>page one</html>"));
    auto response = client.get(server.pagePrefix() + "1");
    ASSERT_TRUE(response) << client.lastError();
    EXPECT_EQ(response->status, 200);
    EXPECT_EQ(response->body, "<html>page one</html>");
    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].target, "/sharedfiles/filedetails/?id=1");
    EXPECT_EQ(seen[0].userAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(seen[0].accept, "*/*");
    EXPECT_EQ(seen[0].version, "HTTP/1.0");
}

TEST_F(HttpClientTest, AnErrorStatusStillGivesItsBody) {
    Answer answer;
    answer.status = 503;
    answer.body = "Service Unavailable";
    server.setPage("2", answer);
    auto response = client.get(server.pagePrefix() + "2");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 503);
    EXPECT_EQ(response->body, "Service Unavailable");
    auto missing = client.get(server.base() + "/nothing/here");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
}

TEST_F(HttpClientTest, FollowsUpToFiveRedirects) {
    server.setAnswer("/final", Body("arrived"));
    for (int i = 1; i <= 6; ++i) {
        Answer hop;
        hop.redirect =
            i == 1 ? server.base() + "/final" : server.base() + "/hop" + std::to_string(i - 1);
        server.setAnswer("/hop" + std::to_string(i), hop);
    }
    auto five = client.get(server.base() + "/hop5");
    ASSERT_TRUE(five) << client.lastError();
    EXPECT_EQ(five->body, "arrived");
    EXPECT_FALSE(client.get(server.base() + "/hop6"));
}

TEST_F(HttpClientTest, NeverLeavesHttpAndHttps) {
    Answer toFile;
    toFile.redirect = "file:///etc/passwd";
    server.setAnswer("/to-file", toFile);
    EXPECT_FALSE(client.get(server.base() + "/to-file"));
    Answer toFtp;
    toFtp.redirect = "ftp://127.0.0.1/file";
    server.setAnswer("/to-ftp", toFtp);
    EXPECT_FALSE(client.get(server.base() + "/to-ftp"));
    EXPECT_FALSE(client.get("file:///etc/passwd"));
    EXPECT_FALSE(client.get("dict://127.0.0.1/x"));
    EXPECT_FALSE(client.get(""));
}

TEST_F(HttpClientTest, ARefusedConnectionGivesNothingAtOnce) {
    RefusingPort refusing;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.get("http://127.0.0.1:" + std::to_string(refusing.port()) + "/x"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
}

TEST_F(HttpClientTest, AStalledTransferGivesNothingAfterTheStallTime) {
    Answer stall;
    stall.body = std::string(20000, 's');
    stall.stall = 20s;
    server.setPage("stall", stall);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.get(server.pagePrefix() + "stall"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 900ms);
    // curl measures the speed over its last few seconds, so a stall after data shows late.
    EXPECT_LT(took, 10s);
}

TEST_F(HttpClientTest, AServerThatNeverAnswersHitsTheStallTime) {
    Answer silent;
    silent.body = "late";
    silent.delay = 20s;
    server.setPage("silent", silent);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.get(server.pagePrefix() + "silent"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 6s);
}

TEST_F(HttpClientTest, TheTotalTimeoutBoundsTheFetch) {
    HttpOptions options = test::ShortTimeouts();
    options.stallBytesPerSecond = 0;  // no stall rule: only the total time-out ends it
    options.totalTimeout = 700ms;
    HttpClient bounded(options);
    Answer slow;
    slow.body = "late";
    slow.delay = 5s;
    server.setPage("slow", slow);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(bounded.get(server.pagePrefix() + "slow"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST_F(HttpClientTest, ADelayWithinTheTimeOutsIsWaitedFor) {
    Answer late;
    late.body = "worth the wait";
    late.delay = 300ms;
    server.setPage("late", late);
    auto response = client.get(server.pagePrefix() + "late");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->body, "worth the wait");
}

TEST_F(HttpClientTest, ADroppedConnectionGivesNothing) {
    Answer drop;
    drop.body = std::string(50000, 'd');
    drop.drop = true;
    server.setPage("drop", drop);
    EXPECT_FALSE(client.get(server.pagePrefix() + "drop"));
}

TEST_F(HttpClientTest, ABodyPastTheCapGivesNothing) {
    HttpOptions options = test::ShortTimeouts();
    options.maxBodyBytes = 1000;
    HttpClient capped(options);
    server.setAnswer("/exact", Body(std::string(1000, 'e')));
    server.setAnswer("/over", Body(std::string(1001, 'o')));
    Answer chunked;
    chunked.body = std::string(20000, 'c');
    chunked.chunked = true;
    server.setAnswer("/chunked-over", chunked);
    chunked.body = std::string(900, 'c');
    server.setAnswer("/chunked-under", chunked);

    auto exact = capped.get(server.base() + "/exact");
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->body.size(), 1000u);
    EXPECT_FALSE(capped.get(server.base() + "/over"));
    EXPECT_FALSE(capped.get(server.base() + "/chunked-over"));
    auto under = capped.get(server.base() + "/chunked-under");
    ASSERT_TRUE(under);
    EXPECT_EQ(under->body, std::string(900, 'c'));
}

Answer Refusal(int status, std::string retryAfter) {
    Answer answer;
    answer.status = status;
    answer.body = "<html>busy</html>";
    if (!retryAfter.empty()) answer.headers = {{"Retry-After", std::move(retryAfter)}};
    return answer;
}

// A client with a pause is polite: a rest asked for pauses every client sharing the pause, and
// a failed answer that asked for it is asked once more after it.
TEST_F(HttpClientTest, AnAnswerThatAsksForARestPausesAndAFailedOneIsAskedOnceMore) {
    const std::string inADay = "Wed, 21 Oct 2099 07:28:00 GMT";
    struct Case {
        const char* name;
        std::vector<Answer> answers;
        std::size_t requests;
        long status;
        // What is left of the pause once the fetch has returned, in seconds.
        int leftAtLeast;
        int leftAtMost;
    };
    const std::vector<Case> cases = {
        {"429, Retry-After: 1, then a page", {Refusal(429, "1"), Body("page")}, 2, 200, 0, 0},
        {"429 without Retry-After", {Refusal(429, ""), Body("page")}, 2, 200, 0, 0},
        {"429 twice", {Refusal(429, "1")}, 2, 429, 0, 1},
        {"503 with Retry-After", {Refusal(503, "1"), Body("page")}, 2, 200, 0, 0},
        {"503 without Retry-After is no request to rest", {Refusal(503, "")}, 1, 503, 0, 0},
        {"a page with Retry-After: 120 is kept, the rest capped",
         {Refusal(200, "120"), Body("never")},
         1,
         200,
         59,
         60},
        {"Retry-After as a far date", {Refusal(200, inADay)}, 1, 200, 59, 60},
        {"Retry-After that is no number", {Refusal(200, "soon")}, 1, 200, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.clearAnswers();
        server.setAnswers("/busy", c.answers);
        FetchPause pause;
        client.setPause(&pause);
        const auto before = server.requestCount();
        const auto answer = client.get(server.base() + "/busy");
        ASSERT_TRUE(answer) << client.lastError();
        EXPECT_EQ(server.requestCount() - before, c.requests);
        EXPECT_EQ(answer->status, c.status);
        const auto left = std::chrono::duration_cast<std::chrono::seconds>(pause.remaining());
        EXPECT_GE(left.count(), c.leftAtLeast);
        EXPECT_LE(left.count(), c.leftAtMost);
    }
}

TEST_F(HttpClientTest, APauseIsWaitedForAndAStopEndsTheWait) {
    server.setAnswer("/page", Body("page"));
    FetchPause pause;
    client.setPause(&pause);
    pause.pauseFor(300ms);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.get(server.base() + "/page"));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 250ms);

    pause.pauseFor(60s);
    client.setStopCheck([] { return true; });
    EXPECT_FALSE(client.get(server.base() + "/page"));
    EXPECT_EQ(server.requestCount(), 1u);
}

// A window closed or a SIGTERM during a fetch from a silent server ends it within a second.
TEST_F(HttpClientTest, AStopEndsAFetchFromASilentServerWithinASecond) {
    Answer silent = Body("late");
    silent.delay = 20s;
    server.setAnswer("/silent", silent);
    const auto started = std::chrono::steady_clock::now();
    client.setStopCheck([&] { return std::chrono::steady_clock::now() - started > 300ms; });
    EXPECT_FALSE(client.get(server.base() + "/silent"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1300ms);
}

TEST_F(HttpClientTest, WithoutAPauseA429IsAnsweredAsItCame) {
    server.setAnswers("/busy", {Refusal(429, "1"), Body("page")});
    const auto answer = client.get(server.base() + "/busy");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 429);
    EXPECT_EQ(answer->retryAfter, 1s);
    EXPECT_EQ(server.requestCount(), 1u);
}

TEST(HttpClientDefaults, AreMeantForRealUse) {
    const HttpOptions options;
    EXPECT_EQ(options.maxBodyBytes, 32u * 1024 * 1024);
    EXPECT_EQ(options.maxRedirects, 5);
    EXPECT_EQ(options.userAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_GE(options.connectTimeout, 5000ms);
    EXPECT_GE(options.stallTime, 10s);
}

}  // namespace
}  // namespace kestavel
