#pragma once

#include <windows.h>

#include <vector>

namespace awt {

// Average character width and half the character height of the default GUI font: the default gap
// pair. Measured once per process on a display DC.
void getDefaultFontUnits(int& charWidth, int& halfCharHeight);
// How often the default font units were actually measured (once after a successful first call).
int getDefaultFontUnitsMeasurements() noexcept;

// SelectObject returning the previous object. A null result is a failure only with an error code
// (a DC may legitimately have had nothing selected). Throws "::SelectObject() failed".
HGDIOBJ selectObject(HDC dc, HGDIOBJ object);
// Throws "::GetTextMetrics() failed".
void getTextMetrics(HDC dc, TEXTMETRICW* out);
// Throws "::GetTextExtentPoint32() failed".
void getTextExtent(HDC dc, const wchar_t* text, int count, SIZE* out);
// MapWindowPoints; a zero result is an error only with a non-zero error code (windows with the same
// origin map to zero). Throws "::MapWindowPoints() failed".
void mapWindowPoints(HWND from, HWND to, POINT* points, int count);
// The work area of the monitor of window, the primary one if it is on none.
// Throws "::GetMonitorInfo() failed".
RECT getWorkArea(HWND window);
// The rectangle of every monitor in screen coordinates, the primary one first.
std::vector<RECT> getMonitorRectangles();
// Whether windows are dragged with their contents shown.
bool isFullWindowDrag() noexcept;

}  // namespace awt
