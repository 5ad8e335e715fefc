#pragma once

#include <windows.h>

#include <functional>

namespace screensaver {

// The mode runners the main routine dispatches to; each returns the process exit code.
struct ModeRunners {
    int (*configure)(HWND owner);
    int (*preview)(HWND parent);
    int (*saver)();
};

// The caption of the error box of the main routine.
extern const wchar_t* const errorCaption;

// Runs body; any exception that escapes it is shown in an error box without owner (a klib::Exception
// with its own text), and the result is then 1.
int runGuarded(const std::function<int()>& body);

// The process's main routine: initialises the toolkit, reads the command line and runs its mode.
int runMain(HINSTANCE instance, int showCommand, const ModeRunners& runners);

}  // namespace screensaver
