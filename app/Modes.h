#pragma once

#include <windows.h>

// The mode runners of the screen saver; each returns the process exit code.

// Full-screen saving until the first sign of the user.
int runSaver();
// The animation inside the host's preview area until the host closes it.
int runPreview(HWND parent);
// The modal configuration dialog, owned by the top-level window of owner (none for 0).
int runConfigure(HWND owner);
