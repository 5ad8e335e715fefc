#include "bench/SurfaceBench.h"

#include "app/BoardPainter.h"
#include "app/CellPixels.h"
#include "app/LifeBoard.h"
#include "app/Orlivex.h"
#include "awt/DibSurface.h"
#include "awt/OneBitSurface.h"
#include "awt/Screen.h"
#include "bench/AllocationCount.h"
#include "bench/Backdrop.h"
#include "bench/BenchClock.h"
#include "bench/SaverHarness.h"
#include "screensaver/SaverWindow.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace bench {
namespace {

constexpr COLORREF COLOUR = RGB(0x60, 0x40, 0x80);

struct VirtualScreen {
    RECT rect = awt::getVirtualScreen();
    int left = rect.left;
    int top = rect.top;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
};

LRESULT CALLBACK blackWindow(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, msg, wParam, lParam);
}

// A topmost pop-up over the virtual screen that the presents go to.
class Target {
public:
    explicit Target(const VirtualScreen& screen) {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = blackWindow;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
            wc.lpszClassName = L"OrlivexBenchSurfaces";
            return RegisterClassW(&wc);
        }();
        handle = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MAKEINTATOM(atom), L"", WS_POPUP | WS_VISIBLE,
                                 screen.left, screen.top, screen.width, screen.height, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        LoopPass(awt::Toolkit::forCurrentThread()).settle(0.2);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
    ~Target() { DestroyWindow(handle); }
    HWND handle = nullptr;
};

template <typename Work>
double timeMs(Work work) {
    const Clock::time_point start = Clock::now();
    work();
    return millisecondsBetween(start, Clock::now());
}

// The whole picture presented from a one-bit and from a 32-bit surface of the same random pixels,
// one after the other, each time on a device context of its own as a tick takes it.
void presentSideBySide(const VirtualScreen& screen) {
    awt::OneBitSurface oneBit(screen.width, screen.height, COLOUR);
    awt::DibSurface full(screen.width, screen.height);
    std::mt19937 random(3);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const bool alive = random() % 100 < 30;
            if (alive) oneBit.row(y)[x / 8] = static_cast<std::uint8_t>(oneBit.row(y)[x / 8] | (0x80 >> (x % 8)));
            full.row(y)[x] = alive ? awt::DibSurface::toPixel(COLOUR) : 0;
        }
    }
    const Target target(screen);
    // Blocks of presents of one kind, in turn and in both orders: the process's CPU times move in
    // steps of the system's clock tick, too coarse for one copy.
    constexpr int BLOCK = 40;
    std::vector<double> wall[2];
    double cpu[2] = {0, 0};
    for (int round = 0; round < 6; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (turn + round) % 2;
            const double cpuBefore = processCpuMs();
            for (int i = 0; i < BLOCK; ++i) {
                wall[which].push_back(timeMs([&] {
                    const HDC dc = GetDC(target.handle);
                    if (which == 0) {
                        oneBit.markAllDirty();
                        oneBit.present(dc);
                    } else {
                        full.markAllDirty();
                        full.present(dc);
                    }
                    GdiFlush();
                    ReleaseDC(target.handle, dc);
                }));
            }
            cpu[which] += processCpuMs() - cpuBefore;
            LoopPass(awt::Toolkit::forCurrentThread()).drain();
        }
    }
    std::printf("\nA whole %dx%d screen presented, 240 times each in blocks of %d, in turn (GetDC, present,\n"
                "GdiFlush, ReleaseDC): wall time of one, the process's CPU time a copy\n", screen.width, screen.height,
                BLOCK);
    const char* const names[2] = {"one-bit surface, colour table (black, cell colour)", "32-bit surface"};
    const std::size_t bytes[2] = {static_cast<std::size_t>(oneBit.getStride()) * screen.height,
                                  static_cast<std::size_t>(screen.width) * 4 * screen.height};
    for (int which = 0; which < 2; ++which) {
        std::printf("  %-52s %6.2f MB: median %6.3f ms, least %6.3f ms; CPU %6.3f ms\n", names[which],
                    static_cast<double>(bytes[which]) / 1e6, median(wall[which]),
                    *std::min_element(wall[which].begin(), wall[which].end()),
                    cpu[which] / static_cast<double>(wall[which].size()));
    }
}

// The pixels of every word of a screen of random cells, written into one pixel row: the reversal
// by shifts and by the table at cell size 1, and the table at cell size 2; least of 15 passes.
void paintingSideBySide(const VirtualScreen& screen) {
    std::printf("\nWriting a screen of cells' pixels, every word (least of 15 passes, ns a word)\n");
    for (const int cellSize : {1, 2, 3}) {
        const int columns = (screen.width + cellSize - 1) / cellSize, rows = (screen.height + cellSize - 1) / cellSize;
        const int words = (columns + 63) / 64;
        std::vector<std::uint64_t> cells(static_cast<std::size_t>(words) * rows);
        std::mt19937_64 random(5);
        for (std::uint64_t& word : cells) word = random();
        std::vector<std::uint8_t> out(static_cast<std::size_t>(words) * 8 * cellSize + 80);
        const cellpixels::Widener widener(cellSize);
        const auto pass = [&](bool shifts) {
            double least = 1e9;
            for (int i = 0; i < 15; ++i) {
                least = std::min(least, timeMs([&] {
                    for (int r = 0; r < rows; ++r) {
                        const std::uint64_t* const row = cells.data() + static_cast<std::size_t>(r) * words;
                        for (int k = 0; k < words; ++k) {
                            if (shifts) {
                                const std::uint64_t pixels = cellpixels::reverseEachByte(row[k]);
                                std::memcpy(out.data() + k * 8, &pixels, 8);
                            } else if (cellSize == 1) {
                                // Eight look-ups of the reversed byte, gathered into one store.
                                std::uint64_t pixels = 0;
                                for (int j = 0; j < 8; ++j) {
                                    pixels |= static_cast<std::uint64_t>(*widener.of((row[k] >> (8 * j)) & 255)) << (8 * j);
                                }
                                std::memcpy(out.data() + k * 8, &pixels, 8);
                            } else {
                                widener.widen(row[k], out.data() + k * 8 * cellSize);
                            }
                        }
                    }
                }));
            }
            return least * 1e6 / (static_cast<double>(words) * rows);
        };
        if (cellSize == 1) std::printf("  cell size 1, three rounds of shifts:  %6.2f ns a word\n", pass(true));
        std::printf("  cell size %d, a table of bytes:       %6.2f ns a word (%d bytes of pixels)%s\n", cellSize,
                    pass(false), 8 * cellSize, out[3] == 1 && out[5] == 2 ? " " : "");
    }
}

