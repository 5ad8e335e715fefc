#pragma once

#include <windows.h>

#include "awt/Dialog.h"

namespace screensaver {

// A modal dialog for the screen-saver host: owned by the top-level window of the handle the host
// passed (none for 0), hidden by the close box.
class ConfigDialog : public awt::Dialog {
public:
    explicit ConfigDialog(HWND owner);
    ~ConfigDialog() noexcept(false) override;

    // The frame's handling: the close command is swallowed while the dialog is not closable.
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static awt::Window* adopt(HWND owner);
};

}  // namespace screensaver
