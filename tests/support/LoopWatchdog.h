#pragma once

#include <windows.h>

#include "awt/Toolkit.h"

namespace testing_support {

// Ends a message loop that would otherwise wait forever: posts WM_QUIT with EXPIRED after timeoutMs, so a
// test that runs a loop fails with that code instead of hanging.
class LoopWatchdog {
public:
    static constexpr int EXPIRED = -77;

    explicit LoopWatchdog(UINT timeoutMs = 5000) : timer_(SetTimer(nullptr, 0, timeoutMs, expire)) {}
    LoopWatchdog(const LoopWatchdog&) = delete;
    LoopWatchdog& operator=(const LoopWatchdog&) = delete;
    ~LoopWatchdog() { KillTimer(nullptr, timer_); }

private:
    static void CALLBACK expire(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        PostQuitMessage(EXPIRED);
    }

    UINT_PTR timer_;
};

// Runs the toolkit's loop under a watchdog of its own; what run returns, or LoopWatchdog::EXPIRED.
inline int runWatched(awt::Toolkit* toolkit, UINT timeoutMs = 5000) {
    const LoopWatchdog watchdog(timeoutMs);
    return toolkit->run();
}

}  // namespace testing_support
