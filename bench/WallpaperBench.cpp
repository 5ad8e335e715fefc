#include "bench/WallpaperBench.h"

#include "app/ScreenCapture.h"
#include "app/Seeding.h"
#include "app/WallpaperLoader.h"
#include "bench/BenchClock.h"
#include "klib/ComPtr.h"
#include "klib/KernelHandle.h"
#include "tests/support/ImageFiles.h"

#include <windows.h>
#include <psapi.h>
#include <wincodec.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr int JPEG_WIDTH = 3840, JPEG_HEIGHT = 2160, MONITOR_WIDTH = 1920, MONITOR_HEIGHT = 1080;
constexpr RECT MONITOR{0, 0, MONITOR_WIDTH, MONITOR_HEIGHT};

double megabytes(double bytes) { return bytes / 1e6; }

// The process's CPU time so far, user and kernel, in ms.
double cpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

// Wall and CPU time of step, median of 5, in ms.
struct Timing {
    double wall, cpu;
};
Timing timed(const std::function<void()>& step, const std::function<void()>& prepare = [] {}) {
    std::vector<double> walls, cpus;
    for (int i = 0; i < 5; ++i) {
        prepare();
        const double cpu = cpuMilliseconds();
        const Clock::time_point start = Clock::now();
        step();
        walls.push_back(secondsSince(start) * 1e3);
        cpus.push_back(cpuMilliseconds() - cpu);
    }
    return Timing{median(walls), median(cpus)};
}

void printTiming(const char* what, const Timing& timing) {
    std::printf("  %-52s %8.1f ms (CPU %6.1f ms)\n", what, timing.wall, timing.cpu);
}

// Smooth shapes with fine noise, as photographs have.
std::vector<std::uint32_t> landscape(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::uint32_t noise = 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const std::uint32_t r = (x * 255 / width + (noise >> 28)) & 255, g = (y * 255 / height) & 255,
                                b = ((x ^ y) >> 4) & 255;
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                (r << 16) | (g << 8) | b;
        }
    }
    return pixels;
}

