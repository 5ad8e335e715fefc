#include "awt/TextMetrics.h"

#include <exception>

#include "awt/AWTException.h"
#include "awt/GdiObject.h"
#include "klib/Exception.h"

namespace awt {

namespace {

// The default gap pair; -1 until measured, never measured again afterwards.
int cachedCharWidth = -1;
int cachedHalfCharHeight = -1;
int measurements = 0;

}  // namespace

HGDIOBJ selectObject(HDC dc, HGDIOBJ object) {
    SetLastError(0);
    const HGDIOBJ previous = SelectObject(dc, object);
    if (previous == nullptr && GetLastError() != 0) {
        throwLastError(L"::SelectObject");
    }
    return previous;
}

void getDefaultFontUnits(int& charWidth, int& halfCharHeight) {
    if (cachedCharWidth == -1) {
        const CreatedDC dc(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
        if (dc.get() == nullptr) {
            throwLastError(L"::CreateDC", L"DISPLAY");
        }
        const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
        if (font == nullptr) {
            throwLastError(L"::GetStockObject", L"DEFAULT_GUI_FONT");
        }
        TEXTMETRICW metrics{};
        {
            const Selection selection = select(dc.get(), font);
            if (!GetTextMetricsW(dc.get(), &metrics)) {
                throwLastError(L"::GetTextMetrics", L"DEFAULT_GUI_FONT");
            }
        }
        ++measurements;
        cachedHalfCharHeight = metrics.tmHeight / 2;
        cachedCharWidth = metrics.tmAveCharWidth;
    }
    charWidth = cachedCharWidth;
    halfCharHeight = cachedHalfCharHeight;
}

int getDefaultFontUnitsMeasurements() noexcept {
    return measurements;
}

void getTextMetrics(HDC dc, TEXTMETRICW* out) {
    check(GetTextMetricsW(dc, out), L"::GetTextMetrics");
}

void getTextExtent(HDC dc, const wchar_t* text, int count, SIZE* out) {
    check(GetTextExtentPoint32W(dc, text, count, out), L"::GetTextExtentPoint32");
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
