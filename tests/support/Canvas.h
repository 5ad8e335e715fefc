#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "awt/DibSurface.h"
#include "tests/support/Pump.h"
#include "tests/support/SurfaceWindow.h"

namespace testing_support {

// A memory device context drawing into a DIB section whose pixels tests read.
class Canvas : public awt::DibSurface {
public:
    template <typename Picture>
    Canvas(int width, int height, Picture picture) : awt::DibSurface(width, height) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) row(y)[x] = toPixel(picture(x, y));
    }
    Canvas(int width, int height, COLORREF fill) : Canvas(width, height, [fill](int, int) { return fill; }) {}

    COLORREF pixel(int x, int y) const {
        GdiFlush();
        return getPixel(x, y);
    }
    // Pixels that differ from other's, which has the same size.
    int differences(const Canvas& other) const {
        GdiFlush();
        int count = 0;
        for (int y = 0; y < getHeight(); ++y)
            for (int x = 0; x < getWidth(); ++x) count += ((row(y)[x] ^ other.row(y)[x]) & 0xFFFFFF) != 0;
        return count;
    }
    // All pixels as 0x00RRGGBB, row by row.
    std::vector<std::uint32_t> pixels() const {
        GdiFlush();
        std::vector<std::uint32_t> all;
        for (int y = 0; y < getHeight(); ++y) all.insert(all.end(), row(y), row(y) + getWidth());
        return all;
    }
    // What window shows from its top-left corner, as far as the canvas reaches.
    void copyFrom(HWND window) {
        const HDC source = GetDC(window);
        BitBlt(getDC(), 0, 0, getWidth(), getHeight(), source, 0, 0, SRCCOPY);
        ReleaseDC(window, source);
        GdiFlush();
    }
};

// A topmost pop-up over the primary screen that shows a known picture, so that what the screen device
// context reads is known.
class ScreenPicture {
public:
    using Picture = COLORREF (*)(int x, int y);

    explicit ScreenPicture(Picture picture)
        : picture_(picture),
          canvas_(width, height, picture),
          window_(RECT{0, 0, width, height}, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, &canvas_) {
        ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    }

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);

    // Pumps messages until the screen shows the picture at a set of probe points, or 10 s pass.
    bool waitUntilShown() const {
        return pumpUntil(
            [this] {
                const HDC screen = GetDC(nullptr);
                bool same = screen != nullptr;
                for (int i = 0; same && i <= 8; ++i) {
                    const int x = (width - 1) * i / 8, y = (height - 1) * ((i * 3) % 9) / 8;
                    same = GetPixel(screen, x, y) == picture_(x, y);
                }
                if (screen != nullptr) ReleaseDC(nullptr, screen);
                return same;
            },
            10000);
    }

private:
    Picture picture_;
    Canvas canvas_;
    SurfaceWindow window_;
};

}  // namespace testing_support
