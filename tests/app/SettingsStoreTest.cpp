#include "app/SettingsStore.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cwchar>
#include <memory>
#include <string>
#include <type_traits>

#include "klib/Exception.h"

namespace {

const std::wstring SCRATCH_PATH = L"Software\\OrlivexTest.SettingsStore";
const wchar_t* const NAMES[] = {L"interval", L"size", L"color", L"picture"};

using Values = std::array<int, 3>;  // interval, cell size, colour

using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)>;

Key openKey(const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    return Key(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) == ERROR_SUCCESS ? key : nullptr,
               &RegCloseKey);
}

Values load() {
    Values v{-100, -100, -100};  // outside every valid range, so a value left unset shows
    loadStoredSettings(SCRATCH_PATH, v[0], v[1], v[2]);
    return v;
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str()); }
};

TEST_F(SettingsStore, WithoutTheKeyGivesTheDefaultsAndCreatesNothingButStoreCreatesItAndWritesAllThree) {
    EXPECT_EQ((Values{50, 2, 0x804060}), load());
    EXPECT_EQ(nullptr, openKey(SCRATCH_PATH, KEY_READ));
    storeSettings(SCRATCH_PATH, 0, 10, static_cast<int>(0xFF000001));  // load takes only 4-byte REG_DWORD values
    EXPECT_EQ((Values{0, 10, static_cast<int>(0xFF000001)}), load());
}

TEST_F(SettingsStore, EachValueMissingOfAnotherTypeOrSizeOrOutOfRangeFallsBackAlone) {
    EXPECT_EQ(StoredSettings{}, loadStoredSettings(SCRATCH_PATH));
    const struct { int value; DWORD type; ULONGLONG data; DWORD size; int expected; } cases[] = {
        {0, REG_NONE, 0, 0, 50}, {1, REG_NONE, 0, 0, 2}, {2, REG_NONE, 0, 0, 0x804060},  // missing
        {3, REG_NONE, 0, 0, PICTURE_SCREEN}, {0, REG_SZ, 0x300033, 6, 50} /* L"30" */, {1, REG_QWORD, 5, 8, 2},
        {1, REG_DWORD, 5, 8, 2}, {2, REG_DWORD, 0x1234, 2, 0x804060}, {3, REG_BINARY, 1, 4, PICTURE_SCREEN},
        {0, REG_DWORD, 0xFFFFFFFF, 4, 50}, {0, REG_DWORD, 0x80000000, 4, 50}, {1, REG_DWORD, 0xFFFFFFFF, 4, 2},
        {2, REG_DWORD, 0xFF804060, 4, static_cast<int>(0xFF804060)}, {3, REG_DWORD, 0x80000001, 4, PICTURE_SCREEN}};
    // The ranges' ends and the values just outside are the table test's below; the type and size checks
    // themselves are RegistryKeyTest's.
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << NAMES[c.value] << " type " << c.type << " data " << c.data);
        storeSettings(SCRATCH_PATH, StoredSettings{300, 7, 0x00FF00, PICTURE_GENERATED});
        const Key key = openKey(SCRATCH_PATH, KEY_ALL_ACCESS);
        ASSERT_EQ(ERROR_SUCCESS, c.type == REG_NONE ? RegDeleteValueW(key.get(), NAMES[c.value])
                                                    : RegSetValueExW(key.get(), NAMES[c.value], 0, c.type,
                                                                     reinterpret_cast<const BYTE*>(&c.data), c.size));
        std::array<int, 4> expected{300, 7, 0x00FF00, PICTURE_GENERATED};
        expected[c.value] = c.expected;
        EXPECT_EQ((StoredSettings{expected[0], expected[1], expected[2], expected[3]}), loadStoredSettings(SCRATCH_PATH));
    }
}

TEST_F(SettingsStore, AllFourRoundTripAndTheThreeValueStoreLeavesThePictureAlone) {
    const StoredSettings stored{1000, 1, static_cast<int>(0xFF000001), PICTURE_WALLPAPER};
    storeSettings(SCRATCH_PATH, stored);
    EXPECT_EQ(stored, loadStoredSettings(SCRATCH_PATH));
    DWORD type = REG_NONE, data = 0, size = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str(), L"picture", RRF_RT_ANY, &type,
                                          &data, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(1u, data);
    storeSettings(SCRATCH_PATH, 0, 10, 0x123456);
    EXPECT_EQ((StoredSettings{0, 10, 0x123456, PICTURE_WALLPAPER}), loadStoredSettings(SCRATCH_PATH));
}

TEST_F(SettingsStore, ReadsBackEachRangesEndsAndGivesItsDefaultJustOutside) {
    const struct { const SettingRange& range; int StoredSettings::*field; } settings[] = {
        {INTERVAL_RANGE, &StoredSettings::interval}, {SIZE_RANGE, &StoredSettings::cellSize},
        {PICTURE_RANGE, &StoredSettings::picture}};
    for (const auto& setting : settings) {
        const SettingRange& range = setting.range;
        for (const int value : {range.minimum - 1, range.minimum, range.maximum, range.maximum + 1}) {
            SCOPED_TRACE(::testing::Message() << std::string(range.name, range.name + wcslen(range.name)) << " "
                                              << value);
            StoredSettings stored{300, 7, 0x00FF00, PICTURE_WALLPAPER};
            stored.*setting.field = value;
            storeSettings(SCRATCH_PATH, stored);
            EXPECT_EQ(range.contains(value) ? value : range.defaultValue, loadStoredSettings(SCRATCH_PATH).*setting.field);
        }
    }
}

TEST_F(SettingsStore, FailedStoreThrowsTheCreateMessage) {
    // A volatile key cannot get a non-volatile sub-key, so creating the settings key fails.
    HKEY parent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str(), 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent, nullptr));
    const Key parentHolder(parent, &RegCloseKey);
    const std::wstring path = SCRATCH_PATH + L"\\Orlivex";
    try {
        storeSettings(path, 50, 2, 0x804060);
        ADD_FAILURE() << "no klib::RegException thrown";
    } catch (const klib::RegException& e) {
        EXPECT_EQ(L"::RegCreateKeyEx(" + path + L") failed", e.getMessage());
        EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, e.getErrorCode());
    }
    EXPECT_EQ(nullptr, openKey(path, KEY_READ));
}

}  // namespace
