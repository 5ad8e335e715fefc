#pragma once

// A desktop of its own for orlivex.scr /s, as the system starts a saver after the idle time, and the
// wallpaper a test gives the desktops. The test process sees only its own desktop: a thread that owns
// no window joins the saver's to find its window there and capture it.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "tests/support/E2eProcess.h"
#include "tests/support/E2eScreen.h"
#include "tests/support/E2eWindows.h"

namespace e2e {

inline std::wstring readString(HKEY key, const wchar_t* name, bool* present) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t), type = 0;
    *present = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
               type == REG_SZ;
    return *present ? std::wstring(text) : std::wstring();
}

inline void writeString(HKEY key, const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The desktop's wallpaper for a test: the file, WallpaperStyle and TileWallpaper; all of it as it was
// when the holder goes.
class WallpaperSetting {
public:
    WallpaperSetting() {
        wchar_t path[MAX_PATH * 4] = {};
        SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 4, path, 0);
        oldPath_ = path;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        oldStyle_ = readString(key_, L"WallpaperStyle", &hadStyle_);
        oldTile_ = readString(key_, L"TileWallpaper", &hadTile_);
    }
    WallpaperSetting(const WallpaperSetting&) = delete;
    WallpaperSetting& operator=(const WallpaperSetting&) = delete;
    ~WallpaperSetting() {
        const auto restore = [&](const wchar_t* name, bool had, const std::wstring& text) {
            if (had)
                writeString(key_, name, text);
            else
                RegDeleteValueW(key_, name);
        };
        restore(L"WallpaperStyle", hadStyle_, oldStyle_);
        restore(L"TileWallpaper", hadTile_, oldTile_);
        RegCloseKey(key_);
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(oldPath_.c_str()), SPIF_UPDATEINIFILE);
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
    HKEY key_ = nullptr;
    std::wstring oldPath_, oldStyle_, oldTile_;
    bool hadStyle_ = false, hadTile_ = false;
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

// orlivex.scr /s started on desktop as the system starts it there; ended when the holder goes.
class SaverOnDesktop {
public:
    explicit SaverOnDesktop(const std::wstring& desktop) {
        std::wstring commandLine = L"\"" + saverPath() + L"\" /s";
        std::wstring station = L"WinSta0\\" + desktop;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.lpDesktop = &station[0];
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            info_ = PROCESS_INFORMATION{};
    }
    SaverOnDesktop(const SaverOnDesktop&) = delete;
    SaverOnDesktop& operator=(const SaverOnDesktop&) = delete;
    ~SaverOnDesktop() {
        if (!info_.hProcess) return;
        TerminateProcess(info_.hProcess, 255);
        WaitForSingleObject(info_.hProcess, PROMPTLY_MS);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};

// Polls (until timeoutMs) for the first paint of process pid's visible window on the calling thread's
// desktop: the window's area in black and colour only, with live cells. Empty on time-out. It may run
// on a thread without a toolkit: a thread that joins another desktop owns no window, so it polls
// without pumping.
inline Capture waitForFirstPaint(DWORD pid, COLORREF colour, DWORD timeoutMs) {
    Capture painted;
    const auto poll = [](const std::function<bool()>& condition, DWORD withinMs) {
        const ULONGLONG deadline = GetTickCount64() + withinMs;
        while (!condition()) {
            if (GetTickCount64() >= deadline) return false;
            MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        return true;
    };
    poll(
        [&] {
            std::pair<DWORD, HWND> search{pid, nullptr};
            EnumDesktopWindows(
                GetThreadDesktop(GetCurrentThreadId()),
                [](HWND window, LPARAM context) -> BOOL {
                    auto* s = reinterpret_cast<std::pair<DWORD, HWND>*>(context);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    RECT rect{};
                    GetWindowRect(window, &rect);
                    // The largest: the saver's window over the whole screen.
                    RECT held{};
                    if (s->second) GetWindowRect(s->second, &held);
                    if (owner == s->first && IsWindowVisible(window) &&
                        (rect.right - rect.left) * (rect.bottom - rect.top) > (held.right - held.left) * (held.bottom - held.top))
                        s->second = window;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (!search.second) return false;
            Capture capture;
            try {
                capture = captureScreen(rectOf(search.second));
            } catch (const std::exception&) {
                return false;  // the window went, or is not yet shown, while it was read
            }
            const auto isCell = [colour](std::uint32_t p) { return p == 0 || p == rgbOf(colour); };
            if (!std::all_of(capture.pixels.begin(), capture.pixels.end(), isCell) ||
                std::all_of(capture.pixels.begin(), capture.pixels.end(), [](std::uint32_t p) { return p == 0; }))
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
        if (!desktop) return 1;
        if (SetThreadDesktop(desktop)) j.capture = waitForFirstPaint(j.pid, j.colour, STARTUP_MS);
        CloseDesktop(desktop);
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
