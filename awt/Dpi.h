#pragma once

#include <windows.h>

namespace awt {

class Component;

// A function of user32 looked up at run time, null where the system lacks it: the program also runs on
// Windows 7, which has none of the DPI functions of later systems.
//   const auto forWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
template <typename F>
F user32Function(const char* name) noexcept {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// Raises the calling thread to per-monitor awareness version 2 where the system has it (Windows 10
// 1607 and later), so every window the thread creates gets its own DPI and scaled non-client parts.
// Elsewhere, and under Wine, which refuses version 2, the awareness the manifest declared stays.
// Returns whether the thread now has version 2.
bool usePerMonitorV2Awareness() noexcept;

// The DPI the window is shown at: GetDpiForWindow where the system has it, else the system DPI (the
// screen's LOGPIXELSY), else 96. A null window gives the system DPI.
UINT getWindowDpi(HWND window) noexcept;
// value, given in pixels at 96 DPI, at dpi; rounded to nearest.
int scaleForDpi(int value, UINT dpi) noexcept;

// The system's dialog text font (the message font) at dpi. Made once per DPI for the whole process
// and shared; it lives until the process ends. Throws "::SystemParametersInfo() failed",
// "::CreateFontIndirect() failed".
HFONT getDialogFont(UINT dpi);
// The gap pair of font: its average character width and half its character height.
// Throws "::GetDC() failed", "::SelectObject() failed", "::GetTextMetrics() failed".
void getFontUnits(HFONT font, int& charWidth, int& halfCharHeight);
// Gives font to every descendant of root that has a native window (not to root itself).
void setTreeFont(Component* root, HFONT font);

}  // namespace awt
