#include "klib/RegistryKey.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <string>
#include <thread>

#include "klib/Exception.h"
#include "klib/Strings.h"

namespace {

const std::wstring SCRATCH_PATH = L"Software\\OrlivexTest.RegistryKey";

// Closes a key the test opened through the raw API.
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

template <typename F>
void expectRegException(F&& action, const std::wstring& message, int code) {
    try {
        action();
        ADD_FAILURE() << "no klib::RegException thrown";
    } catch (const klib::RegException& e) {
        EXPECT_EQ(message, e.getMessage());
        EXPECT_EQ(code, e.getErrorCode());
    }
}

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str()); }
};

// The scratch key exists and a raw handle to it is at hand for writing test values.
class RegistryValueTest : public RegistryKeyTest {
protected:
    void SetUp() override {
        RegistryKeyTest::SetUp();
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &raw.handle, nullptr));
    }
    void TearDown() override {
        RegCloseKey(raw.handle);
        raw.handle = nullptr;
        RegistryKeyTest::TearDown();
    }

    void put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(raw.handle, name, 0, type, static_cast<const BYTE*>(data), size));
    }
    void putDword(const wchar_t* name, DWORD value) { put(name, REG_DWORD, &value, sizeof(value)); }

    RawKey raw;
};

TEST_F(RegistryKeyTest, OpeningAMissingKeyThrowsWithStatusTwoAndCreatesNothing) {
    expectRegException([] { klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ); },
                       L"::RegOpenKeyEx(" + SCRATCH_PATH + L") failed", ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(keyExists(SCRATCH_PATH));
}

TEST_F(RegistryKeyTest, WriteRightsWithoutTheCreateSubKeyBitOnlyOpen) {
    expectRegException([] { klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_QUERY_VALUE | KEY_SET_VALUE); },
                       L"::RegOpenKeyEx(" + SCRATCH_PATH + L") failed", ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(keyExists(SCRATCH_PATH));
}

TEST_F(RegistryKeyTest, ReadWriteAccessCreatesAMissingKeyWithItsParents) {
    const std::wstring nested = SCRATCH_PATH + L"\\a\\b";
    { klib::RegistryKey key(HKEY_CURRENT_USER, nested, KEY_READ | KEY_WRITE); }
    EXPECT_TRUE(keyExists(nested));
}

TEST_F(RegistryKeyTest, CreateSubKeyBitAloneCreatesTheKey) {
    { klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_CREATE_SUB_KEY); }
    EXPECT_TRUE(keyExists(SCRATCH_PATH));
}

TEST_F(RegistryKeyTest, InvalidRootFailsOpenWithTheOpenMessage) {
    const HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
    expectRegException([bogus] { klib::RegistryKey key(bogus, L"x", KEY_READ); },
                       L"::RegOpenKeyEx(x) failed", ERROR_INVALID_HANDLE);
}

TEST_F(RegistryKeyTest, InvalidRootFailsCreateWithTheCreateMessage) {
    const HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
    expectRegException([bogus] { klib::RegistryKey key(bogus, L"x", KEY_READ | KEY_WRITE); },
                       L"::RegCreateKeyEx(x) failed", ERROR_INVALID_HANDLE);
}

TEST_F(RegistryValueTest, EmptyPathOpensTheRootItself) {
    putDword(L"v", 7);
    const klib::RegistryKey key(raw.handle, L"", KEY_READ);
    EXPECT_EQ(7, key.getInt(L"v"));
}

TEST_F(RegistryValueTest, EmptyPathWithCreateAccessAlsoOpensTheRootItself) {
    klib::RegistryKey key(raw.handle, L"", KEY_READ | KEY_WRITE);
    key.setInt(L"v", 8);
    DWORD data = 0;
    DWORD size = sizeof(data);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(raw.handle, L"v", nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size));
    EXPECT_EQ(8u, data);
}

TEST_F(RegistryValueTest, ReadsAFourByteDword) {
    putDword(L"v", 0x12345678);
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    EXPECT_EQ(0x12345678, key.getInt(L"v"));
}

