// Figures for the Life board: generation cost per cell with and without painting, and seeding
// from the screen with one capture against one GetPixel per cell; then the full-screen saver
// itself: time to its first paint, the cost of one tick, and its CPU use over ten seconds.
//   tools/with-wine.sh --size 1920x1080 wine build/bench/orlivex_bench.exe
//   tools/with-wine.sh --monitors "1280x1024+1024+0 1024x768+0+0" wine build/bench/orlivex_bench.exe saver
#include "app/Orlivex.h"
#include "app/ScreenCapture.h"
#include "bench/Backdrop.h"
#include "bench/BenchClock.h"
#include "awt/DibSurface.h"
#include "bench/SaverBench.h"
#include "klib/Exception.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <random>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::secondsSince;

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
}

// A plain shown pop-up window of its own class.
class ShownWindow {
public:
    ShownWindow(int width, int height) {
        static const ATOM windowClass = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
            wc.lpszClassName = L"OrlivexBench";
            return RegisterClassW(&wc);
        }();
        handle = CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(windowClass), L"bench", WS_POPUP | WS_VISIBLE, 0, 0,
                                 width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(handle);
        pumpMessages();
    }
    ShownWindow(const ShownWindow&) = delete;
    ShownWindow& operator=(const ShownWindow&) = delete;
    ~ShownWindow() {
        DestroyWindow(handle);
        pumpMessages();
    }
    HWND handle = nullptr;
};

using Board = std::vector<std::uint8_t>;

Board snapshot(const Orlivex& life) {
    Board board;
    board.reserve(static_cast<size_t>(life.getColumns()) * life.getRows());
    for (int r = 0; r < life.getRows(); ++r) {
        for (int c = 0; c < life.getColumns(); ++c) board.push_back(life.isAlive(c, r));
    }
    return board;
}

void restore(Orlivex& life, const Board& board) {
    size_t i = 0;
    for (int r = 0; r < life.getRows(); ++r) {
        for (int c = 0; c < life.getColumns(); ++c) life.setAlive(c, r, board[i++] != 0);
    }
}

struct Run {
    double nsPerCell;
    double changesPerGeneration;
};

// generations ordinary generations from board, painted on dc (none: compute only).
Run generations(Orlivex& life, const Board& board, HDC dc, int count) {
    restore(life, board);
    if (dc != nullptr) {
        life.paint(dc);
        GdiFlush();
    }
    long long changes = 0;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) {
        changes += life.lifeStep(dc);
    }
    if (dc != nullptr) {
        GdiFlush();
    }
    const double seconds = secondsSince(start);
    const double cells = static_cast<double>(life.getColumns()) * life.getRows() * count;
    return Run{seconds * 1e9 / cells, static_cast<double>(changes) / count};
}

void benchGenerations(int width, int height, int cellSize, int computeCount, int paintCount) {
    Orlivex life;
    life.setCellSize(cellSize);
    life.setArea(width, height);
    life.createBoard();
    // A random soup aged a little, so the figures are those of a running board, not of the
    // first collapse.
    std::mt19937 random(7);
    for (int r = 0; r < life.getRows(); ++r) {
        for (int c = 0; c < life.getColumns(); ++c) life.setAlive(c, r, random() % 100 < 40);
    }
    for (int i = 0; i < 30; ++i) {
        life.lifeStep(nullptr);
    }
    const Board board = snapshot(life);

    const Run compute = generations(life, board, nullptr, computeCount);
    const awt::DibSurface memory(width, height);
    const Run onMemory = generations(life, board, memory.getDC(), paintCount);
    const ShownWindow window(width, height);
    const HDC windowDC = GetDC(window.handle);
    const Run onWindow = generations(life, board, windowDC, paintCount);

    restore(life, board);
    const Clock::time_point start = Clock::now();
    life.paint(windowDC);
    GdiFlush();
    const double repaintMs = secondsSince(start) * 1e3;
    ReleaseDC(window.handle, windowDC);

    std::printf("%4dx%-4d %4d %6dx%-5d %10.3f %12.2f %12.2f %14.0f %10.2f\n", width, height, cellSize,
                life.getColumns(), life.getRows(), compute.nsPerCell, onMemory.nsPerCell, onWindow.nsPerCell,
                onMemory.changesPerGeneration, repaintMs);
    std::fflush(stdout);
}

void benchSeeding(int width, int height) {
    std::printf("\nSeeding from a %dx%d screen\n", width, height);
    const int captures = 5;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < captures; ++i) {
        const ScreenCapture capture(0, 0, width, height);
    }
    std::printf("  capture alone (one BitBlt):          %10.2f ms\n", secondsSince(start) * 1e3 / captures);

    // Per-pixel reference, timed on a sample of cells spread over the screen.
    const HDC screen = GetDC(nullptr);
    const int samples = 3000;
    COLORREF sink = 0;
    start = Clock::now();
    for (int i = 0; i < samples; ++i) {
        sink ^= GetPixel(screen, (i * 641) % width, (i * 379) % height);
    }
    const double perPixel = secondsSince(start) / samples;
    ReleaseDC(nullptr, screen);
    std::printf("  GetPixel per call (%d samples):     %10.2f us\n", samples, perPixel * 1e6);

    for (int cellSize : {1, 2, 10}) {
        Orlivex life;
        life.setCellSize(cellSize);
        life.setArea(width, height);
        start = Clock::now();
        life.createBoard();
        const double seconds = secondsSince(start);
        const double cells = static_cast<double>(life.getColumns()) * life.getRows();
        std::printf("  cell size %2d: createBoard %8.2f ms   per-pixel GetPixel would take %9.2f s (%.0f cells)\n",
                    cellSize, seconds * 1e3, perPixel * cells, cells);
    }
    if (sink == 1) {
        std::printf(" ");
    }
}

// The saver covers every monitor: the virtual screen.
void benchSaver() {
    bench::Backdrop backdrop(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                             GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    bench::benchFirstPaint(backdrop);
    bench::benchTicks(backdrop);
    bench::benchCpu(backdrop);
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    // "saver": only the saver's figures, for a layout of several monitors.
    if (argc > 1 && std::string(argv[1]) == "saver") {
        try {
            benchSaver();
        } catch (const klib::Exception& failure) {
            std::printf("\nfailed: %ls\n", failure.toString().c_str());
            return 1;
        }
        return 0;
    }
    std::printf("Life generations (ns per cell; changed cells per generation; full repaint on the window)\n");
    std::printf("%-9s %4s %12s %10s %12s %12s %14s %10s\n", "area", "size", "cells", "compute", "memory DC",
                "window DC", "changes/gen", "repaint ms");
    benchGenerations(1920, 1080, 1, 60, 8);
    benchGenerations(1920, 1080, 2, 200, 20);
    benchGenerations(1920, 1080, 10, 4000, 200);
    benchGenerations(128, 96, 2, 50000, 2000);
    benchSeeding(width, height);
    try {
        benchSaver();
    } catch (const klib::Exception& failure) {
        std::printf("\nfailed: %ls\n", failure.toString().c_str());
        return 1;
    } catch (const std::exception& failure) {
        std::printf("\nfailed: %s\n", failure.what());
        return 1;
    }
    std::printf("\ntotal %.1f s\n", secondsSince(start));
    return 0;
}
