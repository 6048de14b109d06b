#include "WorkshopServer.h"

#include <httplib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iterator>
#include <mutex>
#include <thread>

namespace kestavel::workshop {

struct WorkshopServer::State {
    httplib::Server server;
    std::thread listener;

    mutable std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::map<std::string, std::deque<Answer>> answers;
    std::vector<SeenRequest> seen;
    std::size_t answering = 0;
    std::size_t mostAnswering = 0;

    // Waits for the time given or until the server stops; false when it stopped.
    bool pause(std::chrono::milliseconds time) {
        std::unique_lock<std::mutex> lock(mutex);
        return !wake.wait_for(lock, time, [this] { return stopping; });
    }

    void answer(const httplib::Request& request, httplib::Response& response);
};

namespace {

std::string TargetOf(const httplib::Request& request) {
    if (!request.target.empty()) return request.target;
    // Rebuilt from the parts when the library gives no raw target.
    std::string target = request.path;
    char separator = '?';
    for (const auto& [key, value] : request.params) {
        target += separator + key + "=" + value;
        separator = '&';
    }
    return target;
}

}  // namespace

void WorkshopServer::State::answer(const httplib::Request& request, httplib::Response& response) {
    const std::string target = TargetOf(request);
    Answer found;
    bool known = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back({target, request.version, request.get_header_value("User-Agent"),
                        request.get_header_value("Accept")});
        mostAnswering = std::max(mostAnswering, ++answering);
        auto it = answers.find(target);
        if (it != answers.end()) {
            found = it->second.front();
            if (it->second.size() > 1) it->second.pop_front();
            known = true;
        }
    }
    // Counted until the handler returns: the delay, where requests wait, is inside.
    struct Answered {
        State* state;
        ~Answered() {
            std::lock_guard<std::mutex> lock(state->mutex);
            --state->answering;
        }
    } answered{this};
    if (!known) {
        response.status = 404;
        response.set_content(
            "<!DOCTYPE html>\r\n<html><head><title>404 Not Found</title></head>"
            "<body><h1>Not Found</h1></body></html>\r\n",
            "text/html; charset=UTF-8");
        return;
    }
    if (found.delay.count() > 0 && !pause(found.delay)) {
        response.status = 503;
        return;
    }
    if (!found.redirect.empty()) {
        response.status = (found.status >= 300 && found.status < 400) ? found.status : 302;
        response.set_header("Location", found.redirect);
        return;
    }
    response.status = found.status;
    for (const auto& [name, value] : found.headers) response.set_header(name, value);
    if (found.chunked && !found.drop && found.stall.count() == 0) {
        auto body = std::make_shared<const std::string>(std::move(found.body));
        auto sent = std::make_shared<bool>(false);
        response.set_chunked_content_provider(
            found.contentType, [body, sent](std::size_t, httplib::DataSink& sink) {
                if (*sent) {
                    sink.done();
                    return true;
                }
                *sent = true;
                // In pieces of 4 KiB, as a streaming server would send them.
                for (std::size_t at = 0; at < body->size(); at += 4096) {
                    if (!sink.write(body->data() + at,
                                    std::min<std::size_t>(4096, body->size() - at)))
                        return false;
                }
                return true;
            });
        return;
    }
    if (!found.drop && found.stall.count() == 0) {
        response.set_content(found.body, found.contentType);
        return;
    }
    // The body goes out in two halves; between them the connection is dropped or stalls.
    auto body = std::make_shared<const std::string>(std::move(found.body));
    const std::size_t half = body->size() / 2;
    const bool drop = found.drop;
    const auto stall = found.stall;
    response.set_content_provider(
        body->size(), found.contentType,
        [this, body, half, drop, stall](std::size_t offset, std::size_t length,
                                        httplib::DataSink& sink) {
            if (offset < half) {
                const std::size_t count = std::min(length, half - offset);
                return sink.write(body->data() + offset, count);
            }
            if (drop) return false;  // the library closes the connection mid-body
            if (!pause(stall)) return false;
            return sink.write(body->data() + offset, std::min(length, body->size() - offset));
        });
}

WorkshopServer::WorkshopServer(int port) : state_(std::make_shared<State>()) {
    State* state = state_.get();
    state->server.set_keep_alive_timeout(1);
    state->server.Get(".*", [state](const httplib::Request& request, httplib::Response& response) {
        state->answer(request, response);
    });
    if (port == 0) {
        port_ = state->server.bind_to_any_port("127.0.0.1");
    } else if (state->server.bind_to_port("127.0.0.1", port)) {
        port_ = port;
    }
    if (port_ <= 0) {
        port_ = 0;
        return;
    }
    // The socket listens from the bind on, so a request made right away waits in its queue.
    state->listener = std::thread([state] { state->server.listen_after_bind(); });
    // The library's stop() does nothing until its accept loop runs: wait for that, so a server
    // stopped right after it was made still ends.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!state->server.is_running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

WorkshopServer::~WorkshopServer() {
    stop();
}

void WorkshopServer::stop() {
    if (!state_) return;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stopping = true;
    }
    state_->wake.notify_all();
    state_->server.stop();
    if (state_->listener.joinable()) state_->listener.join();
}

std::string WorkshopServer::base() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string WorkshopServer::pagePrefix() const {
    return base() + std::string(kPagePath) + "?id=";
}

void WorkshopServer::setPage(const std::string& id, Answer answer) {
    setAnswer(std::string(kPagePath) + "?id=" + id, std::move(answer));
}

void WorkshopServer::setPage(const std::string& id, std::string body) {
    Answer answer;
    answer.body = std::move(body);
    setPage(id, std::move(answer));
}

void WorkshopServer::setAnswer(const std::string& target, Answer answer) {
    setAnswers(target, {std::move(answer)});
}

void WorkshopServer::setAnswers(const std::string& target, std::vector<Answer> answers) {
    if (answers.empty()) return;
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->answers[target] = std::deque<Answer>(std::make_move_iterator(answers.begin()),
                                                 std::make_move_iterator(answers.end()));
}

void WorkshopServer::clearAnswers() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->answers.clear();
}

std::vector<SeenRequest> WorkshopServer::requests() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->seen;
}

std::size_t WorkshopServer::requestCount() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->seen.size();
}

std::size_t WorkshopServer::mostAtOnce() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->mostAnswering;
}

std::size_t WorkshopServer::requestCount(const std::string& target) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return static_cast<std::size_t>(
        std::count_if(state_->seen.begin(), state_->seen.end(),
                      [&target](const SeenRequest& request) { return request.target == target; }));
}

}  // namespace kestavel::workshop