TEST_F(RegistryValueTest, MissingValueThrowsTheQueryMessageWithStatusTwo) {
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    expectRegException([&key] { key.getInt(L"missing"); }, L"::RegQueryValueEx(missing) failed", ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValueTest, StringValueThrowsTypeMismatchOne) {
    put(L"v", REG_SZ, L"50", 3 * sizeof(wchar_t));
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    expectRegException([&key] { key.getInt(L"v"); }, L"type missmatch: 1", 0);
}

TEST_F(RegistryValueTest, TwoByteDwordThrowsSizeMismatchTwo) {
    const WORD shortValue = 0x1234;
    put(L"v", REG_DWORD, &shortValue, sizeof(shortValue));
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    expectRegException([&key] { key.getInt(L"v"); }, L"size missmatch: 2", 0);
}

TEST_F(RegistryValueTest, QwordReportsTheTypeBeforeTheSize) {
    const ULONGLONG wide = 5;
    put(L"v", REG_QWORD, &wide, sizeof(wide));
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    expectRegException([&key] { key.getInt(L"v"); }, L"type missmatch: 11", 0);
}

TEST_F(RegistryValueTest, DefaultReplacesMissingMistypedAndMissizedValues) {
    put(L"text", REG_SZ, L"50", 3 * sizeof(wchar_t));
    const WORD shortValue = 0x1234;
    put(L"short", REG_DWORD, &shortValue, sizeof(shortValue));
    const ULONGLONG wide = 5;
    put(L"wide", REG_QWORD, &wide, sizeof(wide));
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    EXPECT_EQ(5, key.getInt(L"missing", 5));
    EXPECT_EQ(5, key.getInt(L"text", 5));
    EXPECT_EQ(5, key.getInt(L"short", 5));
    EXPECT_EQ(-3, key.getInt(L"wide", -3));
}

TEST_F(RegistryValueTest, DefaultIsIgnoredWhenTheValueIsValid) {
    putDword(L"v", 0);
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    EXPECT_EQ(0, key.getInt(L"v", 5));
}

TEST_F(RegistryValueTest, DefaultReplacesAValueTheHandleMayNotRead) {
    putDword(L"v", 1);
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_SET_VALUE);
    expectRegException([&key] { key.getInt(L"v"); }, L"::RegQueryValueEx(v) failed", ERROR_ACCESS_DENIED);
    EXPECT_EQ(5, key.getInt(L"v", 5));
}

TEST_F(RegistryValueTest, NullStringNameReadsTheDefaultValue) {
    putDword(nullptr, 42);
    putDword(L"named", 1);
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    EXPECT_EQ(42, key.getInt(klib::nullString));
}

TEST_F(RegistryValueTest, NullStringNameWritesTheDefaultValue) {
    klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ | KEY_WRITE);
    key.setInt(klib::nullString, 43);
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof(data);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(raw.handle, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(43u, data);
}

TEST_F(RegistryValueTest, SetIntStoresAllThirtyTwoBitsAsAFourByteDword) {
    klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ | KEY_WRITE);
    key.setInt(L"v", -2);
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof(data);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(raw.handle, L"v", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(4u, size);
    EXPECT_EQ(0xFFFFFFFEu, data);
}

TEST_F(RegistryValueTest, SetIntRoundTripsTheExtremes) {
    klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ | KEY_WRITE);
    for (const int value : {INT_MIN, -1, 0, 1, INT_MAX}) {
        key.setInt(L"v", value);
        EXPECT_EQ(value, key.getInt(L"v"));
    }
}

TEST_F(RegistryValueTest, SetIntReplacesAValueOfAnotherType) {
    put(L"v", REG_SZ, L"50", 3 * sizeof(wchar_t));
    klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ | KEY_WRITE);
    key.setInt(L"v", 50);
    EXPECT_EQ(50, key.getInt(L"v"));
}

TEST_F(RegistryValueTest, SetIntOnAReadOnlyKeyThrowsTheSetMessage) {
    klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    expectRegException([&key] { key.setInt(L"v", 1); }, L"::RegSetValueEx(v) failed", ERROR_ACCESS_DENIED);
}

// A writer flips the value between a 4-byte DWORD, a 2-byte DWORD and an 8-byte DWORD while
// reads run: each read must give the whole 4-byte value or one of the registry failures,
// never a partly filled or overrun buffer.
TEST_F(RegistryValueTest, ValueResizedBetweenTheTwoQueriesIsNeverReadPartly) {
    const DWORD full = 0x11223344;
    putDword(L"v", full);
    std::atomic<bool> stop{false};
    std::thread writer([&stop] {
        RawKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str(), 0, KEY_SET_VALUE, &key.handle) != ERROR_SUCCESS) return;
        const BYTE bytes[8] = {0x44, 0x33, 0x22, 0x11, 0x55, 0x66, 0x77, 0x88};
        for (int i = 0; !stop.load(); ++i) {
            const DWORD size = (i % 3 == 0) ? 4 : (i % 3 == 1) ? 2 : 8;
            RegSetValueExW(key.handle, L"v", 0, REG_DWORD, bytes, size);
        }
    });
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    for (int i = 0; i < 3000; ++i) {
        try {
            EXPECT_EQ(static_cast<int>(full), key.getInt(L"v"));
        } catch (const klib::RegException& e) {
            const std::wstring& m = e.getMessage();
            const bool expected = m == L"size missmatch: 2" || m == L"size missmatch: 8" ||
                                  (m == L"::RegQueryValueEx(v) failed" && e.getErrorCode() == ERROR_MORE_DATA);
            EXPECT_TRUE(expected) << "unexpected failure, code " << e.getErrorCode();
        }
    }
    stop = true;
    writer.join();
}

}  // namespace
