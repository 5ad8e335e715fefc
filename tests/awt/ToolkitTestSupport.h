#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "klib/Runnable.h"

namespace awt_test {

// Removes every message waiting for the calling thread (including a pending WM_QUIT) without dispatching.
inline void discardMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// Runs action and returns the message of the E it throws (its error code to *code), or "no exception".
template <typename E, typename F>
std::wstring messageOf(F&& action, int* code = nullptr) {
    try {
        action();
    } catch (const E& e) {
        if (code != nullptr) {
            *code = e.getErrorCode();
        }
        return e.getMessage();
    }
    return L"no exception";
}

// Ends a loop that would otherwise wait forever: posts WM_QUIT with EXPIRED after timeoutMs.
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

// A runnable that calls a function; kept on the caller's stack (runnables are not deleted by the queue).
class CallRunnable : public klib::Runnable {
public:
    explicit CallRunnable(std::function<void()> action) : action_(std::move(action)) {}
    void run() override {
        ++runs;
        action_();
    }

    int runs = 0;

private:
    std::function<void()> action_;
};

// A plain popup window of a system or registered class, destroyed with the holder.
class TestWindow {
public:
    explicit TestWindow(const wchar_t* className = L"STATIC", DWORD style = WS_POPUP, int x = 10, int y = 10,
                        int width = 100, int height = 80)
        : window_(CreateWindowExW(0, className, L"", style, x, y, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() {
        if (window_ != nullptr && IsWindow(window_)) {
            DestroyWindow(window_);
        }
    }

    HWND get() const noexcept { return window_; }

private:
    HWND window_;
};

}  // namespace awt_test