// The bytes of the saver's own picture and board at a cell size over the virtual screen, as the saver
// builds them: what operator new holds for the board, and the one-bit DIB section.
void allocations(const VirtualScreen& screen) {
    std::printf("\nThe saver's picture and board over the %dx%d virtual screen (%d monitors)\n", screen.width,
                screen.height, GetSystemMetrics(SM_CMONITORS));
    for (const int cellSize : {1, 2}) {
        Orlivex life;
        life.setCellSize(cellSize);
        life.setArea(screen.width, screen.height);
        life.setSeedOrigin(screen.left, screen.top);
        life.setShownAreas(awt::getMonitorRectangles());
        const std::size_t before = allocatedBytes();
        life.createBoard();
        const double board = static_cast<double>(allocatedBytes() - before) / 1e6;
        const double picture = static_cast<double>((screen.width + 31) / 32 * 4) * screen.height / 1e6;
        std::printf("  cell size %d: board %.2f MB (operator new), picture %.2f MB (one-bit DIB section), "
                    "together %.2f MB\n", cellSize, board, picture, board + picture);
    }
}

// The fields of a process status in /proc that the memory figures read, in kB; -1 when unreadable.
struct Resident {
    long long peak = -1;       // VmHWM
    long long now = -1;        // VmRSS
    long long anonymous = -1;  // RssAnon
};

// The whole of a file, or nothing when it cannot be read.
std::string readWhole(const std::wstring& path) {
    std::string text;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// The /proc folder of the bench's own Unix process, through drive Z: (the Unix root under Wine).
// Wine's server opens files on behalf of its programs, so /proc/self would be the server's: the
// process is found by its name and command line instead. Empty when none or more than one matches.
std::wstring ownProcFolder() {
    std::wstring own;
    int matches = 0;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return own;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        const std::wstring folder = L"Z:\\proc\\" + name;
        // Wine names the process after its program; the scripts that started it hold the same words.
        if (readWhole(folder + L"\\comm").rfind("orlivex_bench", 0) != 0) continue;
        if (readWhole(folder + L"\\cmdline").find("memory") != std::string::npos) {
            own = folder;
            ++matches;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return matches == 1 ? own : std::wstring();
}

Resident readResident(const std::wstring& folder) {
    Resident resident;
    const std::string text = readWhole(folder + L"\\status");
    const auto field = [&](const char* name) {
        const std::size_t at = text.find(name);
        return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + std::strlen(name));
    };
    resident.peak = field("VmHWM:");
    resident.now = field("VmRSS:");
    resident.anonymous = field("RssAnon:");
    return resident;
}

}  // namespace

void benchSurfaces(Backdrop& backdrop) {
    const VirtualScreen screen;
    backdrop.show(Backdrop::Picture::NOISE);
    presentSideBySide(screen);
    paintingSideBySide(screen);
    allocations(screen);
    std::fflush(stdout);
}

int runMemory(Backdrop& backdrop, int cellSize) {
    backdrop.show(Backdrop::Picture::NOISE);
    const std::wstring folder = ownProcFolder();
    const Resident start = readResident(folder);
    if (start.peak < 0) {
        std::printf("memory: the status of the bench's own process in /proc cannot be read\n");
        return 1;
    }
    Resident painted, ticked;
    {
        Orlivex renderer;
        renderer.setCellSize(cellSize);
        screensaver::SaverWindow window;
        window.setRenderer(&renderer);
        window.setVisible(true);
        LoopPass loop(window.getToolkit());
        loop.watch(window.getHandle());
        loop.until([&] { return isPainted(window.getHandle()); }, "the first paint");
        painted = readResident(folder);
        loop.settle(1.0);
        ticked = readResident(folder);
        endSaving(window, loop);
    }
    const VirtualScreen screen;
    std::printf("\nResident memory of the bench process (kB, %ls\\status), saver over %dx%d at cell size %d\n",
                folder.c_str(), screen.width, screen.height, cellSize);
    std::printf("  %-30s %10s %10s %10s\n", "", "VmHWM", "VmRSS", "RssAnon");
    const auto print = [](const char* name, const Resident& r) {
        std::printf("  %-30s %10lld %10lld %10lld\n", name, r.peak, r.now, r.anonymous);
    };
    print("before the saver", start);
    print("at its first paint", painted);
    print("after a second of ticks", ticked);
    std::printf("  the saver's peak above the start: %lld kB; resident after the ticks above the start: %lld kB\n",
                painted.peak - start.peak, ticked.now - start.now);
    return 0;
}

}  // namespace bench
