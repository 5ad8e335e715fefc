#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "awt/DibSurface.h"
#include "awt/Screen.h"

// Support for driving the real orlivex.scr the way the screen-saver host does.
namespace e2e {

constexpr DWORD STARTUP_MS = 15000;
constexpr DWORD PROMPTLY_MS = 5000;
constexpr int DEFAULT_COLOUR = 0x804060;
const wchar_t* const TITLE = L"Orlivex Screen Saver";

// orlivex.scr of this build: one folder above the test program.
std::wstring saverPath();

// A child process, ended and closed when the holder goes.
class Process {
public:
    // With a locale (such as "ja_JP.UTF-8") the program runs with LC_ALL and LANG set to it: Wine
    // takes the user-interface language from them.
    explicit Process(const std::wstring& arguments, const char* locale = nullptr);
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    // True when the process ended within timeoutMs.
    bool waitExit(DWORD timeoutMs);
    bool running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD exitCode() const;
    DWORD id() const noexcept { return info_.dwProcessId; }

private:
    void startWithLocale(const std::wstring& arguments, const char* locale);

    PROCESS_INFORMATION info_{};
};

// Pumps this thread's messages until condition() holds or timeoutMs passes.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The visible top-level windows of process pid, in z-order from the top.
std::vector<HWND> windowsOf(DWORD pid);
// Waits for a visible top-level window of pid; null on time-out.
HWND waitForWindow(DWORD pid, DWORD timeoutMs);
// The child windows of window and theirs, all levels down.
std::vector<HWND> descendants(HWND window);
std::wstring classOf(HWND window);
// The text of a window of another process: asked of the window itself, as GetWindowText does not
// for controls of other processes.
std::wstring textOf(HWND window);
RECT rectOf(HWND window);
// The window with the keyboard focus on the thread of window; null when there is none.
HWND focusOf(HWND window);
// Waits until dialog is the foreground window with one of its controls focused, so keys reach it.
bool waitUntilReadyForKeys(HWND dialog);
// Waits for a message box of process pid with the program's title; its text, or empty on time-out.
std::wstring waitForMessageBox(DWORD pid, HWND* box);

// A copy of the screen (or a part of it) as 0x00RRGGBB values, top row first.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
RECT screenRect();
Capture captureScreen(const RECT& area = screenRect());
inline std::uint32_t rgbOf(COLORREF colour) { return awt::DibSurface::toPixel(colour); }
// Live pixels (of colour) in area, or -1 when a pixel is neither black nor colour.
int livePixels(const RECT& area, COLORREF colour);

// The rectangle of the virtual screen around every monitor (awt::getMonitorRectangles).
RECT virtualScreen();

int screenDpi();
// A gap of Wine 10 (ORLIVEX_WINE=10, set by tools/with-wine.sh): on an X server with Xinerama and
// without RandR, the only way to give it several monitors here, it reports every monitor with the
// primary's rectangle. True when the system's own monitor list shows that.
bool wine10ShowsOneRectangleForEveryMonitor();
// Fails unless the display is what the run set up: ORLIVEX_E2E_MONITORS monitors, one left of the
// primary, and ORLIVEX_E2E_DPI; a plain display there would let the tests prove nothing.
void expectRequestedDisplay();

// Real X input: runs xdotool with these arguments (Wine starts Unix programs directly).
void xdotool(const std::string& arguments);
// The xdotool arguments that move the pointer to x, y: X puts the virtual screen's corner at 0,0.
std::string mouseMove(int x, int y);
// Moves the pointer to x, y by a real move (away and back) and waits until the system has it there.
void movePointer(int x, int y);
// Clicks the middle of window once the pointer would find it there.
void click(HWND window);

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

// A topmost window that covers an area (a monitor) with a known picture: a horizontal grey ramp,
// grey level ((x - left) * 256 / width), so every band of 32 grey levels is one eighth of it wide.
class GreyRamp {
public:
    explicit GreyRamp(const RECT& area);
    GreyRamp(const GreyRamp&) = delete;
    GreyRamp& operator=(const GreyRamp&) = delete;
    ~GreyRamp() { DestroyWindow(window_); }
    static int greyAt(int x, int width) { return x * 256 / width; }

private:
    HWND window_ = nullptr;
};

// Runs orlivex.scr /s over the settings a test stores; ends it before the pictures under it go.
class SaverFixture : public ::testing::Test {
protected:
    void TearDown() override;
    // Starts the saver over the ramps and waits for its first paint: the middle row black and colour,
    // with live pixels.
    void startSaver(COLORREF colour);
    void expectEndsPromptlyWithZero();
    void expectStillRunningAfter(DWORD ms) { EXPECT_FALSE(saver->waitExit(ms)) << "ended without a reason"; }

    StoredSettings settings;
    std::vector<std::unique_ptr<GreyRamp>> ramps;
    std::unique_ptr<Process> saver;
    HWND window = nullptr;
};

}  // namespace e2e
