#include "awt/OneBitSurface.h"

#include "awt/AWTException.h"
#include "klib/Strings.h"

#include <algorithm>

namespace awt {

namespace {

RGBQUAD quadOf(COLORREF colour) noexcept {
    return RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
}

// Checked before anything is made, so that the members built from the size see a valid one.
int checkedWidth(int width, int height) {
    if (width < 1 || height < 1) {
        throw klib::IllegalArgumentException(L"size: " + klib::toString(width) + L"x" + klib::toString(height));
    }
    return width;
}

}  // namespace

OneBitSurface::OneBitSurface(int width, int height, COLORREF colour)
    : width(checkedWidth(width, height)), height(height), stride((width + 31) / 32 * 4), colour(colour & 0xFFFFFF),
      dirty(width, height) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = width;
    info.header.biHeight = -height;  // top-down: row 0 first
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 2;
    info.colours[1] = quadOf(this->colour);
    const HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        throwLastError(L"::CreateCompatibleDC");
    }
    memory.reset(dc);
    void* section = nullptr;
    const HBITMAP made =
        CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &section, nullptr, 0);
    if (made == nullptr) {
        throwLastError(L"::CreateDIBSection");
    }
    bitmap.reset(made);
    Selection selected = select(dc, made);
    selection.swap(selected);
    bits = static_cast<std::uint8_t*>(section);
}

COLORREF OneBitSurface::getPixel(int x, int y) const noexcept {
    if (x < 0 || x >= width || y < 0 || y >= height) {
        return CLR_INVALID;
    }
    return (row(y)[x / 8] >> (7 - x % 8)) & 1 ? colour : RGB(0, 0, 0);
}

void OneBitSurface::setColor(COLORREF value) {
    const RGBQUAD colours[2] = {RGBQUAD{0, 0, 0, 0}, quadOf(value)};
    if (SetDIBColorTable(memory.get(), 0, 2, colours) != 2) {
        throwLastError(L"::SetDIBColorTable");
    }
    colour = value & 0xFFFFFF;
    markAllDirty();
}

bool OneBitSurface::present(HDC dc) {
    bool copied = true;
    for (const RECT& part : dirty.rectangles()) {
        copied = copyTo(dc, part) && copied;
    }
    dirty.clear();
    return copied;
}

bool OneBitSurface::copyTo(HDC dc, const RECT& part) const noexcept {
    const int left = std::max(0, static_cast<int>(part.left));
    const int top = std::max(0, static_cast<int>(part.top));
    const int right = std::min(width, static_cast<int>(part.right));
    const int bottom = std::min(height, static_cast<int>(part.bottom));
    if (left >= right || top >= bottom) {
        return true;
    }
    prepare(dc);
    return BitBlt(dc, left, top, right - left, bottom - top, memory.get(), left, top, SRCCOPY) != FALSE;
}

void OneBitSurface::prepare(HDC dc) const noexcept {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, colour);
}

}  // namespace awt
