#include "screensaver/Main.h"

#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "screensaver/CommandLine.h"

namespace screensaver {

const wchar_t* const errorCaption = L"Orlivex Screen Saver";

int runGuarded(const std::function<int()>& body) {
    try {
        return body();
    } catch (const klib::Exception& e) {
        e.showMessageBox(nullptr, errorCaption, MB_ICONERROR);
        return 1;
    }
}

int runMain(HINSTANCE instance, int showCommand, const ModeRunners& runners) {
    return runGuarded([&] {
        awt::Toolkit::initialize(instance, showCommand);
        const CommandLine commandLine;
        // Handles are 32-bit values on the command line; a window handle is their sign extension.
        const HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(commandLine.window));
        switch (commandLine.mode) {
        case PREVIEW:
            return runners.preview(window);
        case SAVER:
            return runners.saver();
        case CONFIGURE:
        default:
            return runners.configure(window);
        }
    });
}

}  // namespace screensaver
