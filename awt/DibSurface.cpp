#include "awt/DibSurface.h"

#include "awt/AWTException.h"
#include "klib/Strings.h"

#include <algorithm>

namespace awt {

DibSurface::DibSurface(int width, int height) : width(width), height(height), dirty(width, height) {
    if (width < 1 || height < 1) {
        throw klib::IllegalArgumentException(L"size: " + klib::toString(width) + L"x" + klib::toString(height));
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        throwLastError(L"::CreateCompatibleDC");
    }
    memory.reset(dc);
    void* bits = nullptr;
    const HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) {
        throwLastError(L"::CreateDIBSection");
    }
    bitmap.reset(section);
    Selection selected = select(dc, section);
    selection.swap(selected);
    pixels = static_cast<std::uint32_t*>(bits);
}

COLORREF DibSurface::getPixel(int x, int y) const noexcept {
    if (x < 0 || x >= width || y < 0 || y >= height) {
        return CLR_INVALID;
    }
    const std::uint32_t rgb = row(y)[x];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

bool DibSurface::present(HDC dc) {
    bool copied = true;
    for (const RECT& part : dirty.rectangles()) {
        copied = copyTo(dc, part) && copied;
    }
    dirty.clear();
    return copied;
}

bool DibSurface::copyTo(HDC dc, const RECT& part) const noexcept {
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
