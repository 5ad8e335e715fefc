#pragma once

#include <windows.h>

namespace screensaver {

// Asks the system to tell a window when the display goes off, on or dimmed (WM_POWERBROADCAST with
// PBT_POWERSETTINGCHANGE), and stops asking when it goes. Windows 8 and later announce the console
// display state; Windows 7 knows only whether the monitor has power, which serves as well.
class DisplayStateNotification {
public:
    enum State { OFF = 0, ON = 1, DIMMED = 2, NOT_DISPLAY_STATE = -1 };
    using RegisterFunction = HPOWERNOTIFY(WINAPI*)(HANDLE recipient, LPCGUID setting, DWORD flags);

    // The registering call, RegisterPowerSettingNotification. Tests put their own in its place to see
    // what is asked: the system shows no registration to anyone.
    static RegisterFunction registerSetting;

    DisplayStateNotification() noexcept = default;
    DisplayStateNotification(const DisplayStateNotification&) = delete;
    DisplayStateNotification& operator=(const DisplayStateNotification&) = delete;
    ~DisplayStateNotification() noexcept { release(); }

    // Registers window, after releasing an earlier registration: for the console display state where
    // the system has it, for the monitor's power where it has not or refuses the first. Returns false
    // when the system refuses both: the window then simply hears nothing about the display.
    bool registerFor(HWND window) noexcept;
    bool registerFor(HWND window, bool consoleDisplayStateKnown) noexcept;
    // Idempotent.
    void release() noexcept;
    // The setting the window is registered for; null without a registration.
    const GUID* getSetting() const noexcept { return setting; }

    // The display state carried by a PBT_POWERSETTINGCHANGE's POWERBROADCAST_SETTING about either
    // setting, or NOT_DISPLAY_STATE for any other setting or a malformed one.
    static State stateOf(LPARAM setting) noexcept;

private:
    HPOWERNOTIFY handle = nullptr;
    const GUID* setting = nullptr;
};

}  // namespace screensaver
