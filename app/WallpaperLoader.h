#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "app/PlacedPicture.h"
#include "app/Wallpaper.h"

// How long seeding waits for the wallpaper, from its start.
constexpr DWORD WALLPAPER_BUDGET_MS = 500;

// The desktop's wallpaper over area (screen coordinates) as the monitors show it, read and decoded on
// a worker thread of its own: each monitor's background colour with its picture placed over it, or the
// copy Windows keeps when the named file is gone. wallpapers describes the monitors (null: the
// system's settings for monitors, or for the monitors the system reports when that is empty). Returns
// null when the picture is not ready by deadline (a GetTickCount value) or cannot be made; a worker
// still busy then, say in a read from a share that does not answer, is left to finish on its own.
// The picture holds only the pixels that cells of step pixels from the area's corner read.
std::unique_ptr<PlacedPicture> loadWallpaper(const RECT& area, const std::vector<RECT>& monitors,
                                             const std::vector<MonitorWallpaper>* wallpapers, DWORD deadline,
                                             int step = 1);

// Loads COM and the imaging component on a worker thread of its own, which then ends: in a fresh
// process that takes Wine much of the budget, and the saver does it while its window is made.
// Nothing waits for it; a failure only leaves the work to loadWallpaper.
void prepareWallpaperDecoding() noexcept;
