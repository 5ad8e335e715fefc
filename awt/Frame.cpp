#include "awt/Frame.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "awt/AWTException.h"
#include "awt/Dpi.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "klib/FirstFailure.h"
#include "klib/Strings.h"

namespace awt {

namespace {

constexpr int NOT_COMPUTED = -1;
constexpr DWORD CAPTION_BITS = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD FRAME_SIZING_BITS = WS_THICKFRAME | WS_MAXIMIZEBOX;
// Windows 10 1703 and later; the headers of the Windows 7 target this program builds for hide it.
constexpr UINT GET_DPI_SCALED_SIZE = 0x02E4;

using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);


// Lays out component, then every container below it, parents first: a parent's layout gives its
// children the sizes they lay out in.
void validateTree(Component* component) {
    component->validate();
    if (auto* const container = dynamic_cast<Container*>(component)) {
        for (int i = 0; i < container->getComponentCount(); ++i) {
            validateTree(container->getComponent(i));
        }
    }
}

// Greys (or enables again) the close command of window's system menu, and with it the close button.
void enableCloseCommand(HWND window, bool enabled) {
    const HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) {
        throwLastError(L"::GetSystemMenu");
    }
    EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

Frame::Frame(Window* owner, std::wstring text)
    : Window(owner), title(std::move(text)), resizable(true), closable(true), insets{NOT_COMPUTED, 0, 0, 0} {}

Frame::~Frame() noexcept(false) {
    klib::FirstFailure failure;
    failure.run([this] {
        if (handle != nullptr) {
            // The window outlives the icons by a little; it must not draw with destroyed ones.
            sendIcons(handle, nullptr, nullptr);
        }
    });
    failure.run([this] { largeIcon.reset(); });
    failure.run([this] { smallIcon.reset(); });
    failure.rethrow(L"~Frame(): releasing the icons failed");
}

LRESULT Frame::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The low four bits of the command are the system's own.
    if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && !closable) {
        return 0;
    }
    if (msg == GET_DPI_SCALED_SIZE) {
        // FALSE leaves the system's linear scaling.
        return scaledSize(static_cast<UINT>(wParam), reinterpret_cast<SIZE*>(lParam)) ? TRUE : FALSE;
    }
    if (msg == WM_DPICHANGED) {
        moveToDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

void Frame::dpiChanged(UINT) {}

bool Frame::sizeAtDpi(UINT dpi, SIZE* size) {
    // Windows 10 1607 and later.
    static const auto adjust = user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjust == nullptr || handle == nullptr) {
        return false;
    }
    // The contents at their preferred size, inside the border and caption the style has at dpi; not
    // measured from the window, whose border may still be the old one.
    const Dimension preferred = getPreferredSize();
    const Insets border = Frame::getInsets();
    RECT rect{0, 0, preferred.width - border.left - border.right, preferred.height - border.top - border.bottom};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_EXSTYLE));
    if (!adjust(&rect, style, GetMenu(handle) != nullptr, exStyle, dpi)) {
        return false;
    }
    const SIZE wanted{rect.right - rect.left, rect.bottom - rect.top};
    // A frame the user can size keeps a larger size.
    *size = resizable ? SIZE{std::max(size->cx, wanted.cx), std::max(size->cy, wanted.cy)} : wanted;
    return true;
}

bool Frame::scaledSize(UINT dpi, SIZE* size) {
    if (size == nullptr) {
        return false;
    }
    dpiChanged(dpi);
    return sizeAtDpi(dpi, size);
}

