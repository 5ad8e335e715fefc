#include "bench/Backdrop.h"

#include "bench/BenchClock.h"

#include <random>
#include <stdexcept>

namespace bench {

Backdrop::Backdrop(int left, int top, int width, int height) : width(width), height(height), image(width, height) {

    static const ATOM windowClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrlivexBenchBackdrop";
        return RegisterClassW(&wc);
    }();
    window = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, MAKEINTATOM(windowClass), L"backdrop", WS_POPUP,
                             left, top, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        throw std::runtime_error("::CreateWindowEx() failed");
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(window, SW_SHOWNOACTIVATE);
}

Backdrop::~Backdrop() {
    DestroyWindow(window);
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
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
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

LRESULT CALLBACK Backdrop::procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(window, &ps);
        if (const auto* self = reinterpret_cast<const Backdrop*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            self->image.copyTo(dc, ps.rcPaint);
        }
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

}  // namespace bench
