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

}  // namespace awt
