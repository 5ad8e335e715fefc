#pragma once

namespace bench {

class Backdrop;

// The saver's one-bit picture beside a 32-bit one: a whole screen presented from each in turn, the
// drawing of cells into it (the table against the shifts at cell size 1), and the bytes the saver's
// picture and board take at each cell size.
void benchSurfaces(Backdrop& backdrop);

// In a process of its own, so that its peak is the saver's: the process's resident memory from
// its status in /proc (VmHWM, VmRSS, RssAnon) before the saver starts, at its first paint and after a second of
// ticks, at the given cell size. Returns the exit code.
int runMemory(Backdrop& backdrop, int cellSize);

}  // namespace bench
