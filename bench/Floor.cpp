#include "bench/Floor.h"

#include "awt/Component.h"
#include "awt/GdiObject.h"
#include "awt/Screen.h"
#include "awt/WindowProcedure.h"
#include "bench/BenchClock.h"
#include "tests/support/SurfaceWindow.h"

#include <random>

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

int runBareFloor(double seconds, int interval) {
    const Clock::time_point start = Clock::now();
    const RECT screen = awt::getVirtualScreen();
    const int left = screen.left, top = screen.top, width = screen.right - left, height = screen.bottom - top;
    awt::DibSurface surface(width, height);
    fillWithNoise(surface);
    const testing_support::SurfaceWindow window(RECT{left, top, left + width, top + height}, WS_EX_TOPMOST,
                                                WS_POPUP, &surface);
    const HDC dc = GetDC(window.get());  // kept for the window's life
    ShowWindow(window.get(), SW_SHOW);
    SetTimer(window.get(), 1, static_cast<UINT>(interval), nullptr);
    MSG msg;
    while (secondsSince(start) < seconds) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // A tick copies the whole surface, and nothing else happens.
            if (msg.message == WM_TIMER && msg.hwnd == window.get()) {
                BitBlt(dc, 0, 0, width, height, surface.getDC(), 0, 0, SRCCOPY);
            } else {
                DispatchMessageW(&msg);
            }
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    KillTimer(window.get(), 1);
    ReleaseDC(window.get(), dc);
    return 0;
}

}  // namespace bench
