#pragma once

#include <windows.h>

#include <string>

// How the desktop lays its picture on a monitor.
enum class Placement { CENTER, TILE, STRETCH, FIT, FILL, SPAN };

// The placement IDesktopWallpaper numbers position (DWPOS_CENTER 0 to DWPOS_SPAN 5); an unknown number is FILL.
Placement placementFromPosition(int position) noexcept;
// The placement HKCU\Control Panel\Desktop names with WallpaperStyle and TileWallpaper ("10", "1", ...);
// an unknown style is FILL.
Placement placementFromStyle(const std::wstring& wallpaperStyle, const std::wstring& tileWallpaper) noexcept;

// Where a picture of width x height lies for a monitor (screen coordinates): the whole picture, which
// may reach past the monitor; for TILE the tile at the monitor's top-left corner. SPAN covers desktop
// (all monitors' bounding rectangle) as FILL covers a monitor.
RECT placedRectangle(Placement placement, int width, int height, const RECT& monitor, const RECT& desktop) noexcept;
