#pragma once

#include <windows.h>

#include <functional>

#include "awt/Toolkit.h"

namespace testing_support {

// Handles the messages waiting for this thread as the toolkit loop does: the toolkit's step for each,
// then its idle step. Stops after atMostMs, since a timer slower than its interval never lets the
// queue run empty. A WM_QUIT is put back for the loop a test runs next and ends the pump: false then.
inline bool pumpWaiting(DWORD atMostMs = 1000) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    const ULONGLONG end = GetTickCount64() + atMostMs;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        toolkit->processMessage(msg);
        toolkit->idle();
        if (GetTickCount64() >= end) break;
    }
    // Peeking also runs messages sent from other threads, and their failures are parked.
    awt::Toolkit::rethrowParked();
    toolkit->idle();  // work queued without a message, such as a pending layout
    return true;
}

// Polls condition every 20 ms until it holds or timeoutMs have passed, handling no message: for a
// thread without a toolkit. Returns whether it came true.
inline bool pollUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
    return true;
}

// Pumps until condition holds or timeoutMs have passed; returns whether it came true. A WM_QUIT ends
// the pump at once, with what condition says then.
inline bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 3000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const bool quit = !pumpWaiting(timeoutMs);
        if (condition()) return true;
        if (quit || GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace testing_support
