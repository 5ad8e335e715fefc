#include "awt/TextMetrics.h"

#include <exception>

#include "awt/AWTException.h"
#include "klib/Exception.h"

namespace awt {

namespace {

// The default gap pair; -1 until measured, never measured again afterwards.
int cachedCharWidth = -1;
int cachedHalfCharHeight = -1;
int measurements = 0;

[[noreturn]] void throwLastError(const wchar_t* message) {
    const DWORD error = GetLastError();
    throw AWTException(message, static_cast<int>(error));
}

// A display device context created for one measurement; deleted on every path.
class DisplayDC {
public:
    DisplayDC() : dc_(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {
        if (dc_ == nullptr) {
            throwLastError(L"::CreateDC(DISPLAY) failed");
        }
    }
    DisplayDC(const DisplayDC&) = delete;
    DisplayDC& operator=(const DisplayDC&) = delete;
    ~DisplayDC() { DeleteDC(dc_); }

    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back when it goes out of scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(selectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() noexcept(false) {
        if (std::uncaught_exceptions() > 0) {
            SelectObject(dc_, previous_);
        } else {
            selectObject(dc_, previous_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace

HGDIOBJ selectObject(HDC dc, HGDIOBJ object) {
    SetLastError(0);
    const HGDIOBJ previous = SelectObject(dc, object);
    if (previous == nullptr && GetLastError() != 0) {
        throwLastError(L"::SelectObject() failed");
    }
    return previous;
}

void getDefaultFontUnits(int& charWidth, int& halfCharHeight) {
    if (cachedCharWidth == -1) {
        const DisplayDC dc;
        const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
        if (font == nullptr) {
            throwLastError(L"::GetStockObject(DEFAULT_GUI_FONT) failed");
        }
        TEXTMETRICW metrics{};
        {
            const Selection selection(dc.get(), font);
            if (!GetTextMetricsW(dc.get(), &metrics)) {
                throwLastError(L"::GetTextMetrics(DEFAULT_GUI_FONT) failed");
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
    if (!GetTextMetricsW(dc, out)) {
        throwLastError(L"::GetTextMetrics() failed");
    }
}

void getTextExtent(HDC dc, const wchar_t* text, int count, SIZE* out) {
    if (!GetTextExtentPoint32W(dc, text, count, out)) {
        throwLastError(L"::GetTextExtentPoint32() failed");
    }
}

void mapWindowPoints(HWND from, HWND to, POINT* points, int count) {
    SetLastError(0);
    if (MapWindowPoints(from, to, points, static_cast<UINT>(count)) == 0) {
        const DWORD error = GetLastError();
        if (error != 0) {
            throw AWTException(L"::MapWindowPoints() failed", static_cast<int>(error));
        }
    }
}

RECT getWorkArea(HWND window) {
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) {
        throwLastError(L"::GetMonitorInfo() failed");
    }
    return info.rcWork;
}

bool isFullWindowDrag() noexcept {
    BOOL value = FALSE;
    return SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &value, 0) && value != FALSE;
}

}  // namespace awt
