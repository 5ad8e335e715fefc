#include "app/SettingsStore.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "klib/Exception.h"

namespace {

const std::wstring SCRATCH_PATH = L"Software\\OrlivexTest.SettingsStore";

class RawKey {
public:
    RawKey() = default;
    RawKey(const RawKey&) = delete;
    RawKey& operator=(const RawKey&) = delete;
    ~RawKey() {
        if (handle != nullptr) RegCloseKey(handle);
    }
    HKEY handle = nullptr;
};

bool keyExists(const std::wstring& path) {
    RawKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key.handle) == ERROR_SUCCESS;
}

struct RawValue {
    LSTATUS status;
    DWORD type;
    DWORD size;
    DWORD data;
};

RawValue readRaw(const std::wstring& path, const wchar_t* name) {
    RawValue value{ERROR_SUCCESS, REG_NONE, sizeof(DWORD), 0};
    RawKey key;
    value.status = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key.handle);
    if (value.status == ERROR_SUCCESS) {
        value.status = RegQueryValueExW(key.handle, name, nullptr, &value.type, reinterpret_cast<BYTE*>(&value.data),
                                        &value.size);
    }
    return value;
}

struct Settings {
    int interval = -100;  // outside every valid range, so a value left unset shows
    int cellSize = -100;
    int color = -100;
};

Settings load() {
    Settings s;
    loadStoredSettings(SCRATCH_PATH, s.interval, s.cellSize, s.color);
    return s;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str()); }
};

// The scratch key exists; tests put raw values into it.
class StoredSettingsTest : public SettingsStoreTest {
protected:
    void SetUp() override {
        SettingsStoreTest::SetUp();
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &raw.handle, nullptr));
    }
    void TearDown() override {
        RegCloseKey(raw.handle);
        raw.handle = nullptr;
        SettingsStoreTest::TearDown();
    }

    void put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(raw.handle, name, 0, type, static_cast<const BYTE*>(data), size));
    }
    void putDword(const wchar_t* name, DWORD value) { put(name, REG_DWORD, &value, sizeof(value)); }

    RawKey raw;
};

TEST_F(SettingsStoreTest, FirstRunGivesTheDefaultsAndCreatesNothing) {
    const Settings s = load();
    EXPECT_EQ(50, s.interval);
    EXPECT_EQ(2, s.cellSize);
    EXPECT_EQ(0x804060, s.color);
    EXPECT_FALSE(keyExists(SCRATCH_PATH));
}

TEST_F(StoredSettingsTest, EmptyKeyGivesTheDefaults) {
    const Settings s = load();
    EXPECT_EQ(50, s.interval);
    EXPECT_EQ(2, s.cellSize);
    EXPECT_EQ(0x804060, s.color);
}

TEST_F(StoredSettingsTest, ValidValuesAreReadAsStored) {
    putDword(L"interval", 300);
    putDword(L"size", 7);
    putDword(L"color", 0x00FF00);
    const Settings s = load();
    EXPECT_EQ(300, s.interval);
    EXPECT_EQ(7, s.cellSize);
    EXPECT_EQ(0x00FF00, s.color);
}

TEST_F(StoredSettingsTest, EachMissingValueFallsBackAlone) {
    putDword(L"size", 9);
    const Settings s = load();
    EXPECT_EQ(50, s.interval);
    EXPECT_EQ(9, s.cellSize);
    EXPECT_EQ(0x804060, s.color);
}

TEST_F(StoredSettingsTest, IntervalStoredAsAStringFallsBackAlone) {
    put(L"interval", REG_SZ, L"300", 4 * sizeof(wchar_t));
    putDword(L"size", 4);
    putDword(L"color", 0x123456);
    const Settings s = load();
    EXPECT_EQ(50, s.interval);
    EXPECT_EQ(4, s.cellSize);
    EXPECT_EQ(0x123456, s.color);
}

TEST_F(StoredSettingsTest, ValuesOfTheWrongSizeFallBack) {
    putDword(L"interval", 300);
    const ULONGLONG wideSize = 5;
    put(L"size", REG_DWORD, &wideSize, sizeof(wideSize));
    const WORD shortColor = 0x1234;
    put(L"color", REG_DWORD, &shortColor, sizeof(shortColor));
    const Settings s = load();
    EXPECT_EQ(300, s.interval);
    EXPECT_EQ(2, s.cellSize);
    EXPECT_EQ(0x804060, s.color);
}

