#include "bench/Backdrop.h"

#include "bench/BenchClock.h"

#include <random>

namespace bench {

Backdrop::Backdrop(int left, int top, int width, int height)
    : width(width),
      height(height),
      image(width, height),
      window(RECT{left, top, left + width, top + height}, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WS_POPUP, &image) {
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
}

void Backdrop::show(Picture shown) {
    picture = shown;
    std::mt19937 random(11);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* const row = image.row(y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t grey = picture == Picture::NOISE ? random() & 255 : x * 256u / width;
            row[x] = grey * 0x010101u;
        }
    }
    window.show(&image);
    GdiFlush();
    // Wine hands window pixels to the X server from its message loop, so pump a little before the
    // screen is read back.
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < 0.2) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

const char* Backdrop::nameOf(Picture picture) noexcept {
    return picture == Picture::NOISE ? "noise" : "gradient";
}

}  // namespace bench
