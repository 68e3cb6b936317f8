#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "contest/workspace/contest_workspace.h"
#include "platform/windows_text.h"

namespace zeb::win32 {

// One piece of long work at a time on a thread of its own, so that the window goes on answering
// while a contest is taken in and checked. The thread never touches a window: it posts
// `progressMessage` when its progress changed and `doneMessage` once it ended, and the window asks
// then, on its own thread, how far it is and how it ended.
class BackgroundWork {
  public:
    // The work; false when it was stopped before its end.
    using Job = std::function<bool(const contest::WorkProgress& progress)>;

    BackgroundWork(HWND window, UINT progressMessage, UINT doneMessage);
    // Stops the work and waits for its thread.
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // False, starting nothing, while other work runs.
    bool start(Job job);
    // The work stops at its next step.
    void stop();
    // From the start until the window has taken the end (`finish`).
    bool busy() const { return thread_.joinable(); }

    struct Progress {
        contest::WorkStage stage = contest::WorkStage::Intake;
        std::size_t done = 0;
        std::size_t total = 0;
    };
    // How far the work is; a progress message asked for more.
    Progress progress();

    struct End {
        bool completed = false;  // ran to its end
        std::string failure;     // what went wrong when it threw (UTF-8), empty otherwise
    };
    // Once `doneMessage` came: waits for the thread, which is ending, and tells how it ended.
    End finish();

  private:
    HWND window_;
    UINT progressMessage_;
    UINT doneMessage_;
    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> stopRequested_;
    std::mutex mutex_;
    Progress progress_;
    bool progressPosted_ = false;
    End end_;
};

}  // namespace zeb::win32
