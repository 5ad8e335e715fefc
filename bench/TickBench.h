#pragma once

namespace bench {

class Backdrop;

// The full-screen saver at the screen's size, driven in-process the way the main routine and the
// saver mode drive it, beside the floor. Each prints one table. The backdrop is the screen the
// saver seeds from.

// One timer tick (generation and painting on the window) early and around generation 500.
void benchTicks(Backdrop& backdrop);
// CPU time of the saver running its own timer in the toolkit loop for ten seconds.
void benchCpu(Backdrop& backdrop);

}  // namespace bench
