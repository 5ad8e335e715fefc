#include "bench/TickBench.h"

#include "app/LifeBoard.h"
#include "app/Orlivex.h"
#include "awt/Events.h"
#include "awt/GdiObject.h"
#include "awt/Screen.h"
#include "awt/Toolkit.h"
#include "awt/WindowProcedure.h"
#include "bench/Backdrop.h"
#include "bench/BenchClock.h"
#include "bench/Floor.h"
#include "bench/SaverHarness.h"
#include "screensaver/SaverWindow.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {
namespace {

constexpr double CPU_START_SECONDS = 4;  // the span of the CPU runs: after the start-up, as tools/saver-cpu.sh
constexpr double CPU_SPAN_SECONDS = 8;

struct TickStats {
    std::vector<double> ms;
    std::vector<double> computeMs;  // the same generation on a twin board, without drawing
    std::vector<double> afterMs;    // the loop pass right after the tick
    int spreads = 0;
    long long changes = 0;
};

void printTicks(int cellSize, int first, const TickStats& stats) {
    double sum = 0;
    double slowest = 0;
    for (const double ms : stats.ms) {
        sum += ms;
        slowest = ms > slowest ? ms : slowest;
    }
    const double count = static_cast<double>(stats.ms.size());
    const double changesPerTick = static_cast<double>(stats.changes) / count;
    char range[32];
    std::snprintf(range, sizeof range, "%d-%d", first, first + static_cast<int>(stats.ms.size()) - 1);
    double computeSum = 0;
    for (const double ms : stats.computeMs) computeSum += ms;
    const double computeMean = computeSum / count;
    double afterSum = 0;
    for (const double ms : stats.afterMs) afterSum += ms;
    std::printf("%4d %11s %8.2f %8.2f %8.2f %8.2f %9.2f %10.2f %7d %13.0f %10.0f\n", cellSize, range,
                stats.ms.front(), median(stats.ms), sum / count, slowest, computeMean, afterSum / count, stats.spreads,
                changesPerTick,
                changesPerTick > 0 ? (sum - computeSum) / count * 1e6 / changesPerTick : 0.0);
}

DWORD WINAPI fixedTick() { return 0x80 << 2; }  // seeds the grey levels 128 to 159

// A board of its own with the renderer's cells, stepped alongside it without drawing.
std::unique_ptr<LifeBoard> twinOf(const Orlivex& renderer) {
    auto twin = std::make_unique<LifeBoard>(renderer.getColumns(), renderer.getRows());
    for (int r = 0; r < twin->getRows(); ++r) {
        for (int c = 0; c < twin->getColumns(); ++c) twin->setAlive(c, r, renderer.isAlive(c, r));
    }
    return twin;
}

// The median of 20 ticks of the floor in the saver's window: the whole surface copied, nothing computed.
double floorTickMs(int interval) {
    FloorRenderer floor(interval);
    screensaver::SaverWindow window;
    window.setRenderer(&floor);
    window.setVisible(true);
    LoopPass loop(window.getToolkit());
    loop.watch(window.getHandle());
    loop.until([&] { return isPainted(window.getHandle()); }, "the floor's first paint");
    awt::ActionEvent event{static_cast<awt::WindowProcedure*>(&window), false};
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
        const Clock::time_point start = Clock::now();
        floor.actionPerformed(event);
        GdiFlush();
        ms.push_back(millisecondsBetween(start, Clock::now()));
        MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        loop.drain();
    }
    endSaving(window, loop);
    return median(ms);
}

