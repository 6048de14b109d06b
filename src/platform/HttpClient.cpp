#include "platform/HttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <mutex>
#include <utility>

#include "platform/FetchPause.h"

namespace kestavel {
namespace {

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Receiver {
    std::string* body;
    std::size_t cap;
    bool overflow = false;
};

std::size_t Receive(char* data, std::size_t size, std::size_t count, void* user) {
    auto* receiver = static_cast<Receiver*>(user);
    const std::size_t bytes = size * count;
    if (bytes > receiver->cap - receiver->body->size()) {
        receiver->overflow = true;
        return 0;  // any other count than the one given aborts the transfer
    }
    receiver->body->append(data, bytes);
    return bytes;
}

// The Retry-After header of the last response: a count of seconds or an HTTP date.
std::chrono::seconds ParseRetryAfter(std::string value) {
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) {
        value.pop_back();
    }
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return std::chrono::seconds{0};
    value.erase(0, first);
    if (std::all_of(value.begin(), value.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        // Anything past a day is as good as a day: the caller caps it far below.
        if (value.size() > 5) return std::chrono::seconds{86400};
        return std::chrono::seconds{std::stol(value)};
    }
    const std::time_t date = curl_getdate(value.c_str(), nullptr);
    if (date < 0) return std::chrono::seconds{0};
    return std::chrono::seconds{std::max<std::time_t>(date - std::time(nullptr), 0)};
}

std::size_t ReceiveHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* retryAfter = static_cast<std::chrono::seconds*>(user);
    const std::size_t bytes = size * count;
    const std::string_view line(data, bytes);
    constexpr std::string_view kName = "retry-after:";
    if (line.substr(0, 5) == "HTTP/") {
        // A new response (after a redirect or a 100 Continue): only the last one counts.
        *retryAfter = std::chrono::seconds{0};
    } else if (line.size() >= kName.size() &&
               std::equal(kName.begin(), kName.end(), line.begin(), [](char a, char b) {
                   return a == std::tolower(static_cast<unsigned char>(b));
               })) {
        *retryAfter = ParseRetryAfter(std::string(line.substr(kName.size())));
    }
    return bytes;
}

// The rest an answer asks for: what its Retry-After says, capped, or the rest of a bare 429.
std::chrono::milliseconds RestAsked(const HttpResponse& response, const HttpOptions& options) {
    if (response.retryAfter.count() > 0) {
        return std::min(response.retryAfter, HttpClient::kLongestPause);
    }
    if (response.status == 429) return options.restWithoutRetryAfter;
    return std::chrono::milliseconds{0};
}

// How long a fetch waits on its sockets before it asks the stop check again.
constexpr int kStopLookMilliseconds = 100;

long Milliseconds(std::chrono::milliseconds value) {
    return static_cast<long>(value.count());
}

}  // namespace

HttpClient::HttpClient(HttpOptions options) : options_(std::move(options)) {
    InitialiseCurlOnce();
    handle_ = curl_easy_init();
    multi_ = curl_multi_init();
}

HttpClient::~HttpClient() {
    if (multi_) curl_multi_cleanup(static_cast<CURLM*>(multi_));
    if (handle_) curl_easy_cleanup(static_cast<CURL*>(handle_));
}

int HttpClient::perform() {
    CURLM* multi = static_cast<CURLM*>(multi_);
    CURL* curl = static_cast<CURL*>(handle_);
    if (curl_multi_add_handle(multi, curl) != CURLM_OK) return CURLE_FAILED_INIT;
    // The transfer is driven here rather than inside libcurl, which asks a progress callback
    // only about once a second while a server is silent: a stop is seen within a tenth of that.
    CURLcode result = CURLE_RECV_ERROR;
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) break;
        if (running == 0) break;
        if (stop_ && stop_()) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_poll(multi, nullptr, 0, kStopLookMilliseconds, nullptr) != CURLM_OK) break;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE) result = message->data.result;
    }
    curl_multi_remove_handle(multi, curl);
    return result;
}

std::optional<HttpResponse> HttpClient::get(const std::string& url) {
    auto response = fetch(url);
    if (!pause_ || !response) return response;
    const auto rest = RestAsked(*response, options_);
    if (rest.count() == 0) return response;
    pause_->pauseFor(rest);
    if (response->succeeded()) return response;
    // Asked once more after the rest; a second refusal stands, and pauses the others again.
    response = fetch(url);
    if (response) pause_->pauseFor(RestAsked(*response, options_));
    return response;
}

std::optional<HttpResponse> HttpClient::fetch(const std::string& url) {
    lastError_.clear();
    if (pause_ && !pause_->waitOver(stop_)) {
        lastError_ = "stopped during the pause the server asked for";
        return std::nullopt;
    }
    CURL* curl = static_cast<CURL*>(handle_);
    if (!curl || !multi_) {
        lastError_ = "libcurl could not be set up";
        return std::nullopt;
    }
    // A reset keeps the connection and name caches but forgets every option of the last fetch.
    curl_easy_reset(curl);

    HttpResponse response;
    Receiver receiver{&response.body, options_.maxBodyBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    curl_slist* headers = curl_slist_append(nullptr, "Accept: */*");

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, options_.userAgent.c_str());
    if (options_.http10) curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);

    // Only web addresses, on the first request and on every redirect: a page can never make
    // the program read a local file or speak another protocol.
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS,
                     static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, options_.maxRedirects > 0 ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, static_cast<long>(options_.maxRedirects));

    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);

    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(options_.connectTimeout));
    if (options_.stallBytesPerSecond > 0 && options_.stallTime.count() > 0) {
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, options_.stallBytesPerSecond);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME,
                         static_cast<long>(options_.stallTime.count()));
    }
    if (options_.totalTimeout.count() > 0) {
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, Milliseconds(options_.totalTimeout));
    }

    // A declared length past the cap fails before the body comes; the receiver catches the
    // rest (chunked bodies, wrong lengths).
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(options_.maxBodyBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Receive);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &receiver);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, ReceiveHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response.retryAfter);

    const auto result = static_cast<CURLcode>(perform());
    curl_slist_free_all(headers);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);

    if (result != CURLE_OK || receiver.overflow) {
        lastError_ = receiver.overflow ? "the body passed the size cap"
                     : errorText[0]    ? errorText
                                       : curl_easy_strerror(result);
        return std::nullopt;
    }
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

}  // namespace kestavel
