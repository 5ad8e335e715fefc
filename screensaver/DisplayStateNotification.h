#pragma once

#include <windows.h>

namespace screensaver {

// Asks the system to tell a window when the console display goes off, on or dimmed
// (WM_POWERBROADCAST with PBT_POWERSETTINGCHANGE), and stops asking when it goes.
class DisplayStateNotification {
public:
    enum State { OFF = 0, ON = 1, DIMMED = 2, NOT_DISPLAY_STATE = -1 };

    DisplayStateNotification() noexcept = default;
    DisplayStateNotification(const DisplayStateNotification&) = delete;
    DisplayStateNotification& operator=(const DisplayStateNotification&) = delete;
    ~DisplayStateNotification() noexcept { release(); }

    // Registers window, after releasing an earlier registration. Returns false when the system
    // refuses: the window then simply hears nothing about the display.
    bool registerFor(HWND window) noexcept;
    // Idempotent.
    void release() noexcept;

    // The display state carried by a PBT_POWERSETTINGCHANGE's POWERBROADCAST_SETTING, or
    // NOT_DISPLAY_STATE for any other setting or a malformed one.
    static State stateOf(LPARAM setting) noexcept;

private:
    HPOWERNOTIFY handle = nullptr;
};

}  // namespace screensaver
