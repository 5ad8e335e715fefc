#pragma once

namespace bench {

class Backdrop;

// The full-screen saver at the screen's size, driven in-process the way the main routine drives
// it; prints one table. The backdrop is the screen the saver seeds from.

// From entering the main routine to the end of the first full paint, per cell size and picture.
void benchFirstPaint(Backdrop& backdrop);

}  // namespace bench
