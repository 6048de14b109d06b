#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace kestavel {

class FetchPause;

// The answer to a GET: the status of the last response (after redirects) and its whole body.
struct HttpResponse {
    long status = 0;
    std::string body;
    // The wait the server asked for with Retry-After (seconds or a date), zero when it asked none.
    std::chrono::seconds retryAfter{0};
    // Any other status is an error page (a missing file, an overloaded server), never content.
    bool succeeded() const { return status >= 200 && status <= 299; }
};

struct HttpOptions {
    // The user agent and the protocol version the workshop pages are asked for with.
    std::string userAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
    bool http10 = true;
    int maxRedirects = 5;
    // Time allowed to set up the connection (name look-up, TCP and TLS handshakes).
    std::chrono::milliseconds connectTimeout{15000};
    // The fetch fails when fewer than stallBytesPerSecond bytes arrive per second during
    // stallTime (curl counts whole seconds; anything below one second counts as one).
    long stallBytesPerSecond = 1;
    std::chrono::seconds stallTime{30};
    // Upper bound for the whole fetch, 0 for none.
    std::chrono::milliseconds totalTimeout{300000};
    // The rest a 429 without a Retry-After header gets (with a pause set).
    std::chrono::milliseconds restWithoutRetryAfter{5000};
    // A body longer than this fails the fetch.
    std::size_t maxBodyBytes = std::size_t{32} * 1024 * 1024;
};

// A plain blocking GET over libcurl with "Accept: */*". Redirects are followed up to the limit;
// only http and https are ever used, also on redirects; TLS certificates and host names are
// verified. Gives nothing when the host cannot be reached, the transfer breaks off, times out,
// or the body passes the cap; otherwise the body whatever the status.
//
// With a pause set, the client is polite to a busy server: a fetch waits while the pause runs,
// and an answer that asks for a rest (status 429 or a Retry-After header) pauses every client
// sharing it for that time, at most a minute; a failed answer of that kind is asked once more
// after the pause.
class HttpClient {
  public:
    explicit HttpClient(HttpOptions options = {});
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    std::optional<HttpResponse> get(const std::string& url);

    // Asked at least every 100 ms while a fetch runs: true ends the fetch, which then gives
    // nothing.
    void setStopCheck(std::function<bool()> stop) { stop_ = std::move(stop); }
    // The pause shared with the other clients of one command; it must outlive the client's use.
    void setPause(FetchPause* pause) { pause_ = pause; }

    const HttpOptions& options() const { return options_; }
    // The libcurl reason of the last failed fetch, for diagnostics.
    const std::string& lastError() const { return lastError_; }

    // The longest rest a server's Retry-After gets.
    static constexpr std::chrono::seconds kLongestPause{60};

  private:
    std::optional<HttpResponse> fetch(const std::string& url);
    // Runs the transfer set up on the handle; its CURLcode.
    int perform();

    HttpOptions options_;
    void* handle_ = nullptr;  // CURL*, kept between fetches so connections can be reused
    void* multi_ = nullptr;   // CURLM*, that drives the handle's transfers
    std::string lastError_;
    std::function<bool()> stop_;
    FetchPause* pause_ = nullptr;
};

}  // namespace kestavel
