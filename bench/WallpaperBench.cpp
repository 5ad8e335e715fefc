#include "bench/WallpaperBench.h"

#include "app/ScreenCapture.h"
#include "app/WallpaperLoader.h"
#include "bench/BenchClock.h"
#include "klib/ComPtr.h"
#include "tests/support/ImageFiles.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

namespace {

double peakPrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakPagefileUsage) / 1e6;
}

}  // namespace

void benchWallpaper() {
    const int width = 3840, height = 2160;
    std::printf("\nWallpaper: a %dx%d JPEG filled onto a 1920x1080 monitor\n", width, height);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"orlivex-bench-wallpaper.jpg";
    {
        const klib::ComApartment apartment(COINIT_APARTMENTTHREADED);
        // Smooth shapes with fine noise, as photographs have.
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        std::uint32_t noise = 1;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const std::uint32_t r = (x * 255 / width + (noise >> 28)) & 255, g = (y * 255 / height) & 255,
                                    b = ((x ^ y) >> 4) & 255;
                pixels[static_cast<std::size_t>(y) * width + x] = (r << 16) | (g << 8) | b;
            }
        }
        if (!testing_support::writeImage(path, GUID_ContainerFormatJpeg, width, height, pixels)) {
            std::printf("  could not write the JPEG\n");
            return;
        }
    }
    const double before = peakPrivateMegabytes();
    const RECT monitor{0, 0, 1920, 1080};
    const std::vector<MonitorWallpaper> wallpapers{MonitorWallpaper{monitor, path, Placement::FILL, 0}};
    std::vector<double> times;
    bool placed = true;
    for (int i = 0; i < 5; ++i) {
        const Clock::time_point start = Clock::now();
        placed = placed && loadWallpaper(monitor, {monitor}, &wallpapers, GetTickCount() + 10000) != nullptr;
        times.push_back(secondsSince(start) * 1e3);
    }
    const double after = peakPrivateMegabytes();
    std::sort(times.begin(), times.end());
    std::printf("  decoded and placed, median of 5:     %10.2f ms%s\n", times[2], placed ? "" : " (FAILED)");
    std::printf("  peak private memory growth:          %10.1f MB (the 1920x1080 picture: %.1f MB)\n",
                after - before, 1920.0 * 1080 * 4 / 1e6);
    const Clock::time_point start = Clock::now();
    { const ScreenCapture capture(0, 0, 1920, 1080); }
    std::printf("  the screen capture of the monitor:   %10.2f ms\n", secondsSince(start) * 1e3);
    DeleteFileW(path.c_str());
}

}  // namespace bench
