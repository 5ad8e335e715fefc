#include "screensaver/Main.h"

#include <exception>
#include <new>
#include <string>

#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "klib/Strings.h"
#include "screensaver/CommandLine.h"

namespace screensaver {

const wchar_t* const errorCaption = L"Orlivex Screen Saver";

namespace {

void showError(const wchar_t* text) noexcept {
    MessageBoxW(nullptr, text, errorCaption, MB_ICONERROR);
}

}  // namespace

int runGuarded(const std::function<int()>& body) {
    try {
        return body();
    } catch (const klib::Exception& e) {
        e.showMessageBox(nullptr, errorCaption, MB_ICONERROR);
    } catch (const std::bad_alloc&) {
        showError(L"Out of memory.");  // built without allocating
    } catch (const std::exception& e) {
        try {
            showError((L"Unexpected error: " + klib::widen(e.what())).c_str());
        } catch (...) {
            showError(L"Unexpected error.");
        }
    } catch (...) {
        showError(L"Unexpected error of unknown type.");
    }
    return 1;
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
