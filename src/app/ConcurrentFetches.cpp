#include "app/ConcurrentFetches.h"

#include <algorithm>
#include <chrono>

namespace kestavel {
ConcurrentFetches::ConcurrentFetches(const CommandContext& context, CommandFrame& frame)
    : context_(context),
      frame_(frame),
      stop_([this] { return ending_.load() || frame_.stopRequested(); }),
      workerCount_(static_cast<std::size_t>(std::max(1, context.services.fetchesAtOnce))) {
    workers_.reserve(workerCount_);
}

ConcurrentFetches::~ConcurrentFetches() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void ConcurrentFetches::work() {
    HttpClient http(context_.services.http);
    http.setStopCheck(stop_);
    http.setPause(&pause_);
    FetchWorker worker(http, stop_);
    for (;;) {
        Task task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
            // At the end the jobs still waiting run too: they see the stop and keep nothing.
            if (waiting_.empty()) return;
            task = std::move(waiting_.front());
            waiting_.pop_front();
        }
        task.job(worker);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            running_.erase(running_.find(task.key));
            --busy_;
            ++ended_;
        }
        changed_.notify_all();
    }
}

void ConcurrentFetches::waitUntil(const std::function<bool()>& done) {
    for (;;) {
        const std::size_t seen = ended_.load();
        const auto moved = [&] { return ended_.load() != seen || frame_.stopRequested(); };
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (done()) return;
        }
        showPause();
        context_.services.pump->runEvents(kWaitStepMilliseconds, moved);
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(kWaitStepMilliseconds),
                          [&] { return done() || moved(); });
    }
}

void ConcurrentFetches::showPause() {
    const auto left = pause_.remaining();
    if (left.count() > 0) {
        const auto seconds = std::chrono::ceil<std::chrono::seconds>(left).count();
        const std::string line = "服务器要求暂停下载，" + std::to_string(seconds) + "秒后继续...";
        if (line != shownPause_) frame_.setProgress(line);
        shownPause_ = line;
    } else if (!shownPause_.empty()) {
        frame_.setProgress(progress_);
        shownPause_.clear();
    }
}

bool ConcurrentFetches::awaitKey(const std::string& key) {
    waitUntil([&] { return running_.count(key) == 0 || frame_.stopRequested(); });
    return !frame_.stopRequested();
}

bool ConcurrentFetches::start(const std::string& key, std::string progress, FetchJob job) {
    waitUntil([&] { return busy_ < workerCount_ || frame_.stopRequested(); });
    if (frame_.stopRequested()) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // A worker more only when every one there is busy.
        if (busy_ == workers_.size()) workers_.emplace_back([this] { work(); });
        waiting_.push_back({key, std::move(job)});
        running_.insert(key);
        ++busy_;
    }
    changed_.notify_all();
    progress_ = std::move(progress);
    if (pause_.remaining().count() > 0) {
        showPause();
    } else {
        shownPause_.clear();
        frame_.setProgress(progress_);
    }
    return true;
}

void ConcurrentFetches::finish() {
    waitUntil([&] { return busy_ == 0; });
    showPause();
}

}  // namespace kestavel
