#include "app/SettingsStore.h"

#include <windows.h>

#include "klib/Exception.h"
#include "klib/RegistryKey.h"

const std::wstring SETTINGS_KEY_PATH = L"Software\\Kuroko\\Orlivex";
const std::wstring INTERVAL_VALUE_NAME = L"interval";
const std::wstring SIZE_VALUE_NAME = L"size";
const std::wstring COLOR_VALUE_NAME = L"color";

void loadStoredSettings(int& interval, int& cellSize, int& color) {
    loadStoredSettings(SETTINGS_KEY_PATH, interval, cellSize, color);
}

void loadStoredSettings(const std::wstring& keyPath, int& interval, int& cellSize, int& color) {
    interval = DEFAULT_INTERVAL;
    cellSize = DEFAULT_CELL_SIZE;
    color = DEFAULT_COLOR;
    try {
        // KEY_READ lacks KEY_CREATE_SUB_KEY, so a first run leaves the registry untouched.
        const klib::RegistryKey key(HKEY_CURRENT_USER, keyPath, KEY_READ);
        interval = key.getInt(INTERVAL_VALUE_NAME, DEFAULT_INTERVAL);
        cellSize = key.getInt(SIZE_VALUE_NAME, DEFAULT_CELL_SIZE);
        color = key.getInt(COLOR_VALUE_NAME, DEFAULT_COLOR);
    } catch (const klib::RegException&) {
        // No key yet, or no right to read it: the defaults stand.
    }
    if (interval < 0 || interval > 1000) {
        interval = DEFAULT_INTERVAL;
    }
    if (cellSize < 1 || cellSize > 10) {
        cellSize = DEFAULT_CELL_SIZE;
    }
}

void storeSettings(int interval, int cellSize, int color) {
    storeSettings(SETTINGS_KEY_PATH, interval, cellSize, color);
}

void storeSettings(const std::wstring& keyPath, int interval, int cellSize, int color) {
    klib::RegistryKey key(HKEY_CURRENT_USER, keyPath, KEY_READ | KEY_WRITE);
    key.setInt(INTERVAL_VALUE_NAME, interval);
    key.setInt(SIZE_VALUE_NAME, cellSize);
    key.setInt(COLOR_VALUE_NAME, color);
}
