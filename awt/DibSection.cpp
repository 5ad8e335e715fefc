#include "awt/DibSection.h"

#include "awt/AWTException.h"
#include "klib/Strings.h"

#include <algorithm>

namespace awt {

namespace {

// Checked before anything is made, so that the members built from the size see a valid one.
int checkedWidth(int width, int height) {
    if (width < 1 || height < 1) {
        throw klib::IllegalArgumentException(L"size: " + klib::toString(width) + L"x" + klib::toString(height));
    }
    return width;
}

}  // namespace

DibSection::DibSection(int width, int height, WORD bitCount, const RGBQUAD* colours, int colourCount)
    : width(checkedWidth(width, height)), height(height), dirty(width, height) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    colourCount = std::min(colourCount, 2);
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = width;
    info.header.biHeight = -height;  // top-down: row 0 first
    info.header.biPlanes = 1;
    info.header.biBitCount = bitCount;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = static_cast<DWORD>(colourCount);
    std::copy(colours, colours + colourCount, info.colours);
    const HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        throwLastError(L"::CreateCompatibleDC");
    }
    memory.reset(dc);
    const HBITMAP section =
        CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) {
        throwLastError(L"::CreateDIBSection");
    }
    bitmap.reset(section);
    Selection selected = select(dc, section);
    selection.swap(selected);
}

bool DibSection::presentDirty(HDC dc) {
    bool copied = true;
    for (const RECT& part : dirty.rectangles()) {
        copied = copyArea(dc, part) && copied;
    }
    dirty.clear();
    return copied;
}

bool DibSection::copyArea(HDC dc, const RECT& part) const noexcept {
    const int left = std::max(0, static_cast<int>(part.left));
    const int top = std::max(0, static_cast<int>(part.top));
    const int right = std::min(width, static_cast<int>(part.right));
    const int bottom = std::min(height, static_cast<int>(part.bottom));
    if (left >= right || top >= bottom) {
        return true;
    }
    return BitBlt(dc, left, top, right - left, bottom - top, memory.get(), left, top, SRCCOPY) != FALSE;
}

}  // namespace awt
