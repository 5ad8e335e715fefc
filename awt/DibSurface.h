#pragma once

#include <windows.h>

#include "awt/DibSection.h"

#include <cstddef>
#include <cstdint>

namespace awt {

// A 32-bit top-down DIB section selected into its own memory device context: pixels that code
// writes directly (0x00RRGGBB) and GDI draws on alike. It remembers which parts changed since they
// were last presented, in horizontal bands, so a window gets only those copied.
class DibSurface : public DibSection {
public:
    // Throws AWTException with the failing call ("::CreateCompatibleDC() failed",
    // "::CreateDIBSection() failed", "::SelectObject() failed"); nothing is left behind then.
    // Sizes below 1 throw klib::IllegalArgumentException.
    DibSurface(int width, int height);
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    // Throws AWTException on a failed SelectObject, DeleteObject or DeleteDC, unless another exception
    // is unwinding.
    ~DibSurface() noexcept(false) = default;

    std::uint32_t* row(int y) noexcept { return pixels + static_cast<std::size_t>(y) * getWidth(); }
    const std::uint32_t* row(int y) const noexcept { return pixels + static_cast<std::size_t>(y) * getWidth(); }
    COLORREF getPixel(int x, int y) const noexcept;
    static std::uint32_t toPixel(COLORREF colour) noexcept {
        return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }

    // Copies the dirty parts onto dc at the same coordinates and forgets them. Returns false when a
    // copy failed (a window going away); the parts are forgotten either way.
    bool present(HDC dc) { return presentDirty(dc); }
    // Copies area, cut to the surface, onto dc at the same coordinates.
    bool copyTo(HDC dc, const RECT& area) const noexcept { return copyArea(dc, area); }

private:
    std::uint32_t* pixels;  // the section's
};

}  // namespace awt
