#pragma once

#include <windows.h>

#include <stdexcept>

#include "awt/DibSurface.h"

namespace testing_support {

// Registers a window class of this program; call it once per name, as in
//     static const ATOM atom = registerWindowClass(L"test.Name", procedure);
// Throws std::runtime_error "::RegisterClass() failed".
inline ATOM registerWindowClass(const wchar_t* name, WNDPROC procedure = DefWindowProcW) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    const ATOM atom = RegisterClassW(&windowClass);
    if (atom == 0) throw std::runtime_error("::RegisterClass() failed");
    return atom;
}

// A pop-up window that shows a picture someone else owns: it paints the surface it is given (black
// while it has none), never erases its background and does not activate when clicked. Destroyed with
// the holder.
class SurfaceWindow {
public:
    // Throws std::runtime_error "::CreateWindowEx() failed".
    SurfaceWindow(const RECT& area, DWORD exStyle, DWORD style = WS_POPUP, const awt::DibSurface* surface = nullptr) {
        static const ATOM atom = registerWindowClass(L"test.SurfaceWindow", procedure);
        window_ = CreateWindowExW(exStyle, MAKEINTATOM(atom), L"", style, area.left, area.top, area.right - area.left,
                                  area.bottom - area.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (window_ == nullptr) throw std::runtime_error("::CreateWindowEx() failed");
        show(surface);
    }
    SurfaceWindow(const SurfaceWindow&) = delete;
    SurfaceWindow& operator=(const SurfaceWindow&) = delete;
    ~SurfaceWindow() { DestroyWindow(window_); }

    HWND get() const noexcept { return window_; }
    // Shows surface (not owned; null: black) from the next paint on, and repaints at once.
    void show(const awt::DibSurface* surface) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(surface));
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
    }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(window, &ps);
            if (const auto* surface = reinterpret_cast<const awt::DibSurface*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
                surface->copyTo(dc, ps.rcPaint);
            } else {
                FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
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

    HWND window_ = nullptr;
};

}  // namespace testing_support
