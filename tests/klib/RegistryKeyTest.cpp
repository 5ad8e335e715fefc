#include "klib/Exception.h"
#include "klib/RegistryKey.h"
#include "klib/Strings.h"
#include "tests/support/ExpectThrows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace {

const std::wstring SCRATCH_PATH = L"Software\\OrlivexTest.RegistryKey";
const BYTE VALUE[8] = {0x44, 0x33, 0x22, 0x11, 0x55, 0x66, 0x77, 0x88};  // as a DWORD: 0x11223344

// A key opened behind the code under test; null when the open failed.
using RawKey = std::unique_ptr<HKEY__, decltype(&RegCloseKey)>;
RawKey openRaw(const std::wstring& path) {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    return RawKey(key, &RegCloseKey);
}

template <typename F>
void expectRegException(F&& action, const std::wstring& message, int code) {
    testing_support::expectThrows<klib::RegException>(action, L"class klib::RegException: " + message + L": " +
                                                                  klib::toString(code));
}

// Stores a test value behind the code under test, creating the scratch key first if need be.
void put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str(), name, type, data, size), ERROR_SUCCESS);
}

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_PATH.c_str()); }
};

TEST_F(RegistryKeyTest, OnlyTheCreateSubKeyBitCreatesAMissingKeyAndFailuresNameTheCall) {
    for (const REGSAM access : {REGSAM{KEY_READ}, REGSAM{KEY_QUERY_VALUE | KEY_SET_VALUE}}) {
        expectRegException([access] { klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, access); },
                           L"::RegOpenKeyEx(" + SCRATCH_PATH + L") failed", ERROR_FILE_NOT_FOUND);
        EXPECT_FALSE(openRaw(SCRATCH_PATH));
    }
    { const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_CREATE_SUB_KEY); }
    EXPECT_TRUE(openRaw(SCRATCH_PATH));
    { const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH + L"\\a\\b", KEY_READ | KEY_WRITE); }
    EXPECT_TRUE(openRaw(SCRATCH_PATH + L"\\a\\b"));
    const HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
    expectRegException([bogus] { klib::RegistryKey key(bogus, L"x", KEY_READ); }, L"::RegOpenKeyEx(x) failed",
                       ERROR_INVALID_HANDLE);
    expectRegException([bogus] { klib::RegistryKey key(bogus, L"x", KEY_READ | KEY_WRITE); },
                       L"::RegCreateKeyEx(x) failed", ERROR_INVALID_HANDLE);
}

TEST_F(RegistryKeyTest, GetIntReadsOnlyAFourByteDwordAndElseThrowsOrGivesTheDefault) {
    put(L"valid", REG_DWORD, VALUE, 4);
    put(L"short", REG_DWORD, VALUE, 2);
    put(L"wide", REG_QWORD, VALUE, 8);
    put(L"text", REG_SZ, L"50", 3 * sizeof(wchar_t));
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    EXPECT_EQ(key.getInt(L"valid", 5), 0x11223344);
    const struct { const wchar_t* name; const wchar_t* message; int code; } failures[] = {
        {L"text", L"type mismatch: 1", 0}, {L"short", L"size mismatch: 2", 0},
        {L"wide", L"type mismatch: 11", 0},  // the type is checked before the size
        {L"missing", L"::RegQueryValueEx(missing) failed", ERROR_FILE_NOT_FOUND}};
    for (const auto& f : failures) {
        expectRegException([&] { key.getInt(f.name); }, f.message, f.code);
        EXPECT_EQ(key.getInt(f.name, -3), -3);
    }
}

// Wallpaper settings are strings: "10", "1", a path. A value without its terminating null, or with
// text after one, reads up to the first null or the end; odd byte counts and other types are refused.
TEST_F(RegistryKeyTest, GetStringReadsWholeCharactersOfAStringValueAndElseThrowsOrGivesTheDefault) {
    put(L"style", REG_SZ, L"10", 3 * sizeof(wchar_t));
    put(L"unterminated", REG_SZ, L"22", 2 * sizeof(wchar_t));
    put(L"embedded", REG_SZ, L"6\0junk", 7 * sizeof(wchar_t));
    put(L"empty", REG_SZ, L"", 0);
    put(L"expand", REG_EXPAND_SZ, L"%APPDATA%", 10 * sizeof(wchar_t));
    put(L"odd", REG_SZ, L"10", 3);
    put(L"number", REG_DWORD, VALUE, 4);
    put(L"multi", REG_MULTI_SZ, L"1\0\0", 3 * sizeof(wchar_t));
    const std::wstring longPath(300, L'x');
    put(L"long", REG_SZ, longPath.c_str(), static_cast<DWORD>((longPath.size() + 1) * sizeof(wchar_t)));
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    const struct { const wchar_t* name; std::wstring text; } reads[] = {
        {L"style", L"10"}, {L"unterminated", L"22"}, {L"embedded", L"6"}, {L"empty", L""},
        {L"expand", L"%APPDATA%"}, {L"long", longPath}};
    for (const auto& r : reads) EXPECT_EQ(key.getString(r.name, L"?"), r.text) << r.name;
    const struct { const wchar_t* name; const wchar_t* message; int code; } failures[] = {
        {L"odd", L"size mismatch: 3", 0}, {L"number", L"type mismatch: 4", 0}, {L"multi", L"type mismatch: 7", 0},
        {L"missing", L"::RegQueryValueEx(missing) failed", ERROR_FILE_NOT_FOUND}};
    for (const auto& f : failures) {
        expectRegException([&] { key.getString(f.name); }, f.message, f.code);
        EXPECT_EQ(key.getString(f.name, L"-"), L"-");
    }
}

// An empty path opens the root key itself.
TEST_F(RegistryKeyTest, SetIntStoresAFourByteDwordAndAReadOnlyKeyRefusesIt) {
    put(L"v", REG_SZ, L"50", 3 * sizeof(wchar_t));
    const RawKey root = openRaw(SCRATCH_PATH);
    klib::RegistryKey key(root.get(), L"", KEY_READ | KEY_WRITE);
    key.setInt(L"v", -2);
    DWORD type = REG_NONE, data = 0, size = 8;
    RegQueryValueExW(root.get(), L"v", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data, 0xFFFFFFFEu);
    EXPECT_EQ(key.getInt(L"v"), -2);
    klib::RegistryKey readOnly(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    expectRegException([&] { readOnly.setInt(L"v", 1); }, L"::RegSetValueEx(v) failed", ERROR_ACCESS_DENIED);
}

// A writer flips the value between 2, 4 and 8 bytes while reads run: a read gives the whole value
// or fails, never a partly filled or overrun buffer. A failed read gives the default, which differs.
TEST_F(RegistryKeyTest, ValueResizedBetweenTheTwoQueriesIsNeverReadPartly) {
    put(L"v", REG_DWORD, VALUE, 4);
    std::atomic<bool> stop{false};
    std::thread writer([&stop] {
        const RawKey key = openRaw(SCRATCH_PATH);
        for (DWORD i = 0; !stop; ++i) RegSetValueExW(key.get(), L"v", 0, REG_DWORD, VALUE, 2u << (i % 3));
    });
    const klib::RegistryKey key(HKEY_CURRENT_USER, SCRATCH_PATH, KEY_READ);
    int partial = 0;
    int whole = 0;
    for (int i = 0; i < 3000; ++i) {
        const int read = key.getInt(L"v", -7);
        whole += read == 0x11223344;
        partial += read != 0x11223344 && read != -7;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(partial, 0);
    EXPECT_GT(whole, 0);
}

}  // namespace
