#pragma once

#include <windows.h>

#include <vector>

#include "app/LifeBoard.h"
#include "app/SeedPicture.h"
#include "app/Wallpaper.h"

// About how many pixels of the screen seeding holds at once: it copies the screen a band of rows at a
// time, 1 MB of pixels.
constexpr int SCREEN_BAND_PIXELS = 1 << 18;

// Where a board's first generation came from.
enum class PictureSource { SCREEN, WALLPAPER, GENERATED };

// What a board seeds from: the area it covers on the screen and the picture chosen.
struct SeedRequest {
    int originX = 0;  // the screen point of the top-left cell
    int originY = 0;
    int width = 0;    // pixels
    int height = 0;
    int cellSize = 1;
    unsigned key = 0;        // 0-255: its top three bits pick the band of 32 grey levels that lives
    unsigned noiseSeed = 0;  // for the generated picture
    int picture = 0;         // PICTURE_SCREEN (then the wallpaper), PICTURE_WALLPAPER or PICTURE_GENERATED
    std::vector<RECT> monitors;                                 // the wallpaper's; empty: the system's
    const std::vector<MonitorWallpaper>* wallpapers = nullptr;  // not owned; null: the desktop's
};

// The sources picture tries in order before the generated one, which never fails.
std::vector<PictureSource> sourcesFor(int picture);

// Brings to life the cells whose pixel at origin + (column, row) x cellSize has its grey level
// (r + g + b) / 3 in key's band; an unreadable pixel is grey 255.
void seedFromPicture(LifeBoard& board, const SeedPicture& picture, int originX, int originY, int cellSize,
                     unsigned key);
// Whether the pixels that seedFromPicture reads for columns x rows cells show more than one colour;
// unreadable pixels are not counted.
bool showsSeveralColours(const SeedPicture& picture, int originX, int originY, int cellSize, int columns,
                         int rows) noexcept;
// The generated picture: key's band of generateGreyLevels(seed) lives.
void seedGenerated(LifeBoard& board, unsigned seed, unsigned key);

// Seeds board from the first source of the request's choice that shows more than one colour there,
// else from the generated picture. The wallpaper is waited for at most WALLPAPER_BUDGET_MS from the
// start. Returns the source used.
PictureSource seedBoard(LifeBoard& board, const SeedRequest& request);
