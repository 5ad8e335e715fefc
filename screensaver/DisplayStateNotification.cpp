#include "screensaver/DisplayStateNotification.h"

#include <versionhelpers.h>

namespace screensaver {

DisplayStateNotification::RegisterFunction DisplayStateNotification::registerSetting = RegisterPowerSettingNotification;

bool DisplayStateNotification::registerFor(HWND window) noexcept {
    // The console display state came with Windows 8.
    return registerFor(window, IsWindows8OrGreater());
}

bool DisplayStateNotification::registerFor(HWND window, bool consoleDisplayStateKnown) noexcept {
    release();
    if (consoleDisplayStateKnown) {
        handle = registerSetting(window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
        if (handle != nullptr) setting = &GUID_CONSOLE_DISPLAY_STATE;
    }
    if (handle == nullptr) {
        handle = registerSetting(window, &GUID_MONITOR_POWER_ON, DEVICE_NOTIFY_WINDOW_HANDLE);
        if (handle != nullptr) setting = &GUID_MONITOR_POWER_ON;
    }
    return handle != nullptr;
}

void DisplayStateNotification::release() noexcept {
    if (handle != nullptr) {
        // Nothing to do about a failure: the registration dies with the process in any case.
        UnregisterPowerSettingNotification(handle);
        handle = nullptr;
        setting = nullptr;
    }
}

DisplayStateNotification::State DisplayStateNotification::stateOf(LPARAM setting) noexcept {
    const auto* const data = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (data == nullptr || data->DataLength < sizeof(DWORD)) return NOT_DISPLAY_STATE;
    DWORD state;
    CopyMemory(&state, data->Data, sizeof(state));
    if (data->PowerSetting == GUID_CONSOLE_DISPLAY_STATE) {
        return state <= DIMMED ? static_cast<State>(state) : NOT_DISPLAY_STATE;
    }
    if (data->PowerSetting == GUID_MONITOR_POWER_ON) {
        // 0 off, 1 on; there is no dimmed.
        return state <= ON ? static_cast<State>(state) : NOT_DISPLAY_STATE;
    }
    return NOT_DISPLAY_STATE;
}

}  // namespace screensaver
