#include "app/ScreenCapture.h"

#include "awt/AWTException.h"
#include "awt/GdiObject.h"

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
        copied = true;
        for (const RECT& part : parts) {
            copied = copied && BitBlt(copy->getDC(), part.left - bounds.left, part.top - bounds.top,
                                      part.right - part.left, part.bottom - part.top, screen, part.left, part.top,
                                      SRCCOPY);
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
        return;
    }
    // The pixels are read directly, so queued GDI work must be done first.
    GdiFlush();
}