void Frame::moveToDpi(UINT dpi, const RECT* suggested) {
    dpiChanged(dpi);
    RECT target{x, y, x + width, y + height};
    if (suggested != nullptr) {
        target = *suggested;
    }
    // Where the system did not ask WM_GETDPISCALEDSIZE (before Windows 10 1703), the suggestion is
    // only the old size scaled.
    SIZE size{target.right - target.left, target.bottom - target.top};
    const bool sized = sizeAtDpi(dpi, &size);
    // One move and resize together: moving the old size first could leave the frame mostly on the
    // monitor it came from, which would move it back.
    setBounds(target.left, target.top, size.cx, size.cy);
    // The border changed with the DPI: the remembered insets and client offset are wrong now.
    validate();
    if (!sized) {
        // Grown in place to the contents within the border as measured now.
        const Dimension preferred = getPreferredSize();
        setSize(resizable ? std::max(width, preferred.width) : preferred.width,
                resizable ? std::max(height, preferred.height) : preferred.height);
    }
    // The panels at once, top down: the idle step that would lay them out does not run while the system's
    // move loop holds the thread, and until then they would keep their old places under the new font.
    validateTree(this);
}

const wchar_t* Frame::getWindowText() const {
    return title.c_str();
}

DWORD Frame::getStyle() const {
    // The container's WS_GROUP bit stays: for an overlapped window it is the minimize box.
    DWORD style = (Window::getStyle() & ~CAPTION_BITS) | WS_CAPTION | WS_SYSMENU;
    if (resizable) {
        style |= FRAME_SIZING_BITS;
    }
    return style;
}

HWND Frame::createWindow() {
    const HWND window = Window::createWindow();
    try {
        if (!closable) {
            enableCloseCommand(window, false);
        }
        sendIcons(window, smallIcon.get(), largeIcon.get());
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    return window;
}

void Frame::sendIcons(HWND window, HICON smallHandle, HICON largeHandle) {
    Toolkit::sendingMessages(
        [&] { return SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallHandle)); });
    Toolkit::sendingMessages(
        [&] { return SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeHandle)); });
}

void Frame::removeNotify() {
    insets.top = NOT_COMPUTED;
    Window::removeNotify();
}

void Frame::validate() {
    insets.top = NOT_COMPUTED;
    Window::validate();
}

Insets Frame::getInsets() const {
    if (insets.top != NOT_COMPUTED) {
        return insets;
    }
    if (handle == nullptr) {
        return Insets{0, 0, 0, 0};
    }
    RECT window;
    getWindowRect(&window);
    POINT corner{window.left, window.top};
    screenToClient(&corner);
    RECT client;
    getClientRect(&client);
    const int windowWidth = window.right - window.left;
    const int windowHeight = window.bottom - window.top;
    insets = Insets{-corner.y, -corner.x, corner.y + windowHeight - client.bottom,
                    corner.x + windowWidth - client.right};
    return insets;
}

void Frame::setResizable(bool newResizable) {
    changeResizable(newResizable, FRAME_SIZING_BITS);
}

void Frame::changeResizable(bool newResizable, DWORD bits) {
    if (newResizable == resizable) {
        return;
    }
    resizable = newResizable;
    if (handle == nullptr) {
        return;
    }
    if (newResizable) {
        addStyle(bits);
    } else {
        removeStyle(bits);
    }
    setWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    // The border changed: the remembered insets and client offset are wrong now, and so is the layout.
    validate();
}

void Frame::setClosable(bool newClosable) {
    if (newClosable == closable) {
        return;
    }
    closable = newClosable;
    if (handle != nullptr) {
        enableCloseCommand(handle, newClosable);
    }
}

void Frame::setTitle(const std::wstring& text) {
    title = text;
    if (handle != nullptr) {
        setWindowText(title.c_str());
    }
}

void Frame::setTitle(int stringId) {
    const std::wstring text = Toolkit::loadString(static_cast<UINT>(stringId));
    // The absent-string marker is no caption text.
    setTitle(text == klib::nullString ? std::wstring() : text);
}

void Frame::setIcon(int iconId) {
    IconHolder freshSmall(Toolkit::loadIcon(iconId, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
    IconHolder freshLarge(Toolkit::loadIcon(iconId, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    // The previous icons stay alive until the window has the new ones; then the holders destroy them.
    smallIcon.swap(freshSmall);
    largeIcon.swap(freshLarge);
    if (handle != nullptr) {
        sendIcons(handle, smallIcon.get(), largeIcon.get());
    }
    freshLarge.reset();
    freshSmall.reset();
}

}  // namespace awt
