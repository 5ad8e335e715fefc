#pragma once

namespace bench {

// A 3840 x 2160 JPEG wallpaper decoded and filled onto a 1920 x 1080 monitor, median of 5, beside the
// capture of the same monitor; with the peak private memory the process reached, run first in a
// process of its own so the peak is the wallpaper's.
void benchWallpaper();

}  // namespace bench
