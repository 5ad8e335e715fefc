#pragma once

#include <windows.h>

namespace awt {

// Owns one GDI object (brush, pen, font, bitmap) and deletes it exactly once.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ handle = nullptr) noexcept : handle_(handle) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    // Throws AWTException on a failed DeleteObject, unless another exception is unwinding.
    ~GdiObject() noexcept(false);

    // Deletes the held object; a second call does nothing. Throws "::DeleteObject() failed".
    void release();
    // Releases the held object, then takes handle.
    void reset(HGDIOBJ handle);
    HGDIOBJ get() const noexcept { return handle_; }

private:
    HGDIOBJ handle_;
};

// Releases a window device context when an exception passes; the normal path releases it itself.
class WindowDC {
public:
    WindowDC(HDC dc, HWND window) noexcept : dc_(dc), window_(window) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC();

    HDC get() const noexcept { return dc_; }
    // Gives up ownership after the caller released the context itself.
    HDC detach() noexcept;

private:
    HDC dc_;
    HWND window_;
};

}  // namespace awt
