#include "app/SettingsStore.h"

#include <windows.h>

#include "klib/Exception.h"
#include "klib/RegistryKey.h"

const std::wstring SETTINGS_KEY_PATH = L"Software\\Kuroko\\Orlivex";
const std::wstring INTERVAL_VALUE_NAME = INTERVAL_RANGE.name;
const std::wstring SIZE_VALUE_NAME = SIZE_RANGE.name;
const std::wstring COLOR_VALUE_NAME = L"color";
const std::wstring PICTURE_VALUE_NAME = PICTURE_RANGE.name;

namespace {

void writeFirstThree(klib::RegistryKey& key, int interval, int cellSize, int color) {
    key.setInt(INTERVAL_VALUE_NAME, interval);
    key.setInt(SIZE_VALUE_NAME, cellSize);
    key.setInt(COLOR_VALUE_NAME, color);
}

}  // namespace

StoredSettings loadStoredSettings() {
    return loadStoredSettings(SETTINGS_KEY_PATH);
}

StoredSettings loadStoredSettings(const std::wstring& keyPath) {
    StoredSettings settings;
    try {
        // KEY_READ lacks KEY_CREATE_SUB_KEY, so a first run leaves the registry untouched.
        const klib::RegistryKey key(HKEY_CURRENT_USER, keyPath, KEY_READ);
        settings.interval = INTERVAL_RANGE.orDefault(key.getInt(INTERVAL_VALUE_NAME, DEFAULT_INTERVAL));
        settings.cellSize = SIZE_RANGE.orDefault(key.getInt(SIZE_VALUE_NAME, DEFAULT_CELL_SIZE));
        settings.color = key.getInt(COLOR_VALUE_NAME, DEFAULT_COLOR);
        settings.picture = PICTURE_RANGE.orDefault(key.getInt(PICTURE_VALUE_NAME, DEFAULT_PICTURE));
    } catch (const klib::RegException&) {
        // No key yet, or no right to read it: the defaults stand.
    }
    return settings;
}

void loadStoredSettings(int& interval, int& cellSize, int& color) {
    loadStoredSettings(SETTINGS_KEY_PATH, interval, cellSize, color);
}

void loadStoredSettings(const std::wstring& keyPath, int& interval, int& cellSize, int& color) {
    const StoredSettings settings = loadStoredSettings(keyPath);
    interval = settings.interval;
    cellSize = settings.cellSize;
    color = settings.color;
}

void storeSettings(const StoredSettings& settings) {
    storeSettings(SETTINGS_KEY_PATH, settings);
}

void storeSettings(const std::wstring& keyPath, const StoredSettings& settings) {
    klib::RegistryKey key(HKEY_CURRENT_USER, keyPath, KEY_READ | KEY_WRITE);
    writeFirstThree(key, settings.interval, settings.cellSize, settings.color);
    key.setInt(PICTURE_VALUE_NAME, settings.picture);
}

void storeSettings(int interval, int cellSize, int color) {
    storeSettings(SETTINGS_KEY_PATH, interval, cellSize, color);
}

void storeSettings(const std::wstring& keyPath, int interval, int cellSize, int color) {
    klib::RegistryKey key(HKEY_CURRENT_USER, keyPath, KEY_READ | KEY_WRITE);
    writeFirstThree(key, interval, cellSize, color);
}
