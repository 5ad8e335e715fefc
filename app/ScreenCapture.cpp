#include "app/ScreenCapture.h"

#include "awt/AWTException.h"
#include "awt/GdiObject.h"
#include "awt/Screen.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>

namespace {

// The rectangles GetPixel can read on dc: its system region cut to its clip box. A screen that
// spans several monitors need not be one rectangle.
std::vector<RECT> visibleRectangles(HDC dc) {
    std::vector<RECT> visible;
    RECT clipBox;
    if (GetClipBox(dc, &clipBox) == ERROR) {
        return visible;
    }
    awt::GdiObject region(CreateRectRgn(0, 0, 0, 0));
    const HRGN rgn = static_cast<HRGN>(region.get());
    if (rgn != nullptr && GetRandomRgn(dc, rgn, SYSRGN) == 1) {
        const DWORD size = GetRegionData(rgn, 0, nullptr);
        std::vector<std::uint8_t> buffer(size);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        if (size >= sizeof(RGNDATAHEADER) && GetRegionData(rgn, size, data) == size) {
            const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
            for (DWORD i = 0; i < data->rdh.nCount; ++i) {
                RECT part;
                if (IntersectRect(&part, &rects[i], &clipBox)) {
                    visible.push_back(part);
                }
            }
            return visible;
        }
    }
    visible.push_back(clipBox);
    return visible;
}

}  // namespace

ScreenCapture::ScreenCapture(int left, int top, int width, int height) {
    awt::WindowDC screen(GetDC(nullptr), nullptr);
    if (screen.get() == nullptr || width <= 0 || height <= 0) {
        return;
    }
    capture(screen.get(), RECT{left, top, left + width, top + height});
    ReleaseDC(nullptr, screen.detach());
}

ScreenCapture::~ScreenCapture() noexcept {
    try {
        delete copy.release();
    } catch (const klib::Exception& failure) {
        klib::reportIgnoredFailure(L"~ScreenCapture(): " + failure.toString());
    }
}

void ScreenCapture::capture(HDC screen, const RECT& area) {
    for (const RECT& visible : visibleRectangles(screen)) {
        RECT part;
        if (IntersectRect(&part, &visible, &area)) {
            parts.push_back(part);
            UnionRect(&bounds, &bounds, &part);
        }
    }
    if (parts.empty()) {
        return;
    }
    bool copied = false;
    try {
        copy = std::make_unique<awt::DibSurface>(bounds.right - bounds.left, bounds.bottom - bounds.top);
        // Only what a monitor shows is copied: what the screen gives between monitors of different
        // sizes is undefined under some systems (one copy black, the next what another left there).
        // The rest stays black, as a copy of a whole screen reads it.
        std::fill(copy->row(0), copy->row(0) + static_cast<std::size_t>(copy->getWidth()) * copy->getHeight(), 0u);
        std::vector<RECT> shown = awt::getMonitorRectangles();
        if (shown.empty()) shown.push_back(bounds);
        copied = true;
        for (const RECT& part : parts) {
            for (const RECT& monitor : shown) {
                RECT piece;
                if (copied && IntersectRect(&piece, &part, &monitor)) {
                    copied = BitBlt(copy->getDC(), piece.left - bounds.left, piece.top - bounds.top,
                                    piece.right - piece.left, piece.bottom - piece.top, screen, piece.left,
                                    piece.top, SRCCOPY) != FALSE;
                }
            }
        }
    } catch (const klib::Exception&) {
        copied = false;
    }
    if (!copied) {
        // Nothing half-copied is ever read: a failed capture reads as no screen at all.
        try {
            delete copy.release();
        } catch (const klib::Exception&) {
            // The picture is dropped either way.
        }
        parts.clear();
        bounds = RECT{0, 0, 0, 0};
        failed = true;
        return;
    }
    // The pixels are read directly, so queued GDI work must be done first.
    GdiFlush();
}
