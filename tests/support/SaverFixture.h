#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/E2eProcess.h"
#include "tests/support/E2eScreen.h"

// The saver's stored settings and a test fixture that runs orlivex.scr /s over them.
namespace e2e {

// The stored settings of the screen saver, written for a test and removed afterwards.
class StoredSettings {
public:
    StoredSettings();
    StoredSettings(const StoredSettings&) = delete;
    StoredSettings& operator=(const StoredSettings&) = delete;
    ~StoredSettings();

    // Stores value as it is in memory: set(L"size", L"10", REG_SZ) a string, set(L"color", WORD{1}) a
    // REG_DWORD of the wrong length.
    template <class T>
    void set(const wchar_t* name, const T& value, DWORD type = REG_DWORD) {
        RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    // The stored REG_DWORD; -1 when there is none, -2 when it is not a REG_DWORD of 4 bytes.
    long long get(const wchar_t* name) const;
    // Makes the key impossible to create: its parent becomes a volatile key, below which no lasting
    // key may be made.
    void makeUnwritable();

private:
    HKEY key_ = nullptr;
};

// Runs orlivex.scr /s over the settings a test stores; ends it before the pictures under it go.
class SaverFixture : public ::testing::Test {
protected:
    void TearDown() override;
    // Starts the saver over the ramps and waits for its first paint: the middle row black and colour,
    // with live pixels.
    void startSaver(COLORREF colour);
    // Waits until the middle row of the screen has changed count times, each within PROMPTLY_MS: count
    // generations drawn. A timer tick comes only once the input queued before it has been handled, so
    // two generations also show that the saver has taken what reached it before.
    bool waitForGenerations(int count);
    void expectEndsPromptlyWithZero();

    StoredSettings settings;
    std::vector<std::unique_ptr<GreyRamp>> ramps;
    std::unique_ptr<Process> saver;
    HWND window = nullptr;
};

}  // namespace e2e
