#include "awt/OneBitSurface.h"

#include "awt/AWTException.h"

#include <array>

namespace awt {

namespace {

// Black for clear bits, the colour for set ones.
std::array<RGBQUAD, 2> tableOf(COLORREF colour) noexcept {
    return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0}};
}

}  // namespace

OneBitSurface::OneBitSurface(int width, int height, COLORREF colour)
    : DibSection(width, height, 1, tableOf(colour).data(), 2), stride((width + 31) / 32 * 4),
      colour(colour & 0xFFFFFF), bits(static_cast<std::uint8_t*>(getBits())) {}

void OneBitSurface::setColor(COLORREF value) {
    const std::array<RGBQUAD, 2> colours = tableOf(value);
    if (SetDIBColorTable(getDC(), 0, 2, colours.data()) != 2) {
        throwLastError(L"::SetDIBColorTable");
    }
    colour = value & 0xFFFFFF;
    markAllDirty();
}

bool OneBitSurface::present(HDC dc) {
    prepare(dc);
    return presentDirty(dc);
}

bool OneBitSurface::copyTo(HDC dc, const RECT& area) const noexcept {
    prepare(dc);
    return copyArea(dc, area);
}

void OneBitSurface::prepare(HDC dc) const noexcept {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, colour);
}

}  // namespace awt
