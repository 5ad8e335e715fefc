#pragma once

namespace bench {

// A 3840 x 2160 JPEG wallpaper decoded and filled onto a 1920 x 1080 monitor, median of 5, stage by
// stage, beside the capture of the same monitor; then the peak memory of seeding from it, each cell
// size in a fresh process of its own (this program started again with "wallpaper-seed").
void benchWallpaper();

// The fresh process's part: seeds a 1920 x 1080 board at cellSize from the JPEG at path (after a
// first seeding from the small one at warmUp, which loads COM and the decoder) and prints how far the
// resident memory peaked above what it was before. Returns the exit code.
int runWallpaperSeed(const wchar_t* path, const wchar_t* warmUp, int cellSize);

}  // namespace bench
