#pragma once

#include <windows.h>

namespace screensaver {

// The cursor hidden once by its holder (ShowCursor counts) and shown once again, at the latest when the
// holder goes: a saver that fails still leaves the pointer to the error box that follows.
class HiddenCursor {
public:
    HiddenCursor() noexcept = default;
    HiddenCursor(const HiddenCursor&) = delete;
    HiddenCursor& operator=(const HiddenCursor&) = delete;
    ~HiddenCursor() noexcept { show(); }

    // Both do nothing when the cursor is already as asked.
    void hide() noexcept {
        if (hidden) return;
        ShowCursor(FALSE);
        hidden = true;
    }
    void show() noexcept {
        if (!hidden) return;
        ShowCursor(TRUE);
        hidden = false;
    }

private:
    bool hidden = false;
};

}  // namespace screensaver
