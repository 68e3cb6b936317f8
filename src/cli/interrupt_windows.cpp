// Ctrl-C, Ctrl-Break and the closing of the console on Windows.

#include <atomic>

#include "cli/interrupt.h"
#include "platform/windows_text.h"

namespace zeb::cli {

namespace {

std::atomic<bool> requested{false};

// The system calls this on a thread of its own.
BOOL WINAPI onControl(DWORD event) {
    requested = true;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        return TRUE;
    }
    // Closing the console, logging off and shutting down end the process as soon as this returns.
    // Waiting here lets the main thread finish the log at hand and return, which ends the process
    // with no temporary file left, well before the system stops waiting.
    Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void stopOnInterrupt() {
    SetConsoleCtrlHandler(onControl, TRUE);
}

bool interruptRequested() {
    return requested;
}

}  // namespace zeb::cli
