#include "bench/Floor.h"

#include "awt/Component.h"
#include "awt/GdiObject.h"
#include "awt/Screen.h"
#include "awt/WindowProcedure.h"
#include "bench/BenchClock.h"

#include <random>
#include <stdexcept>

namespace bench {

void fillWithNoise(awt::DibSurface& surface) {
    std::mt19937 random(11);
    for (int y = 0; y < surface.getHeight(); ++y) {
        std::uint32_t* const row = surface.row(y);
        for (int x = 0; x < surface.getWidth(); ++x) row[x] = (random() & 255) * 0x010101u;
    }
}

void FloorRenderer::start(awt::Component* target, HWND) {
    surface = std::make_unique<awt::DibSurface>(target->getWidth(), target->getHeight());
    fillWithNoise(*surface);
    target->setTimer(static_cast<UINT>(interval), this);
}

void FloorRenderer::paint(awt::Component*, HDC dc) {
    surface->markAllDirty();
    surface->present(dc);
}

void FloorRenderer::stop(awt::Component* target) {
    target->killTimer(this);
    surface.reset();
}

void FloorRenderer::actionPerformed(awt::ActionEvent& event) {
    // The device context as the saver's tick takes it.
    const HWND window = static_cast<awt::WindowProcedure*>(event.source)->getHandle();
    const awt::WindowDC dc(GetDC(window), window);
    surface->markAllDirty();
    surface->present(dc.get());
}

namespace {

struct BareFloor {
    awt::DibSurface* surface;
    HDC dc;  // the window's, kept for its life
};

LRESULT CALLBACK bareProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    const auto* floor = reinterpret_cast<const BareFloor*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (msg) {
    case WM_TIMER:
        if (floor != nullptr) {
            BitBlt(floor->dc, 0, 0, floor->surface->getWidth(), floor->surface->getHeight(),
                   floor->surface->getDC(), 0, 0, SRCCOPY);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(window, &ps);
        if (floor != nullptr) floor->surface->copyTo(dc, ps.rcPaint);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

}  // namespace

int runBareFloor(double seconds, int interval) {
    const Clock::time_point start = Clock::now();
    const RECT screen = awt::getVirtualScreen();
    const int left = screen.left, top = screen.top, width = screen.right - left, height = screen.bottom - top;
    awt::DibSurface surface(width, height);
    fillWithNoise(surface);
    WNDCLASSW wc{};
    wc.lpfnWndProc = bareProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrlivexFloor";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"floor", WS_POPUP, left, top, width,
                                        height, nullptr, nullptr, wc.hInstance, nullptr);
    if (window == nullptr) {
        throw std::runtime_error("::CreateWindowEx() failed");
    }
    BareFloor floor{&surface, GetDC(window)};
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&floor));
    ShowWindow(window, SW_SHOW);
    SetTimer(window, 1, static_cast<UINT>(interval), nullptr);
    MSG msg;
    while (secondsSince(start) < seconds) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    KillTimer(window, 1);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ReleaseDC(window, floor.dc);
    DestroyWindow(window);
    return 0;
}

}  // namespace bench