// The stages of one decode on this thread, as the worker runs them: the decoder and its frame, the
// first copy out of the frame, the format converter over the rows the cells read, and for comparison
// the scaler and converter over the whole monitor that placed the picture before.
void benchStages(const std::wstring& path) {
    const klib::ComApartment apartment(COINIT_APARTMENTTHREADED);
    klib::ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid()))) {
        std::printf("  no imaging factory\n");
        return;
    }
    klib::ComPtr<IWICBitmapDecoder> decoder;
    klib::ComPtr<IWICBitmapFrameDecode> frame;
    const auto open = [&] {
        decoder.reset();
        frame.reset();
        const klib::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (FAILED(factory->CreateDecoderFromFileHandle(reinterpret_cast<ULONG_PTR>(file.get()), nullptr,
                                                        WICDecodeMetadataCacheOnDemand, decoder.put())) ||
            FAILED(decoder->GetFrame(0, frame.put()))) {
            std::printf("  (decoding failed)\n");
        }
    };
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(MONITOR_WIDTH) * MONITOR_HEIGHT);
    std::vector<std::uint32_t> line(JPEG_WIDTH);
    const Timing opened = timed(open);
    const Timing firstCopy = timed([&] {
        klib::ComPtr<IWICFormatConverter> converter;
        const WICRect row{0, JPEG_HEIGHT - 1, JPEG_WIDTH, 1};
        if (FAILED(factory->CreateFormatConverter(converter.put())) ||
            FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                         0.0, WICBitmapPaletteTypeCustom)) ||
            FAILED(converter->CopyPixels(&row, JPEG_WIDTH * 4, JPEG_WIDTH * 4, reinterpret_cast<BYTE*>(line.data())))) {
            std::printf("  (the first copy failed)\n");
        }
    }, open);
    open();
    klib::ComPtr<IWICFormatConverter> rows;
    factory->CreateFormatConverter(rows.put());
    rows->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                     WICBitmapPaletteTypeCustom);
    const Timing sampled = timed([&] {
        for (int y = 0; y < MONITOR_HEIGHT; ++y) {
            const WICRect row{0, y * 2, JPEG_WIDTH, 1};
            rows->CopyPixels(&row, JPEG_WIDTH * 4, JPEG_WIDTH * 4, reinterpret_cast<BYTE*>(line.data()));
            for (int x = 0; x < MONITOR_WIDTH; ++x) pixels[static_cast<std::size_t>(y) * MONITOR_WIDTH + x] = line[x * 2] & 0xFFFFFF;
        }
    });
    const Timing scaled = timed([&] {
        klib::ComPtr<IWICBitmapScaler> scaler;
        klib::ComPtr<IWICFormatConverter> converter;
        factory->CreateBitmapScaler(scaler.put());
        factory->CreateFormatConverter(converter.put());
        scaler->Initialize(frame.get(), MONITOR_WIDTH, MONITOR_HEIGHT, WICBitmapInterpolationModeFant);
        converter->Initialize(scaler.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                              WICBitmapPaletteTypeCustom);
        converter->CopyPixels(nullptr, MONITOR_WIDTH * 4, static_cast<UINT>(pixels.size() * 4),
                              reinterpret_cast<BYTE*>(pixels.data()));
    });
    const Timing touched = timed([] {
        // What the decoder's frame costs in memory alone: fresh pages, touched once.
        const std::size_t size = static_cast<std::size_t>(JPEG_WIDTH) * JPEG_HEIGHT * 3;
        void* const pages = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (pages != nullptr) {
            std::memset(pages, 1, size);
            VirtualFree(pages, 0, MEM_RELEASE);
        }
    });
    printTiming("decoder and frame (Wine decodes the whole frame here)", opened);
    printTiming("  of it at most: touching 24.9 MB of fresh memory once", touched);
    printTiming("first converted row copied", firstCopy);
    printTiming("converter over the 1080 rows the cells read, sampled", sampled);
    printTiming("before: scaler and converter over the whole monitor", scaled);
}

// The working set now and at its peak, in bytes: under Wine Linux's resident memory (VmRSS, VmHWM).
struct Resident {
    double now, peak;
};
Resident resident() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return Resident{static_cast<double>(counters.WorkingSetSize), static_cast<double>(counters.PeakWorkingSetSize)};
}

// What seedBoard does with the wallpaper, without its budget: a busy machine may take longer.
bool seed(LifeBoard& board, const std::wstring& path, int cellSize) {
    const std::vector<MonitorWallpaper> wallpapers{MonitorWallpaper{MONITOR, path, Placement::FILL, 0}};
    const std::unique_ptr<PlacedPicture> picture =
        loadWallpaper(MONITOR, {MONITOR}, &wallpapers, GetTickCount() + 10000, cellSize);
    if (picture == nullptr ||
        !showsSeveralColours(*picture, 0, 0, cellSize, board.getColumns(), board.getRows())) {
        return false;
    }
    seedFromPicture(board, *picture, 0, 0, cellSize, 0x80);
    return true;
}

// Starts this program again for the seeding's memory at cellSize, sharing its output.
void seedInFreshProcess(const std::wstring& path, const std::wstring& warmUp, int cellSize) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" wallpaper-seed \"" + path + L"\" \"" + warmUp + L"\" " +
                           std::to_wstring(cellSize);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::fflush(stdout);
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("  could not start the seeding process (error %lu)\n", GetLastError());
        return;
    }
    const klib::KernelHandle thread(process.hThread), child(process.hProcess);
    WaitForSingleObject(child.get(), 60000);
}

}  // namespace

