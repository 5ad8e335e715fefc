// Where a tick's time goes, piece by piece, on the saver's board seeded from the busy picture: the
// rule, counting the changes, the changed-row reports, writing the changed cells into the surface,
// the dirty-band bookkeeping, the copies to the window and the device context each tick, beside the
// floor (one copy of the whole surface). Each piece runs on its own twin of the board, all twins
// stepping in lockstep, so every piece sees the same generations; the figures are the least and
// the median time over the generations, the least being the one other load disturbs least.
#include "bench/PiecesBench.h"

#include "app/Bits.h"
#include "app/BoardPainter.h"
#include "app/LifeBoard.h"
#include "app/ScreenCapture.h"
#include "app/Seeding.h"
#include "awt/DibSurface.h"
#include "awt/OneBitSurface.h"
#include "awt/Screen.h"
#include "bench/Backdrop.h"
#include "bench/BenchClock.h"
#include "tests/support/SurfaceWindow.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace bench {
namespace {

constexpr unsigned KEY = 0x80;  // seeds the grey levels 128 to 159
constexpr COLORREF COLOUR = RGB(0, 255, 0);

// Records what a step reports, and nothing else.
class RowRecorder : public LifeBoard::RowListener {
public:
    struct Report {
        int row, first, last;
    };
    void rowChanged(int row, const std::uint64_t*, const std::uint64_t*, int first, int last) override {
        reports.push_back(Report{row, first, last});
    }
    std::vector<Report> reports;
};

// Paints the changed rows and copies what is drawn to the window whenever a chunk of pixel rows is done.
class ChunkPresenter : public LifeBoard::RowListener {
public:
    ChunkPresenter(BoardPainter& painter, awt::OneBitSurface& surface, int cellSize, int chunkRows) noexcept
        : painter(painter), surface(surface), cellSize(cellSize), chunkRows(chunkRows) {}
    void rowChanged(int row, const std::uint64_t* next, const std::uint64_t* previous, int first, int last) override {
        if (row * cellSize / chunkRows != chunk) {
            surface.present(dc);
            chunk = row * cellSize / chunkRows;
        }
        painter.rowChanged(row, next, previous, first, last);
    }
    HDC dc = nullptr;
    int chunk = 0;

private:
    BoardPainter& painter;
    awt::OneBitSurface& surface;
    int cellSize;
    int chunkRows;
};

template <typename Work>
double timeMs(Work work) {
    const Clock::time_point start = Clock::now();
    work();
    return millisecondsBetween(start, Clock::now());
}

struct Piece {
    const char* name;
    std::vector<double> ms;
};

void piecesAt(int cellSize, int generations) {
    const RECT screen = awt::getVirtualScreen();
    const int left = screen.left, top = screen.top, width = screen.right - left, height = screen.bottom - top;
    const int columns = (width + cellSize - 1) / cellSize, rows = (height + cellSize - 1) / cellSize;
    LifeBoard bare(columns, rows), reported(columns, rows), drawn(columns, rows), shown(columns, rows),
        chunked(columns, rows);
    {
        const ScreenCapture screen(left, top, width, height);
        for (LifeBoard* board : {&bare, &reported, &drawn, &shown, &chunked}) seedFromPicture(*board, screen, left, top, cellSize, KEY);
    }
    awt::OneBitSurface drawnSurface(width, height, COLOUR), shownSurface(width, height, COLOUR),
        bandSurface(width, height, COLOUR), chunkedSurface(width, height, COLOUR);
    awt::DibSurface tiny(1, 1), floorSurface(width, height);  // the floor copies a 32-bit picture
    BoardPainter drawnPainter(drawnSurface, cellSize), shownPainter(shownSurface, cellSize);
    BoardPainter chunkedPainter(chunkedSurface, cellSize);
    // The rows of a megabyte of a 32-bit picture: the painter's own chunk, a megabyte of the one-bit
    // picture, is most screens whole.
    const int chunkRows = std::max(16, 1024 * 1024 / (width * 4) / 16 * 16);
    ChunkPresenter presenter(chunkedPainter, chunkedSurface, cellSize, chunkRows);
    chunkedPainter.paintAll(chunked);
    drawnPainter.paintAll(drawn);
    shownPainter.paintAll(shown);
    const testing_support::SurfaceWindow window(RECT{left, top, left + width, top + height}, WS_EX_TOPMOST,
                                                WS_POPUP | WS_VISIBLE);
    ValidateRect(window.get(), nullptr);
    {
        const HDC dc = GetDC(window.get());
        shownSurface.present(dc);
        ReleaseDC(window.get(), dc);
        drawnSurface.present(tiny.getDC());
    }
    GdiFlush();

    Piece rule{"rule, with counting the changes (lifeStep, no listener)", {}};
    Piece count{"  counting the changes alone the portable way (bits::count a word)", {}};
    Piece reports{"rule and the changed-row reports (a listener that records them)", {}};
    Piece cells{"rule, reports and writing the changed cells into the surface", {}};
    Piece bands{"  of which the dirty-band bookkeeping (markDirty, dirtyRectangles)", {}};
    Piece present{"the copies to the window (present, then GdiFlush)", {}};
    Piece dc{"the device context each tick (GetDC, ReleaseDC)", {}};
    Piece tick{"a whole tick: GetDC, step, present, ReleaseDC, GdiFlush", {}};
    Piece chunkedTick{"a whole tick presenting each chunk of rows as it is drawn", {}};
    Piece floor{"floor: one copy of a whole 32-bit picture, then GdiFlush", {}};
    std::vector<double> copies;
    long long changes = 0;
    std::vector<std::uint64_t> before;
    const int wordsPerRow = (columns + 63) / 64;
    RowRecorder recorder;
    for (int generation = 0; generation < generations; ++generation) {
        before.clear();
        for (int r = 0; r < rows; ++r) before.insert(before.end(), bare.words(r), bare.words(r) + wordsPerRow);
        rule.ms.push_back(timeMs([&] { changes += bare.lifeStep(nullptr); }));
        for (int r = 0; r < rows; ++r) {
            for (int k = 0; k < wordsPerRow; ++k) before[static_cast<std::size_t>(r) * wordsPerRow + k] ^= bare.words(r)[k];
        }
        int counted = 0;
        count.ms.push_back(timeMs([&] {
            for (const std::uint64_t changed : before) {
                if (changed != 0) counted += bits::count(changed);
            }
        }));
        recorder.reports.clear();
        recorder.reports.reserve(static_cast<std::size_t>(rows));
        reports.ms.push_back(timeMs([&] { reported.lifeStep(&recorder); }));
        cells.ms.push_back(timeMs([&] { drawn.lifeStep(&drawnPainter); }));
        drawnSurface.present(tiny.getDC());  // forgets the bands, copying next to nothing
        bands.ms.push_back(timeMs([&] {
            for (const RowRecorder::Report& report : recorder.reports) {
                bandSurface.markDirty(report.first * cellSize, report.row * cellSize, report.last * cellSize,
                                      (report.row + 1) * cellSize);
            }
            copies.push_back(static_cast<double>(bandSurface.dirtyRectangles().size()));
        }));
        bandSurface.present(tiny.getDC());

        HDC windowDC = nullptr;
        const double getMs = timeMs([&] { windowDC = GetDC(window.get()); });
        shown.lifeStep(&shownPainter);
        present.ms.push_back(timeMs([&] {
            shownSurface.present(windowDC);
            GdiFlush();
        }));
        dc.ms.push_back(getMs + timeMs([&] { ReleaseDC(window.get(), windowDC); }));
        tick.ms.push_back(dc.ms.back() + present.ms.back());  // the step is added below
        floor.ms.push_back(timeMs([&] {
            const HDC floorDC = GetDC(window.get());
            BitBlt(floorDC, 0, 0, width, height, floorSurface.getDC(), 0, 0, SRCCOPY);
            GdiFlush();
            ReleaseDC(window.get(), floorDC);
        }));
        chunkedTick.ms.push_back(timeMs([&] {
            presenter.dc = GetDC(window.get());
            presenter.chunk = 0;
            chunked.lifeStep(&presenter);
            chunkedSurface.present(presenter.dc);
            GdiFlush();
            ReleaseDC(window.get(), presenter.dc);
        }));
        if (counted < 0) std::printf(" ");  // keeps the count from being left out
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    for (std::size_t i = 0; i < tick.ms.size(); ++i) tick.ms[i] += cells.ms[i];

    const double cellCount = static_cast<double>(columns) * rows;
    std::printf("\n%dx%d, cell size %d: %dx%d cells, %.0f changes a generation, %.1f copies a tick, "
                "generations 1-%d from the busy picture\n",
                width, height, cellSize, columns, rows, static_cast<double>(changes) / generations,
                median(copies), generations);
    std::printf("  %-68s %8s %8s %10s\n", "piece", "least ms", "median", "ns a cell");
    const auto print = [&](const Piece& piece, std::vector<double> ms) {
        const double least = *std::min_element(ms.begin(), ms.end());
        std::printf("  %-68s %8.3f %8.3f %10.3f\n", piece.name, least, median(ms), least * 1e6 / cellCount);
    };
    print(rule, rule.ms);
    print(count, count.ms);
    print(reports, reports.ms);
    print(cells, cells.ms);
    print(bands, bands.ms);
    print(present, present.ms);
    print(dc, dc.ms);
    print(tick, tick.ms);
    print(chunkedTick, chunkedTick.ms);
    print(floor, floor.ms);
    std::fflush(stdout);
}

}  // namespace

void benchPieces(Backdrop& backdrop) {
    std::printf("\nA tick piece by piece (wall ms)\n");
    for (const int cellSize : {1, 2}) {
        backdrop.show(Backdrop::Picture::NOISE);  // again: the last window covered it
        piecesAt(cellSize, 40);
    }
    std::printf("(ns a cell: of the least time. Target for the rule at 1920x1080, cell size 1: at most 0.05 ns a cell)\n");
}

}  // namespace bench
