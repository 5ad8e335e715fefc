#include "screensaver/DisplayStateNotification.h"

namespace screensaver {

bool DisplayStateNotification::registerFor(HWND window) noexcept {
    release();
    handle = RegisterPowerSettingNotification(window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
    return handle != nullptr;
}

void DisplayStateNotification::release() noexcept {
    if (handle != nullptr) {
        // Nothing to do about a failure: the registration dies with the process in any case.
        UnregisterPowerSettingNotification(handle);
        handle = nullptr;
    }
}

DisplayStateNotification::State DisplayStateNotification::stateOf(LPARAM setting) noexcept {
    const auto* const data = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (data == nullptr || data->PowerSetting != GUID_CONSOLE_DISPLAY_STATE || data->DataLength < sizeof(DWORD)) {
        return NOT_DISPLAY_STATE;
    }
    DWORD state;
    CopyMemory(&state, data->Data, sizeof(state));
    return state <= DIMMED ? static_cast<State>(state) : NOT_DISPLAY_STATE;
}

}  // namespace screensaver
