#pragma once

#include <windows.h>

#include <vector>

namespace awt {

// The bounding rectangle of all monitors, in screen coordinates: what a window covering every
// monitor spans. Its left and top are negative when a monitor lies left of or above the primary one.
RECT getVirtualScreen() noexcept;
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