int runWallpaperSeed(const wchar_t* path, const wchar_t* warmUp, int cellSize) {
    const klib::ComApartment apartment(COINIT_APARTMENTTHREADED);
    LifeBoard board((MONITOR_WIDTH + cellSize - 1) / cellSize, (MONITOR_HEIGHT + cellSize - 1) / cellSize);
    seed(board, warmUp, cellSize);  // COM, the imaging component and the decoder loaded, as the saver has them
    // A fresh process has not yet been above what it holds now, so its peak from here on is the seeding's.
    const Resident before = resident();
    const bool seeded = seed(board, path, cellSize);
    const Resident after = resident();
    std::printf("  cell size %d: peak working set %5.1f MB above the %.1f MB before (peak before: %.1f MB)%s\n",
                cellSize, megabytes(after.peak - before.now), megabytes(before.now), megabytes(before.peak),
                seeded ? "" : " (FAILED: not seeded from the wallpaper)");
    std::fflush(stdout);
    return seeded ? 0 : 1;
}

void benchWallpaper() {
    std::printf("\nWallpaper: a %dx%d JPEG filled onto a %dx%d monitor, median of 5\n", JPEG_WIDTH, JPEG_HEIGHT,
                MONITOR_WIDTH, MONITOR_HEIGHT);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"orlivex-bench-wallpaper.jpg";
    const std::wstring small = std::wstring(folder) + L"orlivex-bench-wallpaper-small.jpg";
    {
        const klib::ComApartment apartment(COINIT_APARTMENTTHREADED);
        const Clock::time_point start = Clock::now();
        if (!testing_support::writeImage(path, GUID_ContainerFormatJpeg, JPEG_WIDTH, JPEG_HEIGHT,
                                         landscape(JPEG_WIDTH, JPEG_HEIGHT)) ||
            !testing_support::writeImage(small, GUID_ContainerFormatJpeg, 64, 36, landscape(64, 36))) {
            std::printf("  could not write the JPEG\n");
            return;
        }
        std::printf("  %-52s %8.1f ms\n", "writing the JPEG (the bench's own, not timed below)", secondsSince(start) * 1e3);
    }
    benchStages(path);
    const std::vector<MonitorWallpaper> wallpapers{MonitorWallpaper{MONITOR, path, Placement::FILL, 0}};
    for (const int cellSize : {1, 2}) {
        bool placed = true;
        const Timing whole = timed([&] {
            placed = loadWallpaper(MONITOR, {MONITOR}, &wallpapers, GetTickCount() + 10000, cellSize) != nullptr && placed;
        });
        const std::string what = "decoded and placed on the worker, cell size " + std::to_string(cellSize) +
                                 (placed ? "" : " (FAILED)");
        printTiming(what.c_str(), whole);
    }
    const std::vector<MonitorWallpaper> tiny{MonitorWallpaper{MONITOR, small, Placement::FILL, 0}};
    printTiming("a 64x36 JPEG instead: the worker and the picture", timed([&] {
                    loadWallpaper(MONITOR, {MONITOR}, &tiny, GetTickCount() + 10000, 1);
                }));
    const Clock::time_point start = Clock::now();
    { const ScreenCapture capture(0, 0, MONITOR_WIDTH, MONITOR_HEIGHT); }
    std::printf("  %-52s %8.1f ms\n", "the screen capture of the monitor", secondsSince(start) * 1e3);

    std::printf("  Peak memory while seeding a %dx%d board from it, each in a fresh process; the capture of the\n"
                "  monitor at 32 bits takes %.1f MB, the scaled decode at 32 bits %.1f MB, the full frame at 24 bits %.1f MB\n",
                MONITOR_WIDTH, MONITOR_HEIGHT, megabytes(MONITOR_WIDTH * MONITOR_HEIGHT * 4.0),
                megabytes(MONITOR_WIDTH * MONITOR_HEIGHT * 4.0), megabytes(JPEG_WIDTH * JPEG_HEIGHT * 3.0));
    for (const int cellSize : {1, 2}) seedInFreshProcess(path, small, cellSize);
    DeleteFileW(path.c_str());
    DeleteFileW(small.c_str());
}

}  // namespace bench
