#include "win32/background_work.h"

#include <exception>

namespace zeb::win32 {

BackgroundWork::BackgroundWork(HWND window, UINT progressMessage, UINT doneMessage)
    : window_(window), progressMessage_(progressMessage), doneMessage_(doneMessage) {}

BackgroundWork::~BackgroundWork() {
    if (thread_.joinable()) {
        stopRequested_->store(true);
        thread_.join();
    }
}

bool BackgroundWork::start(Job job) {
    if (thread_.joinable()) {
        return false;
    }
    auto stopRequested = std::make_shared<std::atomic<bool>>(false);
    stopRequested_ = stopRequested;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        progress_ = {};
        progressPosted_ = false;
        end_ = {};
    }
    thread_ = std::thread([this, job = std::move(job), stopRequested] {
        const contest::WorkProgress progress =
            [this, stopRequested](contest::WorkStage stage, std::size_t done, std::size_t total) {
                bool post = false;
                {
                    const std::lock_guard<std::mutex> lock(mutex_);
                    progress_ = {stage, done, total};
                    // One message at a time: the window reads the latest when it comes to it.
                    post = !progressPosted_;
                    progressPosted_ = true;
                }
                if (post) {
                    PostMessageW(window_, progressMessage_, 0, 0);
                }
                return !stopRequested->load();
            };
        End end;
        try {
            end.completed = job(progress);
        } catch (const std::exception& error) {
            end.failure = error.what();
        } catch (...) {
            end.failure = "neznámá chyba";
        }
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            end_ = std::move(end);
        }
        PostMessageW(window_, doneMessage_, 0, 0);
    });
    return true;
}

void BackgroundWork::stop() {
    if (stopRequested_) {
        stopRequested_->store(true);
    }
}

BackgroundWork::Progress BackgroundWork::progress() {
    const std::lock_guard<std::mutex> lock(mutex_);
    progressPosted_ = false;
    return progress_;
}

BackgroundWork::End BackgroundWork::finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    End end = std::move(end_);
    end_ = {};
    end.completed = end.completed && end.failure.empty();
    return end;
}

}  // namespace zeb::win32
