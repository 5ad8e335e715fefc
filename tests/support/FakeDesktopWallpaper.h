#pragma once

// IDesktopWallpaper is declared for Windows 8 and later only.
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0602
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#endif

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

namespace testing_support {

// A desktop's wallpaper settings as IDesktopWallpaper reports them, for systems (Wine) that lack
// the class. Lives on the stack: the reference count only shows that callers balance AddRef and
// Release. failRect and failWallpaper make one monitor's call fail.
class FakeDesktopWallpaper final : public IDesktopWallpaper {
public:
    struct Monitor {
        std::wstring id;
        RECT rect;
        std::wstring wallpaper;
    };

    std::vector<Monitor> monitors;
    DESKTOP_WALLPAPER_POSITION position = DWPOS_FILL;
    COLORREF background = RGB(0, 0, 0);
    bool backgroundFails = false;
    bool positionFails = false;
    std::wstring failRect, failWallpaper;
    LONG references = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDesktopWallpaper) {
            *object = static_cast<IDesktopWallpaper*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

    HRESULT STDMETHODCALLTYPE GetWallpaper(LPCWSTR monitorId, LPWSTR* wallpaper) override {
        if (wallpaper == nullptr) return E_POINTER;
        *wallpaper = nullptr;
        const Monitor* const monitor = find(monitorId);
        if (monitor == nullptr) return E_INVALIDARG;
        if (monitor->id == failWallpaper) return E_FAIL;
        return copy(monitor->wallpaper, wallpaper);
    }
    HRESULT STDMETHODCALLTYPE GetMonitorDevicePathAt(UINT index, LPWSTR* monitorId) override {
        if (monitorId == nullptr) return E_POINTER;
        *monitorId = nullptr;
        if (index >= monitors.size()) return E_INVALIDARG;
        return copy(monitors[index].id, monitorId);
    }
    HRESULT STDMETHODCALLTYPE GetMonitorDevicePathCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = static_cast<UINT>(monitors.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMonitorRECT(LPCWSTR monitorId, RECT* rect) override {
        if (rect == nullptr) return E_POINTER;
        const Monitor* const monitor = find(monitorId);
        if (monitor == nullptr) return E_INVALIDARG;
        // As for a monitor that is attached but not active.
        if (monitor->id == failRect) return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
        *rect = monitor->rect;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBackgroundColor(COLORREF* colour) override {
        if (colour == nullptr) return E_POINTER;
        *colour = RGB(255, 0, 255);  // a failed call's output is not to be trusted
        if (backgroundFails) return E_FAIL;
        *colour = background;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPosition(DESKTOP_WALLPAPER_POSITION* where) override {
        if (where == nullptr) return E_POINTER;
        if (positionFails) return E_FAIL;
        *where = position;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetWallpaper(LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBackgroundColor(COLORREF) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPosition(DESKTOP_WALLPAPER_POSITION) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSlideshow(IShellItemArray*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSlideshow(IShellItemArray** items) override {
        if (items != nullptr) *items = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetSlideshowOptions(DESKTOP_SLIDESHOW_OPTIONS, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSlideshowOptions(DESKTOP_SLIDESHOW_OPTIONS*, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AdvanceSlideshow(LPCWSTR, DESKTOP_SLIDESHOW_DIRECTION) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStatus(DESKTOP_SLIDESHOW_STATE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Enable(BOOL) override { return E_NOTIMPL; }

private:
    const Monitor* find(LPCWSTR monitorId) const noexcept {
        if (monitorId == nullptr) return nullptr;
        for (const Monitor& monitor : monitors)
            if (monitor.id == monitorId) return &monitor;
        return nullptr;
    }
    // The caller frees the copy with CoTaskMemFree, as it would the system's.
    static HRESULT copy(const std::wstring& text, LPWSTR* out) noexcept {
        const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
        if (*out == nullptr) return E_OUTOFMEMORY;
        CopyMemory(*out, text.c_str(), bytes);
        return S_OK;
    }
};

}  // namespace testing_support