TEST_F(StoredSettingsTest, QwordSizeFallsBack) {
    const ULONGLONG wideSize = 5;
    put(L"size", REG_QWORD, &wideSize, sizeof(wideSize));
    EXPECT_EQ(2, load().cellSize);
}

TEST_F(StoredSettingsTest, IntervalKeepsZeroToOneThousandAndRepairsTheRest) {
    const struct { DWORD stored; int expected; } cases[] = {
        {0, 0}, {1000, 1000}, {1001, 50}, {0xFFFFFFFF, 50}, {0x80000000, 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        putDword(L"interval", c.stored);
        EXPECT_EQ(c.expected, load().interval);
    }
}

TEST_F(StoredSettingsTest, CellSizeKeepsOneToTenAndRepairsTheRest) {
    const struct { DWORD stored; int expected; } cases[] = {{1, 1}, {10, 10}, {0, 2}, {11, 2}, {0xFFFFFFFF, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        putDword(L"size", c.stored);
        EXPECT_EQ(c.expected, load().cellSize);
    }
}

TEST_F(StoredSettingsTest, ColorWithTheTopByteSetIsUsedAsIs) {
    putDword(L"color", 0xFF804060);
    EXPECT_EQ(static_cast<int>(0xFF804060), load().color);
}

TEST_F(SettingsStoreTest, StoreCreatesTheKeyAndWritesThreeDwords) {
    storeSettings(SCRATCH_PATH, 0, 10, static_cast<int>(0xFF000001));
    const RawValue interval = readRaw(SCRATCH_PATH, L"interval");
    const RawValue size = readRaw(SCRATCH_PATH, L"size");
    const RawValue color = readRaw(SCRATCH_PATH, L"color");
    for (const RawValue& v : {interval, size, color}) {
        ASSERT_EQ(ERROR_SUCCESS, v.status);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), v.type);
        EXPECT_EQ(4u, v.size);
    }
    EXPECT_EQ(0u, interval.data);
    EXPECT_EQ(10u, size.data);
    EXPECT_EQ(0xFF000001u, color.data);
}

TEST_F(StoredSettingsTest, StoreReplacesValuesOfAnotherTypeAndLoadReadsThemBack) {
    put(L"interval", REG_SZ, L"300", 4 * sizeof(wchar_t));
    storeSettings(SCRATCH_PATH, 1000, 1, 0x804060);
    const Settings s = load();
    EXPECT_EQ(1000, s.interval);
    EXPECT_EQ(1, s.cellSize);
    EXPECT_EQ(0x804060, s.color);
}

TEST_F(SettingsStoreTest, StoreFailureThrowsTheCreateMessage) {
    // A volatile key cannot get a non-volatile sub-key, so creating the settings key fails.
    RawKey parent;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str(), 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent.handle, nullptr));
    const std::wstring path = SCRATCH_PATH + L"\\Orlivex";
    try {
        storeSettings(path, 50, 2, 0x804060);
        ADD_FAILURE() << "no klib::RegException thrown";
    } catch (const klib::RegException& e) {
        EXPECT_EQ(L"::RegCreateKeyEx(" + path + L") failed", e.getMessage());
        EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, e.getErrorCode());
    }
    EXPECT_FALSE(keyExists(path));
}

// The product key itself, touched only when this user has no settings there yet.
class ProductKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (keyExists(L"Software\\Kuroko")) GTEST_SKIP() << "the user's own settings are left alone";
        owned = true;
    }
    void TearDown() override {
        if (owned) RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kuroko");
    }
    bool owned = false;
};

TEST_F(ProductKeyTest, SettingsLiveUnderTheKurokoOrlivexKey) {
    storeSettings(20, 3, 0x010203);
    EXPECT_EQ(20u, readRaw(L"Software\\Kuroko\\Orlivex", L"interval").data);
    EXPECT_EQ(3u, readRaw(L"Software\\Kuroko\\Orlivex", L"size").data);
    EXPECT_EQ(0x010203u, readRaw(L"Software\\Kuroko\\Orlivex", L"color").data);
    int interval = 0, cellSize = 0, color = 0;
    loadStoredSettings(interval, cellSize, color);
    EXPECT_EQ(20, interval);
    EXPECT_EQ(3, cellSize);
    EXPECT_EQ(0x010203, color);
}

}  // namespace
