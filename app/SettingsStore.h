#pragma once

#include <string>

// Where the screen saver keeps its four settings: REG_DWORD values below HKEY_CURRENT_USER.
extern const std::wstring SETTINGS_KEY_PATH;
extern const std::wstring INTERVAL_VALUE_NAME;
extern const std::wstring SIZE_VALUE_NAME;
extern const std::wstring COLOR_VALUE_NAME;
extern const std::wstring PICTURE_VALUE_NAME;

// The range of one numeric setting, shared by the store (what it reads back), the renderer (what its
// setters take) and the dialog (what its fields allow). The name is the value's and the setters'.
struct SettingRange {
    const wchar_t* name;
    int minimum;
    int maximum;
    int defaultValue;

    constexpr bool contains(int value) const noexcept { return value >= minimum && value <= maximum; }
    // The value itself inside the range, the default outside it.
    constexpr int orDefault(int value) const noexcept { return contains(value) ? value : defaultValue; }
};

constexpr SettingRange INTERVAL_RANGE{L"interval", 0, 1000, 50};
constexpr SettingRange SIZE_RANGE{L"size", 1, 10, 2};
constexpr SettingRange PICTURE_RANGE{L"picture", 0, 2, 0};

// What the board grows from. The screen falls back to the wallpaper and then to a generated picture
// where it shows one colour only; the wallpaper never reads the screen.
constexpr int PICTURE_SCREEN = 0;
constexpr int PICTURE_WALLPAPER = 1;
constexpr int PICTURE_GENERATED = 2;

constexpr int DEFAULT_INTERVAL = INTERVAL_RANGE.defaultValue;
constexpr int DEFAULT_CELL_SIZE = SIZE_RANGE.defaultValue;
// Any colour is stored and read as it is, top byte included.
constexpr int DEFAULT_COLOR = 0x804060;
constexpr int DEFAULT_PICTURE = PICTURE_RANGE.defaultValue;

static_assert(PICTURE_RANGE.minimum == PICTURE_SCREEN && PICTURE_RANGE.maximum == PICTURE_GENERATED,
              "every picture choice is in the range");

struct StoredSettings {
    int interval = DEFAULT_INTERVAL;
    int cellSize = DEFAULT_CELL_SIZE;
    int color = DEFAULT_COLOR;
    int picture = DEFAULT_PICTURE;

    bool operator==(const StoredSettings& other) const noexcept {
        return interval == other.interval && cellSize == other.cellSize && color == other.color &&
               picture == other.picture;
    }
    bool operator!=(const StoredSettings& other) const noexcept { return !(*this == other); }
};

// The stored settings. A missing key or value, or one of another type or size, gives that setting's
// default; a value outside its range also gives the default. Never throws a registry failure and
// never creates the key.
StoredSettings loadStoredSettings();
// The same against another key below HKEY_CURRENT_USER (tests use a scratch key).
StoredSettings loadStoredSettings(const std::wstring& keyPath);
// The first three of them, as above.
void loadStoredSettings(int& interval, int& cellSize, int& color);
void loadStoredSettings(const std::wstring& keyPath, int& interval, int& cellSize, int& color);

// Writes all four settings, creating the key when needed. Throws klib::RegException on the first
// failure; values written before it stay written.
void storeSettings(const StoredSettings& settings);
void storeSettings(const std::wstring& keyPath, const StoredSettings& settings);
// Writes the first three only; a stored picture stays as it is.
void storeSettings(int interval, int cellSize, int color);
void storeSettings(const std::wstring& keyPath, int interval, int cellSize, int color);
