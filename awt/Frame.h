#pragma once

#include <windows.h>

#include <string>

#include "awt/GdiObject.h"
#include "awt/Geometry.h"
#include "awt/Window.h"

namespace awt {

// An awt::Window with WS_CAPTION and WS_SYSMENU: a title, ICON_SMALL and ICON_BIG icons, a close command
// that can be greyed (and is then ignored), and WS_THICKFRAME | WS_MAXIMIZEBOX while resizable. Its
// insets are the border and caption, measured from the window and client rectangles.
class Frame : public Window {
public:
    Frame(Window* owner, std::wstring title);
    // Destroys the large icon, then the small one. Throws "::DestroyIcon() failed", unless another
    // exception is unwinding.
    ~Frame() noexcept(false) override;

    // Swallows the system close command while the frame is not closable. Moved to a monitor of another
    // DPI, it answers WM_GETDPISCALEDSIZE with the size its contents want there (never less for a
    // resizable frame), then on WM_DPICHANGED takes the suggested place with that size in one step,
    // measures its border again and lays out inside it.
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The title; the native window is created with it.
    const wchar_t* getWindowText() const override;
    // An overlapped window with caption and system menu; sizing border and maximize box when resizable.
    DWORD getStyle() const override;
    // Greys the close command if needed and hands the icons to the new window; a failure destroys the
    // half-made window. Throws "::GetSystemMenu() failed".
    HWND createWindow() override;
    void removeNotify() override;
    void validate() override;
    // The border, caption and menu around the client area; zeros (not remembered) without a window.
    // Throws "::GetWindowRect() failed", "::ScreenToClient() failed", "::GetClientRect() failed".
    Insets getInsets() const override;

    virtual void setResizable(bool resizable);
    // Greys or enables the system menu's close command. Throws "::GetSystemMenu() failed".
    virtual void setClosable(bool closable);

    // Throws "::SetWindowText() failed".
    void setTitle(const std::wstring& text);
    // The string resource stringId; a missing string gives an empty title.
    void setTitle(int stringId);
    // Loads the icon resource iconId in the small and the large system size and hands both to the window.
    // Throws "::LoadImage() failed", "::DestroyIcon() failed".
    void setIcon(int iconId);

    const std::wstring& getTitle() const noexcept { return title; }
    bool isResizable() const noexcept { return resizable; }
    bool isClosable() const noexcept { return closable; }
    HICON getSmallIcon() const noexcept { return smallIcon.get(); }
    HICON getLargeIcon() const noexcept { return largeIcon.get(); }

protected:
    // The frame is about to be shown at dpi: fonts, gaps and fixed sizes of the contents for it.
    // Called before the frame's new size is computed, possibly more than once for one move.
    // Does nothing by default.
    virtual void dpiChanged(UINT dpi);

    // Stores resizable and adds or removes bits on an existing window, which is then redrawn with its
    // new border and laid out inside it.
    void changeResizable(bool newResizable, DWORD bits);

private:
    static void sendIcons(HWND window, HICON smallHandle, HICON largeHandle);
    // Into size: the window size that holds the contents at their preferred size at dpi; a resizable
    // frame keeps a larger size. False where the system cannot tell the border at another DPI.
    bool sizeAtDpi(UINT dpi, SIZE* size);
    // WM_GETDPISCALEDSIZE: the contents at dpi first.
    bool scaledSize(UINT dpi, SIZE* size);
    // WM_DPICHANGED: the contents at dpi, the suggested place and the size for them in one step, then
    // the border measured again and the layout inside it.
    void moveToDpi(UINT dpi, const RECT* suggested);

    std::wstring title;
    bool resizable;
    bool closable;
    IconHolder smallIcon;  // sent as ICON_SMALL
    IconHolder largeIcon;  // sent as ICON_BIG
    mutable Insets insets;  // top -1: not computed
};

}  // namespace awt
