#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestavel::workshop {

// How the server answers one address.
struct Answer {
    int status = 200;
    std::string body;
    std::string contentType = "text/html; charset=UTF-8";
    // Waits this long before it sends anything.
    std::chrono::milliseconds delay{0};
    // Sends the headers and the first half of the body, then waits this long before the rest.
    std::chrono::milliseconds stall{0};
    // Sends the headers and the first half of the body, then closes the connection.
    bool drop = false;
    // Sends the body in chunks, without a Content-Length.
    bool chunked = false;
    // Answers with this Location (and status 302 unless another 3xx is set).
    std::string redirect;
    // Further headers, such as Retry-After.
    std::vector<std::pair<std::string, std::string>> headers;
};

// What the server was asked, in order.
struct SeenRequest {
    std::string target;  // path and query as sent
    std::string version;
    std::string userAgent;
    std::string accept;
};

// An in-process HTTP server on 127.0.0.1 for tests and the demo. It answers item pages at
// pagePrefix() + id and any other address set with setAnswer; everything else gets 404.
// Handlers run on the server's own threads; the setters may be called at any time.
class WorkshopServer {
  public:
    static constexpr std::string_view kPagePath = "/sharedfiles/filedetails/";

    // Port 0 lets the system choose a free port. A server that cannot listen reports port 0.
    explicit WorkshopServer(int port = 0);
    ~WorkshopServer();
    WorkshopServer(const WorkshopServer&) = delete;
    WorkshopServer& operator=(const WorkshopServer&) = delete;

    int port() const { return port_; }
    bool listening() const { return port_ > 0; }
    // "http://127.0.0.1:PORT"
    std::string base() const;
    // The workshop page prefix for VODarer.txt line 2: base() + "/sharedfiles/filedetails/?id="
    std::string pagePrefix() const;

    // The page of an item: answered at pagePrefix() + id.
    void setPage(const std::string& id, Answer answer);
    void setPage(const std::string& id, std::string body);
    // Any address, by its path and query (for example "/ugc/1/AB/637x358.resizedimage").
    void setAnswer(const std::string& target, Answer answer);
    // Answers taken in turn, one a request; the last one stays.
    void setAnswers(const std::string& target, std::vector<Answer> answers);
    void clearAnswers();

    std::vector<SeenRequest> requests() const;
    std::size_t requestCount() const;
    // How often a target was asked for.
    std::size_t requestCount(const std::string& target) const;
    // The most requests the server was answering at the same time.
    std::size_t mostAtOnce() const;

    // Stops listening and ends every pending answer; called by the destructor.
    void stop();

  private:
    struct State;
    std::shared_ptr<State> state_;
    int port_ = 0;
};

}  // namespace kestavel::workshop
