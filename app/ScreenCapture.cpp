#include "app/ScreenCapture.h"

#include "awt/AWTException.h"

#include <exception>

namespace {

// Owns a memory device context made by CreateCompatibleDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC dc) noexcept : dc(dc) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() noexcept(false) {
        if (dc != nullptr && !DeleteDC(dc)) {
            const awt::AWTException failure(L"::DeleteDC() failed", static_cast<int>(GetLastError()));
            if (std::uncaught_exceptions() > 0) {
                klib::reportIgnoredFailure(L"~MemoryDC(): " + failure.toString());
                return;
            }
            throw failure;
        }
    }
    HDC get() const noexcept { return dc; }

private:
    HDC dc;
};

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

ScreenCapture::ScreenCapture(int width, int height) {
    awt::WindowDC screen(GetDC(nullptr), nullptr);
    if (screen.get() == nullptr) {
        return;
    }
    capture(screen.get(), width, height);
    ReleaseDC(nullptr, screen.detach());
}

void ScreenCapture::capture(HDC screen, int width, int height) {
    const RECT area{0, 0, width, height};
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
    const int captureWidth = bounds.right - bounds.left;
    const int captureHeight = bounds.bottom - bounds.top;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = captureWidth;
    info.bmiHeader.biHeight = -captureHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memory(CreateCompatibleDC(screen));
    bool copied = bitmap.get() != nullptr && memory.get() != nullptr;
    if (copied) {
        const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
        copied = old != nullptr && old != HGDI_ERROR;
        for (const RECT& part : parts) {
            copied = copied && BitBlt(memory.get(), part.left - bounds.left, part.top - bounds.top,
                                      part.right - part.left, part.bottom - part.top, screen, part.left,
                                      part.top, SRCCOPY);
        }
        if (old != nullptr && old != HGDI_ERROR) {
            SelectObject(memory.get(), old);
        }
    }
    if (!copied) {
        // Nothing half-copied is ever read: a failed capture reads as no screen at all.
        parts.clear();
        bounds = RECT{0, 0, 0, 0};
        return;
    }
    // The DIB bits are read directly, so queued GDI work must be done first.
    GdiFlush();
    pixels = static_cast<const std::uint32_t*>(bits);
    pitch = static_cast<std::size_t>(captureWidth);
}
