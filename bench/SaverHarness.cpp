#include "bench/SaverHarness.h"

#include "screensaver/SaverWindow.h"

namespace bench {

bool LoopPass::runOnce() {
    MSG msg;
    const BOOL removed = PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    awt::Toolkit::rethrowParked();
    if (!removed) {
        return false;
    }
    if (msg.message == WM_QUIT) {
        ++quits;
        toolkit->runPending(true);
        return true;
    }
    if (msg.message == WM_TIMER && watched != nullptr && msg.hwnd == watched) {
        ++ticks;
    }
    const bool painting = msg.message == WM_PAINT && watched != nullptr && msg.hwnd == watched;
    Clock::time_point start = Clock::now();
    toolkit->processMessage(msg);
    if (painting) {
        paintMs += millisecondsBetween(start, Clock::now());
    }
    start = Clock::now();
    toolkit->idle();
    idleMs += millisecondsBetween(start, Clock::now());
    return true;
}

bool isPainted(HWND window) {
    return IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE);
}

void endSaving(screensaver::SaverWindow& window, LoopPass& loop) {
    const int quitsBefore = loop.getQuits();
    window.endSaving();
    loop.until([&] { return loop.getQuits() > quitsBefore; }, "the quit after endSaving");
}

namespace {

std::uint64_t units(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

ProcessTimes processTimes() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        throw std::runtime_error("::GetProcessTimes() failed");
    }
    return ProcessTimes{units(user), units(kernel)};
}

double processCpuMs() {
    const ProcessTimes times = processTimes();
    return static_cast<double>(times.user + times.kernel) / 1e4;
}

}  // namespace bench
