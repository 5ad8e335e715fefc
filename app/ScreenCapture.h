#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/SeedPicture.h"
#include "awt/DibSurface.h"

// The screen pixels of a rectangle in screen coordinates (any origin, also left of or above the
// primary screen), copied with one BitBlt per visible part of the screen device context instead of
// one GetPixel per pixel, and read back exactly as GetPixel on that context reads them: CLR_INVALID
// wherever no monitor shows the screen or it cannot be read.
class ScreenCapture final : public SeedPicture {
public:
    // Takes the picture at once. Never throws for a missing screen context or a failed copy: the
    // whole area is then unreadable.
    ScreenCapture(int left, int top, int width, int height);
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;
    // A failure to free the copy is reported, never thrown.
    ~ScreenCapture() noexcept;

    // Whether any part of the area was copied.
    bool isCaptured() const noexcept { return !parts.empty(); }
    // Whether a part of the screen was shown there but could not be copied.
    bool hasFailed() const noexcept { return failed; }

    // The colour at (x, y) in screen coordinates, or CLR_INVALID where it could not be read.
    COLORREF getPixel(int x, int y) const noexcept override {
        return isReadable(x, y) ? copy->getPixel(x - bounds.left, y - bounds.top) : CLR_INVALID;
    }

    // The count pixels of row y from x on (screen coordinates) as 0x00RRGGBB, when all of them are
    // readable; null otherwise.
    const std::uint32_t* readableRun(int x, int y, int count) const noexcept override {
        if (parts.size() != 1 || !isReadable(x, y) || !isReadable(x + count - 1, y)) {
            return nullptr;
        }
        return copy->row(y - bounds.top) + (x - bounds.left);
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
    void capture(HDC screen, const RECT& area);

    std::vector<RECT> parts;  // visible parts of the screen context inside the area, all copied
    RECT bounds{0, 0, 0, 0};  // smallest rectangle around parts; the copy covers exactly this
    std::unique_ptr<awt::DibSurface> copy;
    bool failed = false;
};
