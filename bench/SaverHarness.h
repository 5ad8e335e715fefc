#pragma once

// What the saver benchmarks share: a pass of the toolkit loop that the caller can stop between
// messages, the checks and steps around the saver window, and the process's CPU times.

#include "awt/Toolkit.h"
#include "bench/BenchClock.h"

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace screensaver {
class SaverWindow;
}

namespace bench {

constexpr double DEADLINE_SECONDS = 10;  // for any one thing the loop waits for

// The toolkit loop's pass (take one message, the toolkit's step for it, idle step),
// returning between messages so that the caller can look at the window. It never blocks longer
// than a short wait for input, and counts the timer ticks of one window and the quits it takes.
class LoopPass {
public:
    explicit LoopPass(awt::Toolkit* toolkit) noexcept : toolkit(toolkit) {}

    void watch(HWND window) noexcept { watched = window; }
    int getTicks() const noexcept { return ticks; }
    int getQuits() const noexcept { return quits; }
    // Wall time spent dispatching WM_PAINT of the watched window, and in the idle steps (whose
    // update queue repaints too).
    double getPaintMs() const noexcept { return paintMs; }
    double getIdleMs() const noexcept { return idleMs; }

    // Returns false when no message was waiting.
    bool runOnce();

    // Passes until done() holds; throws once the deadline has passed.
    template <typename Done>
    void until(Done done, const char* what) {
        const Clock::time_point start = Clock::now();
        while (!done()) {
            if (secondsSince(start) > DEADLINE_SECONDS) {
                throw std::runtime_error(std::string("timed out waiting for ") + what);
            }
            if (!runOnce()) {
                MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
            }
        }
    }

    // Handles whatever arrives for the given time.
    void settle(double seconds) {
        const Clock::time_point start = Clock::now();
        until([&] { return secondsSince(start) >= seconds; }, "the loop to settle");
    }

    // Everything already waiting, without waiting for more.
    void drain() {
        while (runOnce()) {
        }
    }

private:
    awt::Toolkit* toolkit;  // not owned
    HWND watched = nullptr;
    int ticks = 0;
    int quits = 0;
    double paintMs = 0;
    double idleMs = 0;
};

bool isPainted(HWND window);

// What runSaver's loop sees at the end: the window's end-of-saving step, then its WM_QUIT.
void endSaving(screensaver::SaverWindow& window, LoopPass& loop);

struct ProcessTimes {
    std::uint64_t user;    // 100 ns units
    std::uint64_t kernel;  // 100 ns units
};

ProcessTimes processTimes();
// User and kernel time of the process, in ms.
double processCpuMs();

}  // namespace bench
