#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Support for driving the real orlivex.scr the way the screen-saver host does.
namespace e2e {

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
    bool running() const;
    DWORD exitCode() const;
    DWORD id() const noexcept { return info_.dwProcessId; }

private:
    void startWithLocale(const std::wstring& arguments, const char* locale);

    PROCESS_INFORMATION info_{};
};

// Pumps this thread's messages until condition() holds or timeoutMs passes.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The top-level windows of process pid, in z-order from the top.
std::vector<HWND> windowsOf(DWORD pid, bool visibleOnly = true);
// Waits for a visible top-level window of pid; null on time-out.
HWND waitForWindow(DWORD pid, DWORD timeoutMs);

// A copy of the screen (or a part of it) as 0x00RRGGBB values, top row first.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture captureScreen(int x, int y, int width, int height);
Capture captureScreen();
std::uint32_t rgbOf(COLORREF colour);
// Writes a capture as a binary PPM picture, to look at when a test fails.
void savePpm(const Capture& capture, const std::wstring& path);

// The rectangle of every monitor, the primary first.
std::vector<RECT> monitors();

// Real X input: runs xdotool with these arguments (Wine starts Unix programs directly).
void xdotool(const std::string& arguments);

// The text of the message box with this caption owned by process pid, or empty when there is none.
std::wstring messageBoxText(DWORD pid, const wchar_t* caption, HWND* box = nullptr);

// The stored settings of the screen saver, written for a test and removed afterwards.
class StoredSettings {
public:
    StoredSettings();
    StoredSettings(const StoredSettings&) = delete;
    StoredSettings& operator=(const StoredSettings&) = delete;
    ~StoredSettings();

    void setDword(const wchar_t* name, DWORD value);
    void setString(const wchar_t* name, const wchar_t* value);
    // A REG_DWORD value of the wrong length.
    void setShortDword(const wchar_t* name, WORD value);
    bool exists(const wchar_t* name) const;
    // Makes the key impossible to create: its parent becomes a volatile key, below which no lasting
    // key may be made.
    void makeUnwritable();
    DWORD getDword(const wchar_t* name) const;

    static const wchar_t* const path;
    static const wchar_t* const makerPath;
private:
    HKEY key_ = nullptr;
};

// A topmost window that covers the screen with a known picture: a horizontal grey ramp, grey level
// (x * 256 / width), so every band of 32 grey levels is one eighth of the screen wide.
class GreyRamp {
public:
    GreyRamp();
    // The ramp over one area of the screen (a monitor), grey 0 at its left edge.
    explicit GreyRamp(const RECT& area);
    GreyRamp(const GreyRamp&) = delete;
    GreyRamp& operator=(const GreyRamp&) = delete;
    ~GreyRamp();
    static int greyAt(int x, int screenWidth) { return x * 256 / screenWidth; }

private:
    HWND window_ = nullptr;
};

}  // namespace e2e
