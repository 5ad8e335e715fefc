#include "awt/Screen.h"

#include "awt/AWTException.h"

namespace awt {

RECT getVirtualScreen() noexcept {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void mapWindowPoints(HWND from, HWND to, POINT* points, int count) {
    SetLastError(0);
    if (MapWindowPoints(from, to, points, static_cast<UINT>(count)) == 0) {
        const DWORD error = GetLastError();
        if (error != 0) {
            throwFailure(L"::MapWindowPoints", error);
        }
    }
}

RECT getWorkArea(HWND window) {
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    check(GetMonitorInfoW(monitor, &info), L"::GetMonitorInfo");
    return info.rcWork;
}

std::vector<RECT> getMonitorRectangles() {
    std::vector<RECT> found;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM list) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (GetMonitorInfoW(monitor, &info)) {
                auto& rectangles = *reinterpret_cast<std::vector<RECT>*>(list);
                const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
                rectangles.insert(primary ? rectangles.begin() : rectangles.end(), info.rcMonitor);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool isFullWindowDrag() noexcept {
    BOOL value = FALSE;
    return SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &value, 0) && value != FALSE;
}

}  // namespace awt
