#pragma once

#include <string>

namespace screensaver {

enum ScreenSaverMode { CONFIGURE = 0, PREVIEW = 1, SAVER = 2 };

// The run mode and window handle the screen-saver host passes on the command line.
struct CommandLine {
    // Reads GetCommandLineW().
    CommandLine();
    // Reads the given command-line text; the first word is the program path.
    explicit CommandLine(const wchar_t* commandLine);

    ScreenSaverMode mode;
    // The dialog's owner in CONFIGURE mode, the preview's parent in PREVIEW mode; 0 for none.
    int window;
};

// True for "/x..." or "-x..." where x is letter (lower case) in either case.
bool isSwitch(const std::wstring& argument, wchar_t letter);

}  // namespace screensaver
