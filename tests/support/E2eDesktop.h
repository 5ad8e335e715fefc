#pragma once

// A desktop of its own for orlivex.scr /s, as the system starts a saver after the idle time, and the
// wallpaper a test gives the desktops. The test process sees only its own desktop: a thread that owns
// no window joins the saver's to find its window there and capture it.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "tests/support/E2eProcess.h"
#include "tests/support/E2eScreen.h"
#include "tests/support/E2eWindows.h"

namespace e2e {

inline void writeString(HKEY key, const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The desktop's wallpaper for a test: the file, WallpaperStyle and TileWallpaper; all of it as it was
// when the holder goes.
class WallpaperSetting {
public:
    WallpaperSetting() {
        SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 4, oldPath_, 0);
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        for (Value& value : old_) {
            DWORD size = sizeof value.text - sizeof(wchar_t), type = 0;
            value.had = RegQueryValueExW(key_, value.name, nullptr, &type, reinterpret_cast<BYTE*>(value.text),
                                         &size) == ERROR_SUCCESS && type == REG_SZ;
        }
    }
    WallpaperSetting(const WallpaperSetting&) = delete;
    WallpaperSetting& operator=(const WallpaperSetting&) = delete;
    ~WallpaperSetting() {
        for (const Value& value : old_) value.had ? writeString(key_, value.name, value.text)
                                                  : static_cast<void>(RegDeleteValueW(key_, value.name));
        RegCloseKey(key_);
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, oldPath_, SPIF_UPDATEINIFILE);
    }
    // An empty path: no picture, the background colour only.
    bool set(const std::wstring& path, const wchar_t* style, const wchar_t* tile) {
        writeString(key_, L"WallpaperStyle", style);
        writeString(key_, L"TileWallpaper", tile);
        wchar_t readBack[MAX_PATH * 4] = {};
        return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()),
                                     SPIF_UPDATEINIFILE) &&
               SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 4, readBack, 0) && path == readBack;
    }

private:
    struct Value {
        const wchar_t* name;
        bool had;
        wchar_t text[1024];
    };
    HKEY key_ = nullptr;
    wchar_t oldPath_[MAX_PATH * 4] = {};
    Value old_[2] = {{L"WallpaperStyle", false, {}}, {L"TileWallpaper", false, {}}};
};

// A desktop of its own in the interactive window station, of the screen's size; closed, with Wine's
// record of its size, when the holder goes.
class SaverDesktop {
public:
    explicit SaverDesktop(const std::wstring& name) : name_(name) {
        const RECT screen = screenRect();
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &sizes_, nullptr);
        writeString(sizes_, name.c_str(),
                    std::to_wstring(screen.right - screen.left) + L"x" + std::to_wstring(screen.bottom - screen.top));
        desktop_ = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    }
    SaverDesktop(const SaverDesktop&) = delete;
    SaverDesktop& operator=(const SaverDesktop&) = delete;
    ~SaverDesktop() {
        if (desktop_) CloseDesktop(desktop_);
        RegDeleteValueW(sizes_, name_.c_str());
        RegCloseKey(sizes_);
    }
    bool made() const { return desktop_ != nullptr; }
    const std::wstring& name() const { return name_; }

private:
    std::wstring name_;
    HKEY sizes_ = nullptr;
    HDESK desktop_ = nullptr;
};

// Polls (until timeoutMs) for the first paint of process pid's largest visible window, the saver's,
// on the calling thread's desktop: the window's area in black and colour only, with live cells. Empty
// on time-out. It handles no message, so it may run on a thread without a toolkit.
inline Capture waitForFirstPaint(DWORD pid, COLORREF colour, DWORD timeoutMs) {
    Capture painted;
    const auto area = [](HWND window) {
        const RECT r = rectOf(window);
        return (r.right - r.left) * (r.bottom - r.top);
    };
    testing_support::pollUntil(
        [&] {
            const std::vector<HWND> windows = windowsOf(pid);
            if (windows.empty()) return false;
            Capture capture;
            try {
                capture = captureScreen(rectOf(*std::max_element(
                    windows.begin(), windows.end(), [&](HWND a, HWND b) { return area(a) < area(b); })));
            } catch (const std::exception&) {
                return false;  // the window went, or is not yet shown, while it was read
            }
            const auto& pixels = capture.pixels;
            if (!std::all_of(pixels.begin(), pixels.end(), [&](std::uint32_t p) { return p == 0 || p == rgbOf(colour); }) ||
                std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p == 0; }))
                return false;
            painted = std::move(capture);
            return true;
        },
        timeoutMs);
    return painted;
}

// The saver's first paint captured by a thread that joins desktop name (owning no window, it may).
inline Capture firstPaintOnDesktop(const std::wstring& name, DWORD pid, COLORREF colour) {
    struct Job {
        std::wstring name;
        DWORD pid;
        COLORREF colour;
        Capture capture;
    };
    auto job = std::make_unique<Job>(Job{name, pid, colour, {}});
    const auto run = [](void* parameter) -> DWORD {
        Job& j = *static_cast<Job*>(parameter);
        HDESK desktop = OpenDesktopW(j.name.c_str(), 0, FALSE, GENERIC_ALL);
        if (desktop && SetThreadDesktop(desktop)) j.capture = waitForFirstPaint(j.pid, j.colour, STARTUP_MS);
        if (desktop) CloseDesktop(desktop);
        return 0;
    };
    HANDLE thread = CreateThread(nullptr, 0, run, job.get(), 0, nullptr);
    if (!thread) return Capture{};
    // The thread's wait is bounded; this one waits a little longer, and gives up rather than hang.
    const bool ended = WaitForSingleObject(thread, STARTUP_MS + PROMPTLY_MS) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (!ended) {
        job.release();  // still the thread's: it ends with the test program
        return Capture{};
    }
    return std::move(job->capture);
}
}  // namespace e2e
