#pragma once

#include <windows.h>

#include "awt/DirtyBands.h"
#include "awt/GdiObject.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace awt {

// A 32-bit top-down DIB section selected into its own memory device context: pixels that code
// writes directly (0x00RRGGBB) and GDI draws on alike. It remembers which parts changed since they
// were last presented, in horizontal bands, so a window gets only those copied.
class DibSurface {
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

    int getWidth() const noexcept { return width; }
    int getHeight() const noexcept { return height; }
    // For GDI drawing and copying; GdiFlush before reading pixels that GDI drew.
    HDC getDC() const noexcept { return memory.get(); }
    std::uint32_t* row(int y) noexcept { return pixels + static_cast<std::size_t>(y) * width; }
    const std::uint32_t* row(int y) const noexcept { return pixels + static_cast<std::size_t>(y) * width; }
    COLORREF getPixel(int x, int y) const noexcept;
    static std::uint32_t toPixel(COLORREF colour) noexcept {
        return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }

    // Records [left, right) x [top, bottom) as changed, cut to the surface.
    void markDirty(int left, int top, int right, int bottom) noexcept { dirty.mark(left, top, right, bottom); }
    void markAllDirty() noexcept { dirty.markAll(); }
    bool isDirty() const noexcept { return dirty.any(); }
    // The rectangles present() would copy now: dirty bands, neighbours merged where one copy is cheaper.
    std::vector<RECT> dirtyRectangles() const { return dirty.rectangles(); }
    // Copies the dirty parts onto dc at the same coordinates and forgets them. Returns false when a
    // copy failed (a window going away); the parts are forgotten either way.
    bool present(HDC dc);
    // Copies area, cut to the surface, onto dc at the same coordinates.
    bool copyTo(HDC dc, const RECT& area) const noexcept;

private:
    int width;
    int height;
    // Released in reverse: memory's own bitmap selected back, then the section deleted, then the context.
    CreatedDC memory;
    GdiObject bitmap;
    Selection selection;
    std::uint32_t* pixels = nullptr;  // bits of bitmap
    DirtyBands dirty;
};

}  // namespace awt
