// IDesktopWallpaper is declared for Windows 8 and later only; it is asked for at run time, and the
// classic settings serve where it is missing.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602

#include "app/Wallpaper.h"

#include "klib/ComPtr.h"
#include "klib/Exception.h"
#include "klib/RegistryKey.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <exception>

namespace {

// A string a COM call hands out, freed with CoTaskMemFree.
class TaskString {
public:
    TaskString() noexcept = default;
    TaskString(const TaskString&) = delete;
    TaskString& operator=(const TaskString&) = delete;
    ~TaskString() { CoTaskMemFree(text); }
    LPWSTR* put() noexcept {
        CoTaskMemFree(text);
        text = nullptr;
        return &text;
    }
    std::wstring str() const { return text != nullptr ? std::wstring(text) : std::wstring(); }

private:
    LPWSTR text = nullptr;
};

// Whether the class is registered at all: asked for a class it lacks, COM may take seconds to say so
// (Wine starts its service for servers of other processes first), seconds the seeding cannot spare.
bool desktopWallpaperRegistered() noexcept {
    try {
        const klib::RegistryKey key(HKEY_CLASSES_ROOT, L"CLSID\\{C2CF3110-460E-4fc1-B9D0-8A1C0C9CC4BD}", KEY_QUERY_VALUE);
        return true;
    } catch (const klib::RegException&) {
        return false;
    }
}

}  // namespace

std::vector<MonitorWallpaper> readDesktopWallpaper(IDesktopWallpaper& source) {
    std::vector<MonitorWallpaper> wallpapers;
    DESKTOP_WALLPAPER_POSITION position = DWPOS_FILL;
    COLORREF background = RGB(0, 0, 0);
    UINT count = 0;
    if (FAILED(source.GetPosition(&position)) || FAILED(source.GetMonitorDevicePathCount(&count))) {
        return wallpapers;
    }
    if (FAILED(source.GetBackgroundColor(&background))) {
        background = GetSysColor(COLOR_DESKTOP);
    }
    for (UINT i = 0; i < count; ++i) {
        TaskString monitorId, path;
        RECT monitor;
        if (FAILED(source.GetMonitorDevicePathAt(i, monitorId.put())) ||
            FAILED(source.GetMonitorRECT(monitorId.str().c_str(), &monitor))) {
            continue;
        }
        const std::wstring picture = SUCCEEDED(source.GetWallpaper(monitorId.str().c_str(), path.put())) ? path.str()
                                                                                                          : L"";
        wallpapers.push_back(MonitorWallpaper{monitor, picture, placementFromPosition(position), background});
    }
    return wallpapers;
}

std::vector<MonitorWallpaper> readClassicWallpaper(const std::vector<RECT>& monitors) {
    std::wstring path(MAX_PATH * 4, L'\0');
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, static_cast<UINT>(path.size()), &path[0], 0)) {
        path.clear();
    }
    path.resize(path.find(L'\0') == std::wstring::npos ? path.size() : path.find(L'\0'));
    std::wstring style, tile;
    try {
        const klib::RegistryKey desktop(HKEY_CURRENT_USER, L"Control Panel\\Desktop", KEY_QUERY_VALUE);
        style = desktop.getString(L"WallpaperStyle", L"");
        tile = desktop.getString(L"TileWallpaper", L"");
    } catch (const klib::RegException&) {
        // No settings: the defaults below.
    }
    const Placement placement = style.empty() && tile.empty() ? Placement::FILL : placementFromStyle(style, tile);
    std::vector<MonitorWallpaper> wallpapers;
    for (const RECT& monitor : monitors) {
        wallpapers.push_back(MonitorWallpaper{monitor, path, placement, GetSysColor(COLOR_DESKTOP)});
    }
    return wallpapers;
}

std::vector<MonitorWallpaper> readSystemWallpaper(const std::vector<RECT>& monitors) {
    klib::ComPtr<IDesktopWallpaper> desktop;
    if (desktopWallpaperRegistered() && SUCCEEDED(CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper,
                                   desktop.putVoid()))) {
        std::vector<MonitorWallpaper> wallpapers = readDesktopWallpaper(*desktop.get());
        if (!wallpapers.empty()) {
            return wallpapers;
        }
    }
    return readClassicWallpaper(monitors);
}

std::vector<std::wstring> transcodedWallpaperPaths() {
    std::vector<std::wstring> paths;
    wchar_t appData[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
        const std::wstring themes = std::wstring(appData) + L"\\Microsoft\\Windows\\Themes\\TranscodedWallpaper";
        paths.push_back(themes);
        paths.push_back(themes + L".jpg");
    }
    return paths;
}
