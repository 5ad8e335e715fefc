#pragma once

#include <windows.h>

#include "klib/Holder.h"

namespace awt {

// Holders of GDI and USER resources, all instantiations of klib::Holder.

// A GDI object (brush, pen, font, bitmap, region): DeleteObject, "::DeleteObject() failed".
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle none() noexcept { return nullptr; }
    static bool close(Handle object) noexcept { return DeleteObject(object) != FALSE; }
    [[noreturn]] static void fail(DWORD error);
};
using GdiObject = klib::Holder<GdiObjectTraits>;

// A device context from GetDC(window): ReleaseDC, whose result tells nothing useful and is ignored.
struct WindowDCTraits {
    WindowDCTraits(HWND window = nullptr) noexcept : window(window) {}  // converting: WindowDC(dc, window)
    using Handle = HDC;
    static Handle none() noexcept { return nullptr; }
    bool close(Handle dc) const noexcept {
        ReleaseDC(window, dc);
        return true;
    }
    static void fail(DWORD) noexcept {}

    HWND window;  // not owned
};
using WindowDC = klib::Holder<WindowDCTraits>;

// A device context made with CreateDC or CreateCompatibleDC: DeleteDC, "::DeleteDC() failed".
struct CreatedDCTraits {
    using Handle = HDC;
    static Handle none() noexcept { return nullptr; }
    static bool close(Handle dc) noexcept { return DeleteDC(dc) != FALSE; }
    [[noreturn]] static void fail(DWORD error);
};
using CreatedDC = klib::Holder<CreatedDCTraits>;

// What a selection displaced: released by selecting it back into the device context,
// "::SelectObject() failed". Holds nothing when the context had nothing of that kind selected.
struct SelectionTraits {
    SelectionTraits(HDC dc = nullptr) noexcept : dc(dc) {}  // converting: Selection(previous, dc)
    using Handle = HGDIOBJ;
    static Handle none() noexcept { return nullptr; }
    bool close(Handle previous) const noexcept {
        SetLastError(0);
        return SelectObject(dc, previous) != nullptr || GetLastError() == 0;
    }
    [[noreturn]] static void fail(DWORD error);

    HDC dc;  // not owned
};
using Selection = klib::Holder<SelectionTraits>;

// SelectObject returning the previous object. A null result is a failure only with an error code
// (a DC may legitimately have had nothing selected). Throws "::SelectObject() failed".
HGDIOBJ selectObject(HDC dc, HGDIOBJ object);

// Selects object into dc (see selectObject) and puts the displaced object back when the result goes.
Selection select(HDC dc, HGDIOBJ object);

// An icon from LoadImage or CreateIcon: DestroyIcon, "::DestroyIcon() failed".
struct IconTraits {
    using Handle = HICON;
    static Handle none() noexcept { return nullptr; }
    static bool close(Handle icon) noexcept { return DestroyIcon(icon) != FALSE; }
    [[noreturn]] static void fail(DWORD error);
};
using IconHolder = klib::Holder<IconTraits>;

// The device context of BeginPaint: EndPaint, which cannot fail. The paint structure must outlive it.
struct PaintTraits {
    PaintTraits(HWND window = nullptr, const PAINTSTRUCT* paint = nullptr) noexcept : window(window), paint(paint) {}
    using Handle = HDC;
    static Handle none() noexcept { return nullptr; }
    bool close(Handle) const noexcept {
        EndPaint(window, paint);
        return true;
    }
    static void fail(DWORD) noexcept {}

    HWND window;  // not owned
    const PAINTSTRUCT* paint;  // not owned
};
using PaintDC = klib::Holder<PaintTraits>;

}  // namespace awt
