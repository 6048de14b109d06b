#include "app/ConcurrentFetches.h"

#include <algorithm>
#include <chrono>

namespace kestavel {

ConcurrentFetches::ConcurrentFetches(const CommandContext& context, CommandFrame& frame)
    : context_(context),
      frame_(frame),
      workerCount_(static_cast<std::size_t>(std::max(1, context.services.fetchesAtOnce))) {
    workers_.reserve(workerCount_);
}

void ConcurrentFetches::work(const std::stop_token& stop) {
    const auto stopped = [this, stop] { return stop.stop_requested() || frame_.stopRequested(); };
    HttpClient http(context_.services.http);
    http.setStopCheck(stopped);
    http.setPause(&pause_);
    FetchWorker worker(http, stopped);
    for (;;) {
        Task task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            // A job not yet taken when the workers are stopped is never run.
            if (!changed_.wait(lock, stop, [this] { return !waiting_.empty(); })) return;
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
        if (busy_ == workers_.size()) {
            workers_.emplace_back([this](const std::stop_token& stop) { work(stop); });
        }
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
