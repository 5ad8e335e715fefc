#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace testing_support {

// A topmost pop-up window over the whole screen that shows a known picture, so that what the
// screen device context reads is known.
class ScreenPicture {
public:
    using Picture = std::function<COLORREF(int x, int y)>;

    explicit ScreenPicture(const Picture& picture)
        : picture_(picture), width_(GetSystemMetrics(SM_CXSCREEN)), height_(GetSystemMetrics(SM_CYSCREEN)) {
        pixels_.resize(static_cast<size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const COLORREF c = picture(x, y);
                pixels_[static_cast<size_t>(y) * width_ + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        }
        static const ATOM windowClass = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &ScreenPicture::windowProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"OrlivexTest.ScreenPicture";
            return RegisterClassW(&wc);
        }();
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MAKEINTATOM(windowClass), L"", WS_POPUP, 0, 0,
                                  width_, height_, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
    ScreenPicture(const ScreenPicture&) = delete;
    ScreenPicture& operator=(const ScreenPicture&) = delete;
    ~ScreenPicture() {
        DestroyWindow(window_);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

    int width() const { return width_; }
    int height() const { return height_; }

    // Pumps messages until the screen shows the picture at a set of probe points, or 10 s pass.
    bool waitUntilShown() const {
        const DWORD deadline = GetTickCount() + 10000;
        for (;;) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            if (shown()) return true;
            if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

private:
    bool shown() const {
        const HDC screen = GetDC(nullptr);
        bool same = screen != nullptr;
        for (int i = 0; same && i <= 8; ++i) {
            const int x = (width_ - 1) * i / 8;
            const int y = (height_ - 1) * ((i * 3) % 9) / 8;
            same = GetPixel(screen, x, y) == picture_(x, y);
        }
        if (screen != nullptr) ReleaseDC(nullptr, screen);
        return same;
    }

    static LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ScreenPicture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (msg == WM_ERASEBKGND) return 1;
        if (msg == WM_PAINT && self != nullptr) {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(window, &ps);
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = self->width_;
            info.bmiHeader.biHeight = -self->height_;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            SetDIBitsToDevice(dc, 0, 0, self->width_, self->height_, 0, 0, 0, self->height_, self->pixels_.data(),
                              &info, DIB_RGB_COLORS);
            EndPaint(window, &ps);
            return 0;
        }
        return DefWindowProcW(window, msg, wParam, lParam);
    }

    Picture picture_;
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
    HWND window_ = nullptr;
};

}  // namespace testing_support