// Returns the median tick of generations 1-20.
double tickRun(int cellSize) {
    Orlivex renderer;
    renderer.setCellSize(cellSize);
    renderer.setTickSource(fixedTick);  // the same random births for the renderer and its twin
    screensaver::SaverWindow window;
    window.setRenderer(&renderer);
    window.setVisible(true);
    const HWND handle = window.getHandle();
    LoopPass loop(window.getToolkit());
    loop.watch(handle);
    loop.until([&] { return isPainted(handle); }, "the first paint");
    // From here on the generations are ours alone.
    renderer.suspend();

    awt::WindowProcedure* const source = &window;
    awt::ActionEvent event{source, false};
    std::unique_ptr<LifeBoard> twin = twinOf(renderer);
    const auto measure = [&](int count) {
        TickStats stats;
        for (int i = 0; i < count; ++i) {
            const bool spread = renderer.isStagnant();
            stats.spreads += spread ? 1 : 0;
            Clock::time_point start = Clock::now();
            renderer.actionPerformed(event);
            GdiFlush();
            stats.ms.push_back(millisecondsBetween(start, Clock::now()));
            // The same step on the twin: what the tick spends on the rule.
            start = Clock::now();
            if (spread) {
                std::srand(fixedTick());
                twin->spreadStep(nullptr);
            } else {
                stats.changes += twin->lifeStep(nullptr);
            }
            stats.computeMs.push_back(millisecondsBetween(start, Clock::now()));
            // What the loop does next (the platform may push the changed pixels out here).
            start = Clock::now();
            MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            loop.drain();
            stats.afterMs.push_back(millisecondsBetween(start, Clock::now()));
        }
        return stats;
    };

    const TickStats early = measure(20);
    for (int generation = 21; generation <= 490; ++generation) {
        renderer.nextGeneration(nullptr);
    }
    // The window shows generation 490 before the late ticks draw their changes over it.
    awt::WindowDC dc(GetDC(handle), handle);
    renderer.paint(dc.get());
    ReleaseDC(handle, dc.detach());
    GdiFlush();
    twin = twinOf(renderer);
    const TickStats late = measure(20);

    printTicks(cellSize, 1, early);
    printTicks(cellSize, 491, late);
    std::fflush(stdout);

    renderer.resume();
    endSaving(window, loop);
    return median(early.ms);
}

// ---- CPU ----

struct CpuMark {
    Clock::time_point wall;
    std::uint64_t user;    // 100 ns units
    std::uint64_t kernel;  // 100 ns units
    int ticks;
};

CpuMark markNow(int ticks) {
    const ProcessTimes times = processTimes();
    return CpuMark{Clock::now(), times.user, times.kernel, ticks};
}

// What the thread-timer procedures reach; Win32 gives them no context of their own.
struct CpuRun {
    screensaver::SaverWindow* window = nullptr;  // not owned
    int ticks = 0;
    CpuMark atStart{};
    CpuMark atEnd{};
};
CpuRun* activeRun = nullptr;

// Counts the saver window's timer ticks as the toolkit loop takes them.
class TickCounter : public awt::MessagePreprocessor {
public:
    TickCounter(HWND window, int* ticks) noexcept : window(window), ticks(ticks) {}
    void preprocess(const MSG* msg, bool*) override {
        if (msg->message == WM_TIMER && msg->hwnd == window) ++*ticks;
    }

private:
    HWND window;
    int* ticks;  // not owned
};

void CALLBACK markStart(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    KillTimer(nullptr, id);
    try {
        activeRun->atStart = markNow(activeRun->ticks);
    } catch (...) {
        awt::Toolkit::parkException(std::current_exception());
    }
}

void CALLBACK endRun(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    KillTimer(nullptr, id);
    try {
        activeRun->atEnd = markNow(activeRun->ticks);
        if (activeRun->window != nullptr) {
            activeRun->window->endSaving();
        }
    } catch (...) {
        awt::Toolkit::parkException(std::current_exception());
    }
}

// A one-shot timer of the thread (no window); its procedure kills it when it fires, and the
// destructor kills it if it has not fired.
class ThreadTimer {
public:
    ThreadTimer(UINT ms, TIMERPROC procedure) : id(SetTimer(nullptr, 0, ms, procedure)) {
        if (id == 0) {
            throw std::runtime_error("::SetTimer() failed");
        }
    }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;
    ~ThreadTimer() { KillTimer(nullptr, id); }

private:
    UINT_PTR id;
};

double percentOfCore(const CpuMark& from, const CpuMark& to) {
    const double cpu = static_cast<double>((to.user + to.kernel) - (from.user + from.kernel)) / 1e7;
    return 100 * cpu / std::chrono::duration<double>(to.wall - from.wall).count();
}

}  // namespace

void benchTicks(Backdrop& backdrop) {
    backdrop.show(Backdrop::Picture::NOISE);
    const RECT screen = awt::getVirtualScreen();
    std::printf("\nOne timer tick at %ldx%ld on the %s picture: actionPerformed with the saver window as source, "
                "then GdiFlush (wall ms)\n",
                screen.right - screen.left, screen.bottom - screen.top, Backdrop::nameOf(backdrop.getPicture()));
    std::printf("%4s %11s %8s %8s %8s %8s %9s %10s %7s %13s %10s\n", "size", "generations", "first", "median",
                "mean", "max", "rule mean", "after mean", "spread", "changes/tick", "ns/change");
    double medians[2];
    for (const int cellSize : {2, 1}) {
        medians[cellSize - 1] = tickRun(cellSize);
        LoopPass(awt::Toolkit::forCurrentThread()).settle(0.15);
    }
    const double floorMs = floorTickMs(Orlivex().getInterval());
    std::printf("floor (the whole surface copied, nothing computed): median %.2f ms; saver/floor of the medians of\n"
                " generations 1-20: %.2f at cell size 2, %.2f at cell size 1\n",
                floorMs, medians[1] / floorMs, medians[0] / floorMs);
    std::printf("(rule mean: the same generations on a twin board without drawing; after mean: the loop pass\n"
                " after the tick, not part of it; spread: spread generations among the ticks; changes/tick:\n"
                " of the ordinary generations; ns/change: mean tick time less the rule, per changed cell)\n"
                "targets at cell size 1: median at most 2.5 ms and the first tick at most 6 ms at 1920x1080,\n"
                " median at most 8 ms at 3840x2160\n");
    std::fflush(stdout);
}

