#pragma once

#include <windows.h>

#include "awt/GdiObject.h"

// Owns one solid GDI brush, or none.
class SolidBrush {
public:
    SolidBrush() = default;
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;

    // Deletes the held brush, then creates one of colour.
    // Throws awt::AWTException "::DeleteObject() failed" or "::CreateSolidBrush() failed".
    void reset(COLORREF colour);
    // Deletes the held brush; a second call does nothing.
    void release() { brush.release(); }
    HBRUSH get() const noexcept { return static_cast<HBRUSH>(brush.get()); }

private:
    awt::GdiObject brush;
};
