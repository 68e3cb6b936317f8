#include "cli/interrupt.h"

#include <signal.h>

#include <csignal>

namespace zeb::cli {

namespace {

volatile std::sig_atomic_t requested = 0;

extern "C" void onInterrupt(int) {
    requested = 1;
}

}  // namespace

void stopOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // Interrupted calls go on, so that a line on standard output is never cut in two.
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
}

bool interruptRequested() {
    return requested != 0;
}

}  // namespace zeb::cli
