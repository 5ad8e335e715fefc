#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/Placement.h"

struct IDesktopWallpaper;

// What the desktop shows on one monitor: its background colour, and over it the picture in path
// (none when empty) laid out by placement.
struct MonitorWallpaper {
    RECT monitor;  // screen coordinates
    std::wstring path;
    Placement placement;
    COLORREF background;
};

// Each monitor's wallpaper as source reports it; a monitor it cannot describe is left out.
std::vector<MonitorWallpaper> readDesktopWallpaper(IDesktopWallpaper& source);
// The classic settings for every monitor: SPI_GETDESKWALLPAPER, HKCU\Control Panel\Desktop's
// WallpaperStyle and TileWallpaper, and COLOR_DESKTOP.
std::vector<MonitorWallpaper> readClassicWallpaper(const std::vector<RECT>& monitors);
// IDesktopWallpaper where the system has it (COM must be initialised on the calling thread), the
// classic settings otherwise.
std::vector<MonitorWallpaper> readSystemWallpaper(const std::vector<RECT>& monitors);
// The copies Windows keeps of the current picture, for when the named file is gone: TranscodedWallpaper
// (Windows 8 and later, a JPEG without extension) and TranscodedWallpaper.jpg (Windows 7).
std::vector<std::wstring> transcodedWallpaperPaths();
