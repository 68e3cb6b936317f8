#pragma once

// What the evaluator asked of a contest window while its work ran, and what the window does about
// it once the work ends: the same for every window, so that each serves them in one order.

#include <functional>

namespace zeb::contest {

class WaitingRequests {
  public:
    enum class Next { Nothing, Close, TakeBack, Recheck };

    void closeWhenIdle() { close_ = true; }
    void takeBackWhenIdle() { takeBack_ = true; }
    void recheckWhenIdle() { recheck_ = true; }
    // "Save" in the closing question: the window closes once the results are saved.
    void closeAfterSave() { closeAfterSave_ = true; }
    bool closesAfterSave() const { return closeAfterSave_; }

    // The one request to serve now that the work has ended. A save that did not reach its end
    // leaves the window open; a close waits for nothing else, since its question may keep the
    // window and what still waits is served after it.
    Next next() {
        closeAfterSave_ = false;
        if (close_) {
            close_ = false;
            return Next::Close;
        }
        if (takeBack_) {
            takeBack_ = false;
            return Next::TakeBack;
        }
        if (recheck_) {
            recheck_ = false;
            return Next::Recheck;
        }
        return Next::Nothing;
    }

    // What a window does for each request, and whether work of its own runs.
    struct Window {
        std::function<bool()> busy;
        std::function<void()> close;
        std::function<void()> takeBack;
        std::function<void()> recheck;
    };
    // Serves the requests in turn until one starts work of its own or asks the closing question:
    // changes that turn out to be none do not keep a recheck waiting.
    void serve(const Window& window) {
        while (!window.busy()) {
            switch (next()) {
                case Next::Nothing:
                    return;
                case Next::Close:
                    window.close();
                    return;
                case Next::TakeBack:
                    window.takeBack();
                    break;
                case Next::Recheck:
                    window.recheck();
                    break;
            }
        }
    }

  private:
    bool close_ = false;
    bool takeBack_ = false;
    bool recheck_ = false;
    bool closeAfterSave_ = false;
};

}  // namespace zeb::contest
