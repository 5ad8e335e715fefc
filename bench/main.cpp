// Figures for the Life board: generation cost with and without drawing, and seeding
// from the screen with one capture against one GetPixel per cell; then the full-screen saver
// itself: time to its first paint, the cost of one tick, and its CPU use over ten seconds.
//   tools/with-wine.sh --size 1920x1080 wine build/bench/orlivex_bench.exe
//   tools/with-wine.sh --monitors "1280x1024+1024+0 1024x768+0+0" wine build/bench/orlivex_bench.exe saver
#include "app/LifeBoard.h"
#include "app/Orlivex.h"
#include "app/ScreenCapture.h"
#include "bench/Backdrop.h"
#include "bench/BenchClock.h"
#include "awt/DibSurface.h"
#include "awt/Screen.h"
#include "awt/Toolkit.h"
#include "bench/FirstPaintBench.h"
#include "bench/Floor.h"
#include "bench/PiecesBench.h"
#include "bench/SurfaceBench.h"
#include "bench/TickBench.h"
#include "bench/WallpaperBench.h"
#include "klib/Exception.h"
#include "tests/support/SurfaceWindow.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <exception>
#include <random>
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

// Mean wall time of one ordinary generation from board, in ms.
template <typename Step>
double msPerGeneration(int count, Step step) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) step();
    GdiFlush();
    return secondsSince(start) * 1e3 / count;
}

void benchGenerations(int width, int height, int cellSize, int count) {
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

    // The rule alone, on a board of its own.
    LifeBoard alone(life.getColumns(), life.getRows());
    for (int r = 0, i = 0; r < alone.getRows(); ++r) {
        for (int c = 0; c < alone.getColumns(); ++c) alone.setAlive(c, r, board[static_cast<size_t>(i++)] != 0);
    }
    long long changes = 0;
    const double ruleMs = msPerGeneration(count, [&] { changes += alone.lifeStep(nullptr); });

    restore(life, board);
    const double surfaceMs = msPerGeneration(count, [&] { life.lifeStep(nullptr); });

    const testing_support::SurfaceWindow window(RECT{0, 0, width, height}, WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE);
    pumpMessages();
    const HDC windowDC = GetDC(window.get());
    restore(life, board);
    life.paint(windowDC);
    const double windowMs = msPerGeneration(count, [&] { life.lifeStep(windowDC); });

    restore(life, board);
    life.paint(windowDC);
    const double repaintMs = msPerGeneration(1, [&] { life.paint(windowDC); });
    ReleaseDC(window.get(), windowDC);

    std::printf("%4dx%-4d %4d %6dx%-5d %10.3f %12.3f %12.3f %14.0f %10.2f\n", width, height, cellSize,
                life.getColumns(), life.getRows(), ruleMs, surfaceMs, windowMs,
                static_cast<double>(changes) / count, repaintMs);
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


}  // namespace

int main(int argc, char** argv) {
    // With arguments, only the named parts run: generations, wallpaper, seeding, pieces, surfaces,
    // firstpaint, ticks, cpu, or saver for the last three; or "backdrop <seconds>" shows the busy picture
    // alone, "floor <seconds> [interval]" runs the bare floor program, and "memory <cell size>" the saver
    // alone for its resident memory.
    const auto wanted = [&](const char* part) {
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], part) == 0) return true;
            const bool saverPart = std::strcmp(part, "firstpaint") == 0 || std::strcmp(part, "ticks") == 0 ||
                                   std::strcmp(part, "cpu") == 0;
            if (saverPart && std::strcmp(argv[i], "saver") == 0) return true;
        }
        return argc < 2;
    };
    const Clock::time_point start = Clock::now();
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (argc == 3 && std::strcmp(argv[1], "backdrop") == 0) {
        // Only the busy picture, for the given seconds: the screen tools/saver-cpu.sh runs the saver on.
        bench::Backdrop backdrop(0, 0, width, height);
        backdrop.show(bench::Backdrop::Picture::NOISE);
        while (secondsSince(start) < std::atof(argv[2])) {
            pumpMessages();
            MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "wallpaper-seed") == 0) {
        // The wallpaper's seeding alone, for its peak memory: started by the wallpaper part.
        int count = 0;
        LPWSTR* const wide = CommandLineToArgvW(GetCommandLineW(), &count);  // the paths as Windows names them
        const int result = wide != nullptr && count == 5 ? bench::runWallpaperSeed(wide[2], wide[3], std::atoi(argv[4])) : 2;
        LocalFree(wide);
        return result;
    }
    if (argc >= 3 && std::strcmp(argv[1], "floor") == 0) {
        // The bare floor program for tools/saver-cpu.sh: one full-screen copy each tick, for the given
        // seconds, at the given interval (50 ms unless given).
        return bench::runBareFloor(std::atof(argv[2]), argc >= 4 ? std::atoi(argv[3]) : 50);
    }
    if (wanted("generations")) {
        std::printf("Life generations, ms each: the rule alone, with the changes drawn into the surface, and\n"
                    "with the changed bands copied to a shown window; changed cells per generation; a full paint\n");
        std::printf("%-9s %4s %12s %10s %12s %12s %14s %10s\n", "area", "size", "cells", "rule", "+surface",
                    "+window", "changes/gen", "repaint");
        for (const int cellSize : {1, 2, 10}) {
            benchGenerations(1920, 1080, cellSize, 100);
            benchGenerations(3840, 2160, cellSize, 40);
        }
        benchGenerations(128, 96, 2, 5000);
    }
    if (wanted("wallpaper")) bench::benchWallpaper();
    if (wanted("seeding")) benchSeeding(width, height);
    try {
        if (argc == 3 && std::strcmp(argv[1], "memory") == 0) {
            awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
            const RECT screen = awt::getVirtualScreen();
            bench::Backdrop backdrop(screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top);
            return bench::runMemory(backdrop, std::atoi(argv[2]));
        }
        if (wanted("firstpaint") || wanted("ticks") || wanted("cpu") || wanted("pieces") || wanted("surfaces")) {
            awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOWNORMAL);  // work only on the first call
            // The saver covers every monitor: the virtual screen.
            const RECT screen = awt::getVirtualScreen();
            bench::Backdrop backdrop(screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top);
            if (wanted("pieces")) bench::benchPieces(backdrop);
            if (wanted("surfaces")) bench::benchSurfaces(backdrop);
            if (wanted("firstpaint")) bench::benchFirstPaint(backdrop);
            if (wanted("ticks")) bench::benchTicks(backdrop);
            if (wanted("cpu")) bench::benchCpu(backdrop);
        }
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
