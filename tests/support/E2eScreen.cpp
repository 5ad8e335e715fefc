#include "tests/support/E2eScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "awt/GdiObject.h"
#include "awt/Dpi.h"
#include "awt/Screen.h"
#include "tests/support/E2eProcess.h"

namespace e2e {

namespace {

// This program measures other processes' windows in physical pixels, as the saver works, also on a
// scaled display: per-monitor aware (version 2 where the system has it), so the system neither
// scales nor virtualises what it reports.
bool becomePerMonitorAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = awt::user32Function<SetContext>("SetProcessDpiAwarenessContext");
    const auto context = [](INT_PTR value) { return reinterpret_cast<HANDLE>(value); };
    if (set != nullptr && (set(context(-4)) || set(context(-3)))) return true;
    return SetProcessDPIAware();
}
[[maybe_unused]] const bool dpiAware = becomePerMonitorAware();

}  // namespace

RECT screenRect() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Capture captureScreen(const RECT& area) {
    Capture capture{area.right - area.left, area.bottom - area.top, {}};
    const awt::DibSurface copy(capture.width, capture.height);
    HDC screen = GetDC(nullptr);
    const bool ok = BitBlt(copy.getDC(), 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    if (!ok) fail("screen capture");
    GdiFlush();
    for (int row = 0; row < capture.height; ++row)
        for (int column = 0; column < capture.width; ++column)
            capture.pixels.push_back(copy.row(row)[column] & 0xFFFFFF);
    return capture;
}

int livePixels(const RECT& area, COLORREF colour) {
    int live = 0;
    for (const std::uint32_t p : captureScreen(area).pixels) {
        if (p != 0 && p != rgbOf(colour)) return -1;
        live += p != 0;
    }
    return live;
}

int screenDpi() {
    const awt::WindowDC screen(GetDC(nullptr));
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

void expectRequestedDisplay() {
    if (const char* count = std::getenv("ORLIVEX_E2E_MONITORS")) {
        const std::vector<RECT> screens = awt::getMonitorRectangles();
        ASSERT_EQ(screens.size(), std::stoul(count));
        // Found by position: systems list monitors in different orders.
        ASSERT_TRUE(std::any_of(screens.begin(), screens.end(), [](const RECT& r) { return r.left < 0; }))
            << "no monitor left of the primary";
    }
    if (const char* dpi = std::getenv("ORLIVEX_E2E_DPI")) {
        ASSERT_EQ(screenDpi(), std::atoi(dpi));
    }
}

GreyRamp::GreyRamp(const RECT& area)
    : picture_(area.right - area.left, area.bottom - area.top,
               [width = area.right - area.left](int x, int) { return RGB(1, 1, 1) * greyAt(x, width); }),
      window_(area, WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, &picture_) {
    // Wait until the picture really is on the screen.
    const bool shown = pumpUntil(
        [&] {
            const Capture c = captureScreen(RECT{area.left, area.top + 10, area.right, area.top + 11});
            return c.at(0, 0) == 0 && c.at(c.width - 1, 0) == 0xFFFFFF;
        },
        PROMPTLY_MS);
    if (!shown) throw std::runtime_error("the grey ramp did not reach the screen");
}

}  // namespace e2e
