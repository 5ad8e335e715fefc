#pragma once

#include <windows.h>

#include "awt/DibSection.h"

#include <cstddef>
#include <cstdint>

namespace awt {

// A picture in two colours, black and one colour of choice: a one-bit top-down DIB section with a
// two-entry colour table, selected into its own memory device context. A set bit shows the colour,
// a clear one black; changing the colour rewrites the table, so every set bit shows the new colour
// at once. It remembers which bands changed since they were last presented, so a window gets only
// those copied.
//
// Rows run from the most significant bit of each byte: pixel x is bit 7 - x % 8 of byte x / 8, and
// each row takes getStride() bytes, a multiple of 4; the bits past the width are never shown.
//
// Typical use:
//   awt::OneBitSurface surface(width, height, RGB(0x60, 0x40, 0x80));
//   surface.row(y)[x / 8] |= 0x80 >> (x % 8);
//   surface.markDirty(x, y, x + 1, y + 1);
//   surface.present(windowDC);
class OneBitSurface : public DibSection {
public:
    // Throws AWTException with the failing call ("::CreateCompatibleDC() failed",
    // "::CreateDIBSection() failed", "::SelectObject() failed"); nothing is left behind then.
    // Sizes below 1 throw klib::IllegalArgumentException.
    OneBitSurface(int width, int height, COLORREF colour);
    OneBitSurface(const OneBitSurface&) = delete;
    OneBitSurface& operator=(const OneBitSurface&) = delete;
    // Throws AWTException on a failed SelectObject, DeleteObject or DeleteDC, unless another exception
    // is unwinding.
    ~OneBitSurface() noexcept(false) = default;

    // Bytes per row.
    int getStride() const noexcept { return stride; }
    std::uint8_t* row(int y) noexcept { return bits + static_cast<std::size_t>(y) * stride; }
    const std::uint8_t* row(int y) const noexcept { return bits + static_cast<std::size_t>(y) * stride; }

    COLORREF getColor() const noexcept { return colour; }
    // Every set bit shows the new colour from the next present on: the whole surface becomes dirty.
    // Throws AWTException "::SetDIBColorTable() failed"; the surface keeps its colour then.
    void setColor(COLORREF colour);

    // Copies the dirty parts onto dc at the same coordinates and forgets them. Returns false when a
    // copy failed (a window going away); the parts are forgotten either way.
    bool present(HDC dc);
    // Copies area, cut to the surface, onto dc at the same coordinates.
    //
    // Both set dc's text colour to black and its background colour to the surface's colour first:
    // Windows copies a one-bit picture whose table is exactly black and white in the destination's
    // text (clear bits) and background (set bits) colours instead of its table's.
    bool copyTo(HDC dc, const RECT& area) const noexcept;

private:
    void prepare(HDC dc) const noexcept;

    int stride;
    COLORREF colour;
    std::uint8_t* bits;  // the section's
};

}  // namespace awt
