#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "awt/GdiObject.h"

// The screen pixels of the rectangle (0, 0, width, height), copied with one BitBlt per visible part
// of the screen device context instead of one GetPixel per pixel, and read back exactly as GetPixel
// on that context reads them: CLR_INVALID wherever the screen cannot be read.
class ScreenCapture {
public:
    // Takes the picture at once. Never throws for a missing screen context or a failed copy: the
    // whole area is then unreadable.
    ScreenCapture(int width, int height);
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;

    // The colour at (x, y) in screen coordinates, or CLR_INVALID where it could not be read.
    COLORREF getPixel(int x, int y) const noexcept {
        if (!isReadable(x, y)) {
            return CLR_INVALID;
        }
        // Top-down 32-bit DIB: blue in the low byte, the reverse of a COLORREF.
        const std::uint32_t bgr = pixels[static_cast<std::size_t>(y - bounds.top) * pitch + (x - bounds.left)];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }

    bool isReadable(int x, int y) const noexcept {
        if (x < bounds.left || x >= bounds.right || y < bounds.top || y >= bounds.bottom) {
            return false;
        }
        if (parts.size() == 1) {
            return true;  // the usual case: bounds is the one part
        }
        for (const RECT& part : parts) {
            if (x >= part.left && x < part.right && y >= part.top && y < part.bottom) {
                return true;
            }
        }
        return false;
    }

private:
    void capture(HDC screen, int width, int height);

    std::vector<RECT> parts;  // visible parts of the screen context inside the area, all copied
    RECT bounds{0, 0, 0, 0};  // smallest rectangle around parts; the DIB covers exactly this
    awt::GdiObject bitmap;    // the DIB section that holds the copy
    const std::uint32_t* pixels = nullptr;  // bits of bitmap
    std::size_t pitch = 0;                  // pixels per DIB row
};
