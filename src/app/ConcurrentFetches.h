#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

#include "app/CommandFrame.h"
#include "platform/FetchPause.h"
#include "platform/HttpClient.h"

namespace kestavel {

// What a fetch job is handed on its worker: the worker's own connection, and whether the command
// was asked to stop (a fetch the stop cut short is no answer, and the job keeps nothing of it).
class FetchWorker {
  public:
    FetchWorker(HttpClient& client, std::function<bool()> stop)
        : http(client), stop_(std::move(stop)) {}
    HttpClient& http;
    bool stopRequested() const { return stop_(); }

  private:
    std::function<bool()> stop_;
};

using FetchJob = std::function<void(FetchWorker&)>;

// How one item's fetch ended, as a command counts it: a fetch that did not run or that the stop
// cut short is not counted; a failed one is counted and reported.
enum class FetchOutcome : unsigned char { NotFetched, Fetched, Failed };

// Runs a command's fetches on up to `fetchesAtOnce` workers, while the window thread goes on
// running events. The command walks its items in order on the window thread, decides each one
// there and hands the fetch with the steps that follow it to a worker; a job writes only its
// item's files and its own outcome, which the command reads after finish(). A job never runs
// beside another that writes the same file: the command first waits for its key to be free.
class ConcurrentFetches {
  public:
    // How long the window thread lets events run before it looks at the workers again.
    static constexpr int kWaitStepMilliseconds = 20;

    ConcurrentFetches(const CommandContext& context, CommandFrame& frame);
    // The workers, asked to stop, end what they run and are joined before anything else goes.
    ~ConcurrentFetches() = default;
    ConcurrentFetches(const ConcurrentFetches&) = delete;
    ConcurrentFetches& operator=(const ConcurrentFetches&) = delete;

    // Waits, with events running, until no running job writes `key`; false once the command is
    // asked to stop.
    bool awaitKey(const std::string& key);
    // Waits, with events running, for a free worker, starts the job and shows `progress`, the
    // line of the item whose fetch started last. False, with nothing started, once the command
    // is asked to stop.
    bool start(const std::string& key, std::string progress, FetchJob job);
    // Waits, with events running, until every started job has ended.
    void finish();

  private:
    struct Task {
        std::string key;
        FetchJob job;
    };

    void work(const std::stop_token& stop);
    // Lets events run until `done` holds (it is asked under the lock).
    void waitUntil(const std::function<bool()>& done);
    void showPause();

    const CommandContext& context_;
    CommandFrame& frame_;
    FetchPause pause_;
    std::atomic<std::size_t> ended_{0};

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<Task> waiting_;
    std::multiset<std::string> running_;
    std::size_t busy_ = 0;  // jobs handed over and not yet ended
    std::size_t workerCount_;

    std::string progress_;
    std::string shownPause_;  // the pause line while it stands in the progress box

    // Last, so that it goes first.
    std::vector<std::jthread> workers_;
};

}  // namespace kestavel
