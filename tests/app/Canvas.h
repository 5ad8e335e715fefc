#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <numeric>

namespace testing_support {

inline std::uint32_t toBgr(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// A 32-bit top-down DIB section of width x height filled with the colour of picture at each pixel.
template <typename Picture>
HBITMAP createPicture(int width, int height, std::uint32_t*& bits, Picture picture) {
    const BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    const HBITMAP bitmap =
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    for (int i = 0; i < width * height; ++i) bits[i] = toBgr(picture(i % width, i / width));
    return bitmap;
}

// A memory device context drawing into a DIB section whose pixels tests read.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill)
        : count_(static_cast<std::size_t>(width) * height), width_(width),
          bitmap_(createPicture(width, height, bits_, [fill](int, int) { return fill; })),
          dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap_)) {}
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    HDC dc() const { return dc_; }
    COLORREF pixel(int x, int y) const {
        GdiFlush();
        const std::uint32_t bgr = bits_[static_cast<std::size_t>(y) * width_ + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    // Pixels that differ from other's, which has the same size.
    int differences(const Canvas& other) const {
        GdiFlush();
        return std::inner_product(bits_, bits_ + count_, other.bits_, 0, std::plus<>(),
                                  [](std::uint32_t a, std::uint32_t b) { return ((a ^ b) & 0xFFFFFF) != 0; });
    }

private:
    std::size_t count_;
    int width_;
    std::uint32_t* bits_ = nullptr;
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ old_;
};

// A topmost pop-up over the whole screen that shows a known picture, so that what the screen device
// context reads is known.
class ScreenPicture {
public:
    using Picture = COLORREF (*)(int x, int y);

    explicit ScreenPicture(Picture picture)
        : picture_(picture), bitmap_(createPicture(width, height, bits_, picture)) {
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | SS_BITMAP, 0, 0, width,
                                  height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(window_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_));
        ShowWindow(window_, SW_SHOWNOACTIVATE);
    }
    ScreenPicture(const ScreenPicture&) = delete;
    ScreenPicture& operator=(const ScreenPicture&) = delete;
    ~ScreenPicture() {
        DestroyWindow(window_);  // a static control does not delete the bitmap it shows
        DeleteObject(bitmap_);
    }

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);

    // Pumps messages until the screen shows the picture at a set of probe points, or 10 s pass.
    bool waitUntilShown() const {
        for (const DWORD deadline = GetTickCount() + 10000; static_cast<LONG>(GetTickCount() - deadline) < 0;) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            const HDC screen = GetDC(nullptr);
            bool same = screen != nullptr;
            for (int i = 0; same && i <= 8; ++i) {
                const int x = (width - 1) * i / 8, y = (height - 1) * ((i * 3) % 9) / 8;
                same = GetPixel(screen, x, y) == picture_(x, y);
            }
            if (screen != nullptr) ReleaseDC(nullptr, screen);
            if (same) return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return false;
    }

private:
    Picture picture_;
    std::uint32_t* bits_ = nullptr;
    HBITMAP bitmap_;
    HWND window_ = nullptr;
};

}  // namespace testing_support
