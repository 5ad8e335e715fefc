#pragma once

#include <windows.h>

#include "awt/DirtyBands.h"
#include "awt/GdiObject.h"

#include <vector>

namespace awt {

// What the surfaces share: a top-down DIB section selected into its own memory device context, and
// the bands of it that changed since they were last presented, so a window gets only those copied.
class DibSection {
public:
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    int getWidth() const noexcept { return width; }
    int getHeight() const noexcept { return height; }
    // For GDI drawing and copying; GdiFlush before reading what GDI drew.
    HDC getDC() const noexcept { return memory.get(); }

    // Records [left, right) x [top, bottom) as changed, cut to the surface.
    void markDirty(int left, int top, int right, int bottom) noexcept { dirty.mark(left, top, right, bottom); }
    void markAllDirty() noexcept { dirty.markAll(); }
    bool isDirty() const noexcept { return dirty.any(); }
    // The rectangles present() would copy now: dirty bands, neighbours merged where one copy is cheaper.
    std::vector<RECT> dirtyRectangles() const { return dirty.rectangles(); }
protected:
    // A section of bitCount bits a pixel with the given colour table (none for 32 bits). Throws
    // AWTException with the failing call ("::CreateCompatibleDC() failed", "::CreateDIBSection()
    // failed", "::SelectObject() failed"), nothing left behind; sizes below 1 throw
    // klib::IllegalArgumentException.
    DibSection(int width, int height, WORD bitCount, const RGBQUAD* colours, int colourCount);
    // Throws AWTException on a failed SelectObject, DeleteObject or DeleteDC, unless another exception
    // is unwinding.
    ~DibSection() noexcept(false) = default;

    void* getBits() const noexcept { return bits; }
    // Copies the dirty parts onto dc at the same coordinates and forgets them. Returns false when a
    // copy failed (a window going away); the parts are forgotten either way.
    bool presentDirty(HDC dc);
    // Copies area, cut to the surface, onto dc at the same coordinates.
    bool copyArea(HDC dc, const RECT& area) const noexcept;

private:
    int width;
    int height;
    // Released in reverse: memory's own bitmap selected back, then the section deleted, then the context.
    CreatedDC memory;
    GdiObject bitmap;
    Selection selection;
    void* bits = nullptr;  // of bitmap
    DirtyBands dirty;
};

}  // namespace awt
