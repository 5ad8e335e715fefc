#pragma once

#include <string>

// Where the screen saver keeps its three settings: REG_DWORD values below HKEY_CURRENT_USER.
extern const std::wstring SETTINGS_KEY_PATH;
extern const std::wstring INTERVAL_VALUE_NAME;
extern const std::wstring SIZE_VALUE_NAME;
extern const std::wstring COLOR_VALUE_NAME;

constexpr int DEFAULT_INTERVAL = 50;
constexpr int DEFAULT_CELL_SIZE = 2;
constexpr int DEFAULT_COLOR = 0x804060;

// Sets the three outputs from the stored settings. A missing key or value, or one of another
// type or size, gives that setting's default; an interval outside 0..1000 or a cell size
// outside 1..10 also gives the default. Never throws a registry failure and never creates the key.
void loadStoredSettings(int& interval, int& cellSize, int& color);
// The same against another key below HKEY_CURRENT_USER (tests use a scratch key).
void loadStoredSettings(const std::wstring& keyPath, int& interval, int& cellSize, int& color);

// Writes all three settings, creating the key when needed. Throws klib::RegException on the first
// failure; values written before it stay written.
void storeSettings(int interval, int cellSize, int color);
void storeSettings(const std::wstring& keyPath, int interval, int cellSize, int color);
