#include "awt/Dpi.h"

#include <map>

#include "awt/AWTException.h"
#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/GdiObject.h"
#include "awt/TextMetrics.h"

namespace awt {

namespace {

using SetThreadDpiAwarenessContextFunction = HANDLE(WINAPI*)(HANDLE);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which the Windows 7 headers do not have.
const HANDLE PER_MONITOR_AWARE_V2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

UINT systemDpi() noexcept {
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) return USER_DEFAULT_SCREEN_DPI;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

LOGFONTW messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    static const auto forDpi = user32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        return metrics.lfMessageFont;
    }
    // Older systems know the font only at the system DPI.
    check(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0), L"::SystemParametersInfo");
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi()));
    return font;
}

}  // namespace

bool usePerMonitorV2Awareness() noexcept {
    const auto set = user32Function<SetThreadDpiAwarenessContextFunction>("SetThreadDpiAwarenessContext");
    return set != nullptr && set(PER_MONITOR_AWARE_V2) != nullptr;
}

UINT getWindowDpi(HWND window) noexcept {
    static const auto forWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (window != nullptr && forWindow != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi != 0) return dpi;
    }
    return systemDpi();
}

int scaleForDpi(int value, UINT dpi) noexcept {
    return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

HFONT getDialogFont(UINT dpi) {
    // Shared like a stock font: controls of every dialog at this DPI use the same one.
    static std::map<UINT, GdiObject> fonts;
    const auto found = fonts.find(dpi);
    if (found != fonts.end()) return static_cast<HFONT>(found->second.get());
    const LOGFONTW font = messageFont(dpi);
    const HFONT made = CreateFontIndirectW(&font);
    if (made == nullptr) {
        throwLastError(L"::CreateFontIndirect");
    }
    fonts[dpi].reset(made);
    return made;
}

void getFontUnits(HFONT font, int& charWidth, int& halfCharHeight) {
    WindowDC dc(GetDC(nullptr), nullptr);
    if (dc.get() == nullptr) {
        throwLastError(L"::GetDC");
    }
    const HGDIOBJ previous = selectObject(dc.get(), font);
    TEXTMETRICW metrics{};
    try {
        getTextMetrics(dc.get(), &metrics);
    } catch (...) {
        SelectObject(dc.get(), previous);
        throw;
    }
    selectObject(dc.get(), previous);
    ReleaseDC(nullptr, dc.detach());
    charWidth = metrics.tmAveCharWidth;
    halfCharHeight = metrics.tmHeight / 2;
}

void setTreeFont(Component* root, HFONT font) {
    const auto* const container = dynamic_cast<Container*>(root);
    if (container == nullptr) return;
    for (int i = 0; i < container->getComponentCount(); ++i) {
        Component* const child = container->getComponent(i);
        if (child->getHandle() != nullptr) child->setFont(font);
        setTreeFont(child, font);
    }
}

}  // namespace awt
