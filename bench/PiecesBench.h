#pragma once

namespace bench {

class Backdrop;

// A tick's time piece by piece at the screen's size, cell sizes 1 and 2, on the busy picture.
void benchPieces(Backdrop& backdrop);

}  // namespace bench