namespace {

struct CpuFigure {
    double percent;    // of one core over the span
    double msPerTick;  // CPU ms per timer tick over the span
    int ticks;
};

// runSaver with renderer in the saver's window for CPU_START_SECONDS + CPU_SPAN_SECONDS; the CPU of
// the span after the start.
CpuFigure cpuRun(screensaver::Renderer& renderer) {
    CpuRun run;
    activeRun = &run;
    {
        const ThreadTimer atStart(static_cast<UINT>(CPU_START_SECONDS * 1000), markStart);
        const ThreadTimer atEnd(static_cast<UINT>((CPU_START_SECONDS + CPU_SPAN_SECONDS) * 1000), endRun);
        screensaver::SaverWindow window;
        window.setRenderer(&renderer);
        window.setVisible(true);
        run.window = &window;
        TickCounter counter(window.getHandle(), &run.ticks);
        awt::Toolkit* const toolkit = window.getToolkit();
        toolkit->addMessagePreprocessor(&counter);
        const int exitCode = toolkit->run();
        toolkit->removeMessagePreprocessor(&counter);
        run.window = nullptr;
        if (exitCode != 0) {
            throw std::runtime_error("the saver loop ended with " + std::to_string(exitCode));
        }
    }
    activeRun = nullptr;
    LoopPass(awt::Toolkit::forCurrentThread()).settle(0.15);
    const CpuMark& from = run.atStart;
    const CpuMark& to = run.atEnd;
    const int ticks = to.ticks - from.ticks;
    const double cpuMs = static_cast<double>((to.user + to.kernel) - (from.user + from.kernel)) / 1e4;
    return CpuFigure{percentOfCore(from, to), ticks > 0 ? cpuMs / ticks : 0.0, ticks};
}

}  // namespace

void benchCpu(Backdrop& backdrop) {
    backdrop.show(Backdrop::Picture::NOISE);
    const RECT screen = awt::getVirtualScreen();
    Orlivex saver;  // the stored settings (none: the defaults)
    FloorRenderer floor(saver.getInterval());
    std::printf("\nCPU of the running saver beside the floor, %ldx%ld, interval %d ms, cell size %d, %s picture\n"
                "(GetProcessTimes over %.0f s after a %.0f s start; saver, floor, saver, floor)\n",
                screen.right - screen.left, screen.bottom - screen.top, saver.getInterval(),
                saver.getCellSize(), Backdrop::nameOf(backdrop.getPicture()), CPU_SPAN_SECONDS, CPU_START_SECONDS);
    std::printf("%-8s %10s %7s %12s\n", "program", "% of core", "ticks", "CPU ms/tick");
    CpuFigure best[2] = {{1e9, 1e9, 0}, {1e9, 1e9, 0}};
    for (int round = 0; round < 2; ++round) {
        for (int which = 0; which < 2; ++which) {
            const CpuFigure figure = which == 0 ? cpuRun(saver) : cpuRun(floor);
            std::printf("%-8s %10.2f %7d %12.3f\n", which == 0 ? "saver" : "floor", figure.percent, figure.ticks,
                        figure.msPerTick);
            std::fflush(stdout);
            best[which].percent = std::min(best[which].percent, figure.percent);
            best[which].msPerTick = std::min(best[which].msPerTick, figure.msPerTick);
        }
    }
    std::printf("best of two: saver %.2f %%, floor %.2f %%: CPU ratio %.2f; CPU per tick %.3f / %.3f ms: ratio %.2f\n",
                best[0].percent, best[1].percent, best[0].percent / best[1].percent, best[0].msPerTick,
                best[1].msPerTick, best[0].msPerTick / best[1].msPerTick);
    std::printf("target under Wine 8: CPU ratio at most 1.2 at the defaults, 1.3 at 1920x1080 with cell size 1\n");
    std::fflush(stdout);
}

}  // namespace bench
